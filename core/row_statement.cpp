#include "core/row_statement.h"

#include "core/sql_quote.h"
#include "core/value_text.h"

namespace pw {

void AppendRowStatement(std::string& out, std::string_view tableName, const RowView& row) {
    out.append("insert into ");
    out.append(IdentifierForStatement(tableName));
    out.append(" values(");
    for (size_t i = 0; i < row.values.size(); ++i) {
        if (i) out.push_back(',');
        AppendStatementValue(out, row.values[i]);
    }
    out.append(");");
}

std::string RowStatement(std::string_view tableName, const RowView& row) {
    std::string statement;
    AppendRowStatement(statement, tableName, row);
    return statement;
}

}  // namespace pw
