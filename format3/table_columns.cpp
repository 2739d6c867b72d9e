#include "format3/table_columns.h"

#include "core/affinity.h"

namespace pw::format3 {

TableColumns::TableColumns(const TableInfo& table) : columns_(table.columns.size()) {
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const ColumnInfo& info = table.columns[i];
        columns_[i].rowidAlias = info.rowidAlias && !table.withoutRowid;
        columns_[i].realAffinity = AffinityOf(info.declaredType) == Affinity::Real;
        if (info.defaultValue) columns_[i].missing = info.defaultValue->AsValue();
    }
    for (int column : table.storageOrder) {
        if (column < 0 || static_cast<size_t>(column) >= columns_.size()) continue;
        columns_[column].stored = static_cast<int>(storedCount_++);
    }
}

bool TableColumns::Map(std::span<const Value> stored, bool headerWhole, int64_t rowid,
                       Value* out) const {
    bool damaged = false;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const Column& column = columns_[i];
        Value& value = out[i];
        // SQLite reads the alias column from the cell's rowid, whatever the record holds.
        if (column.rowidAlias) {
            value = Value::Integer(rowid);
        } else if (column.stored < 0) {
            value = Value::Null();
        } else if (static_cast<size_t>(column.stored) < stored.size()) {
            value = stored[column.stored];
            damaged = damaged || value.damaged;
            if (column.realAffinity && value.kind == ValueKind::Integer) {
                value.kind = ValueKind::Real;
                value.real = static_cast<double>(value.integer);
            }
        } else if (headerWhole) {
            value = column.missing;
        } else {
            value = Value::Null();
            value.damaged = true;
            damaged = true;
        }
    }
    return damaged;
}

TableInfo TableFromCount(int columnCount, int keyMark) {
    TableInfo table;
    for (int i = 0; i < columnCount; ++i) {
        ColumnInfo column;
        column.rowidAlias = keyMark >= 10 && i == keyMark - 10;
        column.primaryKey = column.rowidAlias;
        table.columns.push_back(column);
        table.storageOrder.push_back(i);
    }
    return table;
}

}  // namespace pw::format3
