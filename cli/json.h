#pragma once
// JSON text for the console front end's --json output.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/row.h"

namespace pw::cli {

// Appends text as a JSON string literal. Text that is not valid UTF-8 is read as code
// page 1252 first, as stored text is, so the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);
std::string JsonString(std::string_view text);
// The same for text already known to be valid UTF-8 (decoded values always are).
void AppendJsonUtf8String(std::string& out, std::string_view text);

// A value as JSON typed by its kind: null, a number, a string, or {"blob": "HEX"}.
// Reals are written in their shortest exact form and always read back as reals
// ("1.0", "-0.0", "1e+300"); infinities as 1e999 and -1e999, NaN as null.
void AppendTypedJsonValue(std::string& out, const Value& value);

}  // namespace pw::cli
