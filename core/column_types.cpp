#include "core/column_types.h"

#include <array>

namespace pw {
namespace {

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool IsBlank(char c) { return c == ' ' || (c >= 8 && c <= 13); }

std::string_view Trim(std::string_view text, bool (*strip)(char)) {
    while (!text.empty() && strip(text.front())) text.remove_prefix(1);
    while (!text.empty() && strip(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string MapColumnType(std::string_view type) {
    std::string mapped = AsciiUpper(type);
    ReplaceAll(mapped, "NVARCHAR", "varchar");
    ReplaceAll(mapped, "LONGVARCHAR", "varchar");
    ReplaceAll(mapped, "BLOB", "OLE Object");
    return mapped;
}

bool IsKnownColumnType(std::string_view type) {
    static constexpr std::array<std::string_view, 15> kKnown = {
        "TEXT", "MEMO",      "BYTE",  "INTEGER", "LONG",     "DOUBLE", "CURRENCY", "AUTONUMBER",
        "DATE", "OLEOBJECT", "TIME",  "YESNO",   "HYPERLINK", "FLOAT", "BINARY"};
    std::string compact;
    for (char c : AsciiUpper(type))
        if (c != ' ') compact.push_back(c);
    for (std::string_view known : kKnown)
        if (compact == known) return true;
    return false;
}

std::string GeneratedColumnType(std::string_view declaredType) {
    if (declaredType.empty()) return "TEXT";
    std::string mapped = MapColumnType(declaredType);
    return IsKnownColumnType(mapped) ? mapped : "TEXT";
}

std::string CleanIdentifier(std::string_view name) {
    std::string unmarked(name);
    ReplaceAll(unmarked, kKeyMark, "");
    std::string kept;
    for (char c : unmarked) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
            kept.push_back(c);
    }
    if (!kept.empty()) return kept;
    // Blanks, backquotes and apostrophes around the name go, in any mix.
    return std::string(Trim(unmarked, [](char c) { return IsBlank(c) || c == '`' || c == '\''; }));
}

}  // namespace pw
