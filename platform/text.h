#pragma once
// Text conversions between the encodings a database file may hold and the UTF-8
// that the program uses inside. Invalid input never fails a conversion: a unit that
// cannot be decoded becomes U+FFFD.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pw {

bool IsValidUtf8(std::string_view text);

// Appends UTF-16 code units (two bytes each; a trailing odd byte is dropped) as UTF-8.
// Stops at the first zero code unit when stopAtZero is set.
void AppendUtf16AsUtf8(std::string& out, const uint8_t* bytes, size_t byteCount, bool bigEndian,
                       bool stopAtZero = false);
std::string Utf16ToUtf8(const uint8_t* bytes, size_t byteCount, bool bigEndian);

// Code page 1252, the fallback for stored text that is not valid UTF-8.
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);

// Text as a record stores it in a UTF-8 database: valid UTF-8 is taken as it is,
// anything else is read as code page 1252 so that every byte shows as some character.
void AppendStoredText(std::string& out, std::string_view bytes);

// UTF-8 to UTF-16 code units (for the log file); invalid bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace pw
