#include "writer/sqlite_connection.h"

namespace pw {

bool SqliteConnection::Open(const std::string& path) {
    Close();
    int result = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result != SQLITE_OK) {
        error_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
        Close();
        return false;
    }
    return true;
}

void SqliteConnection::Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool SqliteConnection::Execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    error_ = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
}

bool SqliteConnection::Prepare(const std::string& sql, SqliteStatement& statement) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), statement.out(), nullptr) ==
        SQLITE_OK)
        return true;
    error_ = sqlite3_errmsg(db_);
    return false;
}

bool SqliteConnection::TableExists(const std::string& name) {
    SqliteStatement statement;
    if (!Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1", statement)) return false;
    sqlite3_bind_text(statement.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    return sqlite3_step(statement.get()) == SQLITE_ROW;
}

}  // namespace pw
