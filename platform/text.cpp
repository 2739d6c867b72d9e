#include "platform/text.h"

#include <cstring>

namespace pw {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is invalid.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& codePoint) {
    auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    uint8_t b0 = byte(i);
    size_t length;
    char32_t cp;
    if (b0 < 0x80) {
        codePoint = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        uint8_t b = byte(i + k);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    codePoint = cp;
    return length;
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five undefined bytes map
// to the C1 controls of the same value, as the system conversion does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        // Runs of ASCII are the common case; test eight bytes at a time.
        while (i + 8 <= n) {
            uint64_t chunk;
            std::memcpy(&chunk, text.data() + i, 8);
            if (chunk & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= n) break;
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

void AppendUtf16AsUtf8(std::string& out, const uint8_t* bytes, size_t byteCount, bool bigEndian,
                       bool stopAtZero) {
    const size_t units = byteCount / 2;
    auto unit = [&](size_t k) -> char16_t {
        const uint8_t* p = bytes + 2 * k;
        return bigEndian ? static_cast<char16_t>((p[0] << 8) | p[1])
                         : static_cast<char16_t>((p[1] << 8) | p[0]);
    };
    for (size_t k = 0; k < units; ++k) {
        char16_t u = unit(k);
        if (u == 0 && stopAtZero) return;
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            char16_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(low) - 0xDC00));
                ++k;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : char32_t(u));
    }
}

std::string Utf16ToUtf8(const uint8_t* bytes, size_t byteCount, bool bigEndian) {
    std::string out;
    out.reserve(byteCount);
    AppendUtf16AsUtf8(out, bytes, byteCount, bigEndian);
    return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view bytes) {
    for (char c : bytes) {
        auto b = static_cast<uint8_t>(c);
        if (b < 0x80)
            out.push_back(c);
        else if (b < 0xA0)
            AppendUtf8(out, kCp1252High[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
}

void AppendStoredText(std::string& out, std::string_view bytes) {
    if (IsValidUtf8(bytes))
        out.append(bytes);
    else
        AppendCp1252AsUtf8(out, bytes);
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) {
            cp = kReplacement;
            length = 1;
        }
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

}  // namespace pw
