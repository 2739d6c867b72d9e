#pragma once
// Reading CREATE statements as SQLite stores them in the schema: the table's name,
// its columns with their declared types, defaults and key, WITHOUT ROWID; and the
// names of indexes, views and triggers. Works on damaged text too: what cannot be
// read is left out, and nothing is read outside the statement.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/schema.h"

namespace pw {

struct ParsedColumn {
    ColumnInfo info;
    // The declared type's first word with its blanks before it ("  INTEGER" for
    // "id  INTEGER PRIMARY KEY"), as generated statements take it; empty when none.
    std::string typeAsWritten;
};

struct ParsedTable {
    TableInfo table;  // rootPage is the caller's
    // The table's name followed by the blanks that stand between it and "(".
    std::string nameWithBlanks;
    std::vector<ParsedColumn> columns;
    // The column list ended with its closing parenthesis (false for cut-off text).
    bool complete = false;
};

// statement starts at the CREATE keyword. Nothing when no TABLE keyword or name is found.
std::optional<ParsedTable> ParseCreateTable(std::string_view statement);

// The bare name of the object a statement creates (quotes removed), "" when none.
std::string ObjectName(ObjectKind kind, std::string_view statement);
// The table an index or trigger belongs to (its ON clause), "" when none.
std::string ObjectTableName(ObjectKind kind, std::string_view statement);

// The text the object tree shows for an object: for tables and indexes the text
// between the keyword and "(" (" t1 ", " i1 ON t1"), for views up to AS (" v1"), for
// triggers the name alone; blanks around the name stay, IF NOT EXISTS and quotes go.
std::string ObjectLabel(ObjectKind kind, std::string_view statement);

}  // namespace pw
