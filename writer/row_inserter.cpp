#include "writer/row_inserter.h"

#include <cstdio>

#include "core/sql_quote.h"
#include "core/sql_tokenizer.h"

namespace pw {
namespace {

// A name for the rowid that no column of the table uses.
const char* RowidName(const TableInfo& table) {
    for (const char* candidate : {"rowid", "_rowid_", "oid"}) {
        bool taken = false;
        for (const ColumnInfo& column : table.columns) taken = taken || EqualsIgnoringCase(column.name, candidate);
        if (!taken) return candidate;
    }
    return nullptr;
}

}  // namespace

std::string InsertStatement(const TableInfo& table, bool& bindRowid, std::vector<int>& columns) {
    columns.clear();
    const char* rowidName = table.withoutRowid || table.RowidAliasColumn() >= 0 ? nullptr : RowidName(table);
    bindRowid = rowidName != nullptr;
    std::string names, parameters;
    auto add = [&](const std::string& name) {
        if (!names.empty()) {
            names += ", ";
            parameters += ", ";
        }
        names += name;
        parameters += "?";
    };
    if (bindRowid) add(rowidName);
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].hidden) continue;
        add(QuoteIdentifier(table.columns[i].name));
        columns.push_back(static_cast<int>(i));
    }
    return "INSERT INTO " + QuoteIdentifier(table.name) + "(" + names + ") VALUES(" + parameters + ")";
}

RowInserter::RowInserter(SqliteConnection& connection, const TableInfo& table, Host& host,
                         uint64_t& buildProgress)
    : connection_(connection), host_(host), buildProgress_(buildProgress) {
    ready_ = connection_.Prepare(InsertStatement(table, bindRowid_, columns_), statement_);
}

void RowInserter::OnRow(const RowView& row) {
    host_.SetProgressPosition(buildProgress_++);
    sqlite3_stmt* statement = statement_.get();
    int parameter = 1;
    if (bindRowid_) sqlite3_bind_int64(statement, parameter++, row.rowid);
    for (int column : columns_) {
        if (static_cast<size_t>(column) >= row.values.size()) {
            sqlite3_bind_null(statement, parameter++);
            continue;
        }
        const Value& value = row.values[column];
        switch (value.kind) {
            case ValueKind::Null: sqlite3_bind_null(statement, parameter); break;
            case ValueKind::Integer: sqlite3_bind_int64(statement, parameter, value.integer); break;
            case ValueKind::Real: sqlite3_bind_double(statement, parameter, value.real); break;
            // A null pointer would bind NULL, so empty texts and blobs get a real one.
            case ValueKind::Text:
                sqlite3_bind_text64(statement, parameter, value.bytes.empty() ? "" : value.bytes.data(),
                                    value.bytes.size(), SQLITE_STATIC, SQLITE_UTF8);
                break;
            case ValueKind::Blob:
                if (value.bytes.empty())
                    sqlite3_bind_zeroblob(statement, parameter, 0);
                else
                    sqlite3_bind_blob64(statement, parameter, value.bytes.data(), value.bytes.size(),
                                        SQLITE_STATIC);
                break;
        }
        ++parameter;
    }
    if (sqlite3_step(statement) == SQLITE_DONE) {
        ++written;
    } else {
        ++failed;
        const char* message = sqlite3_errmsg(connection_.handle());
        std::printf("Error message: %s\n", message);
        host_.AddLogLine(message);
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

}  // namespace pw
