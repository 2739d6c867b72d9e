#pragma once
// The SQLite 3 library as the writer uses it: one connection, prepared statements,
// every result checked.

#include <sqlite3.h>

#include <string>

namespace pw {

class SqliteStatement {
public:
    SqliteStatement() = default;
    ~SqliteStatement() { sqlite3_finalize(statement_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    SqliteStatement(SqliteStatement&& other) noexcept : statement_(other.statement_) {
        other.statement_ = nullptr;
    }

    sqlite3_stmt* get() const { return statement_; }
    sqlite3_stmt** out() { return &statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

class SqliteConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection() { Close(); }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Creates or opens path for writing; false with error() set when that fails.
    bool Open(const std::string& path);
    void Close();

    // Runs one or more statements; false with error() set on the first failure.
    bool Execute(const std::string& sql);
    bool Prepare(const std::string& sql, SqliteStatement& statement);
    bool TableExists(const std::string& name);

    sqlite3* handle() const { return db_; }
    const std::string& error() const { return error_; }

private:
    sqlite3* db_ = nullptr;
    std::string error_;
};

}  // namespace pw
