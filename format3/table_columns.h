#pragma once
// From the values a record stores to the columns of its table, as SQLite reads them:
//
//   - A rowid table stores its columns in declared order; a WITHOUT ROWID table stores
//     its primary key first (TableInfo::storageOrder). VIRTUAL generated columns are
//     computed, never stored, and show NULL here.
//   - The column that aliases the rowid (INTEGER PRIMARY KEY) is stored as NULL; its
//     value is the cell's rowid. Every other NULL is a NULL.
//   - SQLite writes a whole number in a column of REAL affinity as an integer, to save
//     room, and reads it back as a real; so does this mapping.
//   - A record may hold fewer values than its table has columns: it was written before
//     ALTER TABLE ADD COLUMN. The missing columns take their DEFAULT, NULL without one.
//     When the record's header itself was cut short, they are unknown instead: NULL,
//     marked damaged.

#include <cstdint>
#include <span>
#include <vector>

#include "core/row.h"
#include "core/schema.h"

namespace pw::format3 {

class TableColumns {
public:
    explicit TableColumns(const TableInfo& table);

    size_t columnCount() const { return columns_.size(); }
    // The most values a record of the table holds.
    size_t storedCount() const { return storedCount_; }

    // Writes columnCount() values to out. stored are the record's values in storage
    // order; headerWhole tells a short record from a cut one. Returns true when a
    // column's value is unknown or damaged.
    bool Map(std::span<const Value> stored, bool headerWhole, int64_t rowid, Value* out) const;

private:
    struct Column {
        int stored = -1;  // position in the record, -1 when the column is not stored
        bool rowidAlias = false;
        bool realAffinity = false;
        Value missing;    // what a record written before the column existed reads as
    };
    std::vector<Column> columns_;
    size_t storedCount_ = 0;
};

// A table known only by its column count and key mark (10 + the rowid alias column,
// 0 for none): unnamed columns, all stored in order.
TableInfo TableFromCount(int columnCount, int keyMark);

}  // namespace pw::format3
