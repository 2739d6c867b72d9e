#pragma once
// The insert statement of one decoded row: insert into T values(v1,v2,...);

#include <string>

#include "core/row.h"

namespace pw {

void AppendRowStatement(std::string& out, std::string_view tableName, const RowView& row);
std::string RowStatement(std::string_view tableName, const RowView& row);

}  // namespace pw
