#include "tests/support/sqlite_db.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace pw::test {
namespace {

struct Connection {
    sqlite3* db = nullptr;
    explicit Connection(const std::string& path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) {
        if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("sqlite3_open_v2 " + path + ": " + sqlite3_errmsg(db));
    }
    ~Connection() { sqlite3_close(db); }
    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error("sqlite3_exec: " + message + " in: " + sql.substr(0, 200));
        }
    }
};

}  // namespace

void CreateDatabase(const std::string& path, const std::string& script, const DatabaseOptions& options) {
    std::remove(path.c_str());
    Connection connection(path);
    connection.Exec("PRAGMA page_size=" + std::to_string(options.pageSize) + ";");
    connection.Exec("PRAGMA encoding='" + options.encoding + "';");
    if (options.autoVacuum) connection.Exec("PRAGMA auto_vacuum=FULL;");
    if (options.reservedBytes) {
        int reserved = options.reservedBytes;
        if (sqlite3_file_control(connection.db, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserved) != SQLITE_OK)
            throw std::runtime_error("cannot reserve bytes");
    }
    connection.Exec("BEGIN;" + script + ";COMMIT;");
}

void ExecuteSql(const std::string& path, const std::string& script) {
    Connection connection(path);
    connection.Exec(script);
}

OwnedValue OwnedValue::From(const Value& value) {
    OwnedValue owned;
    owned.kind = value.kind;
    owned.integer = value.integer;
    owned.real = value.real;
    owned.bytes = std::string(value.bytes);
    return owned;
}

bool operator==(const OwnedValue& a, const OwnedValue& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case ValueKind::Null: return true;
        case ValueKind::Integer: return a.integer == b.integer;
        case ValueKind::Real:
            return std::memcmp(&a.real, &b.real, sizeof a.real) == 0 || a.real == b.real;
        default: return a.bytes == b.bytes;
    }
}

std::string Describe(const OwnedValue& value) {
    switch (value.kind) {
        case ValueKind::Null: return "NULL";
        case ValueKind::Integer: return "int " + std::to_string(value.integer);
        case ValueKind::Real: {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "real %.17g", value.real);
            return buffer;
        }
        case ValueKind::Text: return "text '" + value.bytes + "'";
        case ValueKind::Blob: return "blob of " + std::to_string(value.bytes.size()) + " bytes";
    }
    return "?";
}

std::vector<OwnedRow> QueryRows(const std::string& path, const std::string& sql) {
    Connection connection(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection.db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("prepare: ") + sqlite3_errmsg(connection.db));
    std::vector<OwnedRow> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        OwnedRow row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            OwnedValue value;
            switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    value.kind = ValueKind::Integer;
                    value.integer = sqlite3_column_int64(statement, i);
                    break;
                case SQLITE_FLOAT:
                    value.kind = ValueKind::Real;
                    value.real = sqlite3_column_double(statement, i);
                    break;
                case SQLITE_TEXT:
                    value.kind = ValueKind::Text;
                    value.bytes.assign(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                                       static_cast<size_t>(sqlite3_column_bytes(statement, i)));
                    break;
                case SQLITE_BLOB:
                    value.kind = ValueKind::Blob;
                    if (const void* blob = sqlite3_column_blob(statement, i))
                        value.bytes.assign(static_cast<const char*>(blob),
                                           static_cast<size_t>(sqlite3_column_bytes(statement, i)));
                    break;
                default: break;
            }
            row.push_back(std::move(value));
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

std::vector<std::string> QueryColumn(const std::string& path, const std::string& sql) {
    std::vector<std::string> column;
    for (const OwnedRow& row : QueryRows(path, sql))
        column.push_back(row.empty() ? "" : row[0].kind == ValueKind::Integer ? std::to_string(row[0].integer) : row[0].bytes);
    return column;
}

}  // namespace pw::test
