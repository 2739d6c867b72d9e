#pragma once
// Writes the rows a load delivers into one table of the rebuilt database, through one
// prepared statement with every value bound as what it is: integers as integers,
// reals as doubles, texts as texts, blobs as blobs, NULL as NULL, and the rowid kept.

#include <cstdint>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/row.h"
#include "core/schema.h"
#include "writer/sqlite_connection.h"

namespace pw {

class RowInserter : public RowSink {
public:
    RowInserter(SqliteConnection& connection, const TableInfo& table, Host& host,
                uint64_t& buildProgress);

    // False (with the connection's error) when the insert statement cannot be prepared.
    bool ready() const { return ready_; }
    void OnRow(const RowView& row) override;

    uint64_t written = 0;
    uint64_t failed = 0;

private:
    SqliteConnection& connection_;
    Host& host_;
    uint64_t& buildProgress_;
    SqliteStatement statement_;
    std::vector<int> columns_;  // the row's values to bind, in parameter order
    bool bindRowid_ = false;
    bool ready_ = false;
};

// The INSERT statement for a table: "INSERT INTO t(rowid, a, b) VALUES(?1, ?2, ?3)".
// The rowid is named only when no column stands for it; generated columns are left out.
std::string InsertStatement(const TableInfo& table, bool& bindRowid, std::vector<int>& columns);

}  // namespace pw
