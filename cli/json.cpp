#include "cli/json.h"

#include "platform/text.h"

namespace pw::cli {
namespace {

void AppendEscaped(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out.append("\\\""); break;
            case '\\': out.append("\\\\"); break;
            case '\n': out.append("\\n"); break;
            case '\r': out.append("\\r"); break;
            case '\t': out.append("\\t"); break;
            default:
                if (b < 0x20) {
                    out.append("\\u00");
                    out.push_back(kHex[b >> 4]);
                    out.push_back(kHex[b & 15]);
                } else {
                    out.push_back(c);
                }
        }
    }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    if (IsValidUtf8(text)) {
        AppendEscaped(out, text);
    } else {
        std::string converted;
        AppendCp1252AsUtf8(converted, text);
        AppendEscaped(out, converted);
    }
    out.push_back('"');
}

std::string JsonString(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

}  // namespace pw::cli
