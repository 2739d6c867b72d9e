#pragma once
// How a decoded value reads: in the grid, and in a row statement.
//
//   kind     grid text                      statement form
//   null     NULL                           NULL
//   integer  decimal                        decimal
//   real     six decimals (3.5: 3.500000)   the same
//   text     as stored                      'text' with every ' doubled
//   blob     < Blob Data >                  X'hex'
//
// A real keeps six decimals only where they give back the same double; any other
// real is written in its shortest exact form (1e-10, 1e+300), so no reading of a
// value ever shows a number other than the one stored.

#include <string>

#include "core/row.h"

namespace pw {

inline constexpr const char* kBlobPlaceholder = "< Blob Data >";

void AppendReal(std::string& out, double value);
void AppendGridText(std::string& out, const Value& value);
std::string GridText(const Value& value);
void AppendStatementValue(std::string& out, const Value& value);
// Two upper-case hexadecimal digits per byte.
void AppendHex(std::string& out, std::string_view bytes);

}  // namespace pw
