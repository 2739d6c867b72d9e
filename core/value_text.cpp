#include "core/value_text.h"

#include <charconv>
#include <cmath>

namespace pw {

namespace {

// The common case, without a general conversion: a real that is exactly the six-decimal
// number k / 10^6. Below 10^9 two such numbers are never the same double (the spacing
// of doubles there is under 10^-6), so k is the only candidate, and the division, which
// rounds correctly, tells whether it gives the value back.
bool AppendSixDecimals(std::string& out, double value) {
    if (!(std::fabs(value) < 1e9)) return false;
    const double scaled = std::round(value * 1e6);
    if (scaled / 1e6 != value) return false;
    auto k = static_cast<int64_t>(std::fabs(scaled));
    if (std::signbit(value)) out.push_back('-');
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, k / 1000000).ptr);
    out.push_back('.');
    auto decimals = static_cast<int>(k % 1000000);
    char digits[6];
    for (int i = 5; i >= 0; --i, decimals /= 10) digits[i] = static_cast<char>('0' + decimals % 10);
    out.append(digits, 6);
    return true;
}

}  // namespace

void AppendReal(std::string& out, double value) {
    if (AppendSixDecimals(out, value)) return;
    char buffer[48];
    auto fixed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (fixed.ec == std::errc() && std::isfinite(value)) {
        std::string_view digits(buffer, static_cast<size_t>(fixed.ptr - buffer));
        size_t point = digits.find('.');
        size_t decimals = point == std::string_view::npos ? 0 : digits.size() - point - 1;
        if (decimals <= 6) {
            out.append(digits);
            if (point == std::string_view::npos) out.push_back('.');
            out.append(6 - decimals, '0');
            return;
        }
    }
    auto general = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, general.ptr);
}

void AppendGridText(std::string& out, const Value& value) {
    switch (value.kind) {
        case ValueKind::Null: out.append("NULL"); break;
        case ValueKind::Integer: {
            char buffer[24];
            auto end = std::to_chars(buffer, buffer + sizeof buffer, value.integer).ptr;
            out.append(buffer, end);
            break;
        }
        case ValueKind::Real: AppendReal(out, value.real); break;
        case ValueKind::Text: out.append(value.bytes); break;
        case ValueKind::Blob: out.append(kBlobPlaceholder); break;
    }
}

std::string GridText(const Value& value) {
    std::string text;
    AppendGridText(text, value);
    return text;
}

void AppendStatementValue(std::string& out, const Value& value) {
    switch (value.kind) {
        case ValueKind::Text:
            out.push_back('\'');
            for (char c : value.bytes) {
                if (c == '\'') out.push_back('\'');
                out.push_back(c);
            }
            out.push_back('\'');
            break;
        case ValueKind::Blob:
            out.append("X'");
            AppendHex(out, value.bytes);
            out.push_back('\'');
            break;
        case ValueKind::Real:
            // SQLite reads 9e999 as infinity; it has no other spelling for it.
            if (std::isinf(value.real)) {
                out.append(value.real < 0 ? "-9e999" : "9e999");
                break;
            }
            AppendReal(out, value.real);
            break;
        default: AppendGridText(out, value); break;
    }
}

void AppendHex(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char c : bytes) {
        auto b = static_cast<uint8_t>(c);
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 15]);
    }
}

}  // namespace pw
