#pragma once
// Databases made and read by SQLite itself: the ground truth the tests compare with.

#include <cstdint>
#include <string>
#include <vector>

#include "core/row.h"

namespace pw::test {

struct DatabaseOptions {
    int pageSize = 4096;
    std::string encoding = "UTF-8";  // "UTF-8", "UTF-16le", "UTF-16be"
    bool autoVacuum = false;
    int reservedBytes = 0;
};

// Creates path (replacing it) and runs script in one transaction.
void CreateDatabase(const std::string& path, const std::string& script,
                    const DatabaseOptions& options = {});
// Runs script on an existing database.
void ExecuteSql(const std::string& path, const std::string& script);

// A value owned by the test, comparable with what the engine delivers.
struct OwnedValue {
    ValueKind kind = ValueKind::Null;
    int64_t integer = 0;
    double real = 0;
    std::string bytes;

    static OwnedValue From(const Value& value);
    friend bool operator==(const OwnedValue& a, const OwnedValue& b);
};
std::string Describe(const OwnedValue& value);

using OwnedRow = std::vector<OwnedValue>;

// Every row of a query, each value as SQLite types it.
std::vector<OwnedRow> QueryRows(const std::string& path, const std::string& sql);
// The first column of a query as text (NULL as "").
std::vector<std::string> QueryColumn(const std::string& path, const std::string& sql);

}  // namespace pw::test
