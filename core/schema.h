#pragma once
// What the schema scan learns about each object, in a form the loaders and the
// writer can use directly. The engine also keeps the descriptor texts of tableSpecs;
// these records carry what a descriptor cannot say (defaults, quoting, WITHOUT ROWID).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/row.h"

namespace pw {

enum class ObjectKind { Table = 0, Index = 1, View = 2, Trigger = 3 };
constexpr int kObjectKinds = 4;

// A column's DEFAULT as SQLite would hand it to a row stored before the column existed.
struct DefaultValue {
    ValueKind kind = ValueKind::Null;
    int64_t integer = 0;
    double real = 0;
    std::string bytes;

    Value AsValue() const {
        Value value;
        value.kind = kind;
        value.integer = integer;
        value.real = real;
        value.bytes = bytes;
        return value;
    }
};

struct ColumnInfo {
    std::string name;          // as SQLite names it: quotes removed
    std::string declaredType;  // the declared type text, "" when none
    std::optional<DefaultValue> defaultValue;
    bool primaryKey = false;   // part of the PRIMARY KEY, column- or table-level
    bool rowidAlias = false;   // an INTEGER PRIMARY KEY that stands for the rowid
    bool hidden = false;       // a VIRTUAL generated column: not stored in records
};

struct TableInfo {
    std::string name;  // as SQLite names it: quotes removed
    std::vector<ColumnInfo> columns;
    uint32_t rootPage = 0;
    bool withoutRowid = false;
    // Columns in the order a WITHOUT ROWID table stores them: the primary key first.
    std::vector<int> storageOrder;
    std::string sql;  // the CREATE TABLE statement as stored

    int RowidAliasColumn() const {
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i].rowidAlias) return static_cast<int>(i);
        return -1;
    }
};

}  // namespace pw
