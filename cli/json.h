#pragma once
// JSON text for the console front end's --json output.

#include <cstdint>
#include <string>
#include <string_view>

namespace pw::cli {

// Appends text as a JSON string literal. Text that is not valid UTF-8 is read as code
// page 1252 first, as stored text is, so the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);
std::string JsonString(std::string_view text);

}  // namespace pw::cli
