#pragma once
// The type vocabulary of generated statements and the cleaning of names for them.

#include <string>
#include <string_view>

namespace pw {

inline constexpr std::string_view kKeyMark = "< P.K >";

// Upper-cases the declared type and rewrites NVARCHAR and LONGVARCHAR to varchar and
// BLOB to "OLE Object".
std::string MapColumnType(std::string_view type);
// True when the type, upper-cased and without spaces, is one of the fifteen known names.
bool IsKnownColumnType(std::string_view type);
// The type written into a generated statement: the mapped type when it is known, else TEXT.
std::string GeneratedColumnType(std::string_view declaredType);
// Keeps 0-9, A-Z, a-z and "_" of a name (after removing the key mark); a name with none
// of them is returned trimmed of blanks, backquotes and apostrophes instead.
std::string CleanIdentifier(std::string_view name);

}  // namespace pw
