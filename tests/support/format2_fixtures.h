#pragma once
// What the format 2 tests share: opening a file, loading a table's rows, and the
// expected results that SQLite 2.8 gave for each real fixture.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "format2/sqlite_ver2.h"
#include "tests/support/json_reader.h"
#include "tests/support/opened_file.h"

namespace pw::test {

// A row as SQLite 2 reads it: each value as text, NULL as nullopt.
using TextRow = std::vector<std::optional<std::string>>;

struct ExpectedTable {
    std::string name;
    std::vector<std::string> columns;
    std::vector<TextRow> rows;
};

struct ExpectedFile {
    std::vector<ExpectedTable> tables;
    std::vector<std::string> indexes, views, triggers;
    uint64_t startOffset = 0;
};

ExpectedFile ReadExpected(const std::string& fixture);
std::string Format2Fixture(const std::string& name);  // path of name.db

format2::sqlite_ver2& Engine2(const OpenedForTest& file);

struct LoadedRows {
    std::vector<TextRow> rows;
    std::vector<RowLocator> locators;
    std::vector<int64_t> rowids;
    std::vector<bool> damaged;
};
// The rows of table i as a grid load lists them (progress position 0 first).
LoadedRows LoadRows(const OpenedForTest& file, size_t table);
TextRow AsTextRow(const RowView& row);

// The first word of a tree label: the object's name.
std::string LabelName(const std::string& label);

}  // namespace pw::test
