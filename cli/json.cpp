#include "cli/json.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/value_text.h"
#include "platform/text.h"

namespace pw::cli {
namespace {

// Characters that JSON strings cannot hold as they are.
constexpr bool NeedsEscape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

// True when one of the eight bytes of chunk needs an escape: below 0x20, '"' or '\'.
constexpr bool AnyNeedsEscape(uint64_t chunk) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    auto hasZero = [](uint64_t x) { return ((x - kOnes) & ~x & kHigh) != 0; };
    const bool below20 = ((chunk - 0x20 * kOnes) & ~chunk & kHigh) != 0;
    return below20 || hasZero(chunk ^ ('"' * kOnes)) || hasZero(chunk ^ ('\\' * kOnes));
}

void AppendEscaped(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    size_t run = 0;  // start of the characters not yet appended
    for (size_t i = 0; i < text.size(); ++i) {
        // Most text needs no escape at all: skip it eight bytes at a time.
        while (i + 8 <= text.size()) {
            uint64_t chunk;
            std::memcpy(&chunk, text.data() + i, 8);
            if (AnyNeedsEscape(chunk)) break;
            i += 8;
        }
        if (i >= text.size()) break;
        auto b = static_cast<unsigned char>(text[i]);
        if (!NeedsEscape(b)) continue;
        out.append(text.data() + run, i - run);
        run = i + 1;
        switch (b) {
            case '"': out.append("\\\""); break;
            case '\\': out.append("\\\\"); break;
            case '\n': out.append("\\n"); break;
            case '\r': out.append("\\r"); break;
            case '\t': out.append("\\t"); break;
            default:
                out.append("\\u00");
                out.push_back(kHex[b >> 4]);
                out.push_back(kHex[b & 15]);
        }
    }
    out.append(text.data() + run, text.size() - run);
}

void AppendTypedReal(std::string& out, double real) {
    if (std::isnan(real)) {
        out.append("null");
        return;
    }
    if (std::isinf(real)) {
        out.append(real < 0 ? "-1e999" : "1e999");
        return;
    }
    char buffer[32];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, real).ptr;
    out.append(buffer, end);
    // "100" and "-0" would read back as integers.
    if (std::string_view(buffer, static_cast<size_t>(end - buffer)).find_first_of(".e") ==
        std::string_view::npos)
        out.append(".0");
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    if (IsValidUtf8(text)) {
        AppendJsonUtf8String(out, text);
        return;
    }
    std::string converted;
    AppendCp1252AsUtf8(converted, text);
    AppendJsonUtf8String(out, converted);
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

void AppendJsonUtf8String(std::string& out, std::string_view text) {
    out.push_back('"');
    AppendEscaped(out, text);
    out.push_back('"');
}

void AppendTypedJsonValue(std::string& out, const Value& value) {
    switch (value.kind) {
        case ValueKind::Null: out.append("null"); break;
        case ValueKind::Integer: AppendGridText(out, value); break;
        case ValueKind::Real: AppendTypedReal(out, value.real); break;
        case ValueKind::Text: AppendJsonUtf8String(out, value.bytes); break;
        case ValueKind::Blob:
            out.append("{\"blob\": \"");
            AppendHex(out, value.bytes);
            out.append("\"}");
            break;
    }
}

}  // namespace pw::cli
