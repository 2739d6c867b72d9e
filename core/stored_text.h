#pragma once
// Text as a UTF-8 database stores it, as a value: valid UTF-8 stays a view of the
// stored bytes (no copy); anything else is read as code page 1252 into the row's
// scratch memory, so that every byte shows as some character.

#include <string_view>

#include "core/row.h"

namespace pw {

Value StoredTextValue(std::string_view bytes, RowScratch& scratch);

}  // namespace pw
