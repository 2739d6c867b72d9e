#pragma once
// Names in generated statements: written plain when SQLite would read them back
// unchanged, in double quotes otherwise (spaces, quotes, keywords, a leading digit).

#include <string>
#include <string_view>

namespace pw {

bool NeedsQuoting(std::string_view name);
std::string QuoteIdentifier(std::string_view name);       // always quoted
std::string IdentifierForStatement(std::string_view name);  // quoted only when needed

}  // namespace pw
