#pragma once
// The rebuilt database: a new SQLite file with the checked tables (schema and rows),
// then the checked indexes, views and triggers, written through the SQLite 3 library.
//
// It is written to a temporary file beside the output and renamed over it only when
// complete, so neither the source nor an existing output is ever half-replaced. Each
// table's rows go in within one transaction, through one prepared statement.

#include <string>

#include "core/sqlite_base.h"

namespace pw {

// How the two engines' builds differ in what they report.
struct RepairStyle {
    const char* creatingLine;  // the first log line
    bool askBeforeCounting;    // the overwrite question comes before the row count
    bool fillProgressAtEnd;    // a last progress position at the total
    int pageSize;              // the output's page size; 0 for the library's default
};

RepairStyle Format3RepairStyle(const sqlite_base& engine);
RepairStyle Format2RepairStyle();

// Builds the rebuilt database of the engine's checked objects into outputPath (empty:
// BuildRepairedPath of the source). Fills engine.repairReport; false when nothing was
// written (the user declined, or the output could not be written).
bool WriteRepairedDatabase(sqlite_base& engine, const std::string& outputPath, const RepairStyle& style);

// "CREATE TABLE" for a table whose stored statement SQLite no longer accepts: the
// columns with their declared types, names quoted.
std::string GeneratedCreateTable(const TableInfo& table);

}  // namespace pw
