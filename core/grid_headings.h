#pragma once
// The column headings of a table's grid: one per column, as its table descriptor in
// tableSpecs names it, the key column's name ending in "< P.K >".

#include <string>
#include <vector>

#include "core/sqlite_base.h"

namespace pw {

std::vector<std::string> GridHeadings(const sqlite_base& engine, size_t tableIndex);

}  // namespace pw
