#include "writer/repaired_database.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/sql_quote.h"
#include "writer/repaired_path.h"
#include "writer/row_inserter.h"
#include "writer/sqlite_connection.h"

namespace pw {
namespace {

namespace fs = std::filesystem;

std::string Int32Text(uint64_t count) { return std::to_string(static_cast<int32_t>(count)); }

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

class RepairBuild {
public:
    RepairBuild(sqlite_base& engine, const RepairStyle& style)
        : engine_(engine), host_(*engine.host), style_(style), report_(engine.repairReport) {}

    bool Run(const std::string& requestedPath);

private:
    bool AskToReplace();
    bool OpenOutput();
    bool Fail(const std::string& error);
    void WriteTables();
    void WriteTable(size_t position);
    void WriteObjects(ObjectKind kind);
    bool Finish();

    sqlite_base& engine_;
    Host& host_;
    const RepairStyle& style_;
    RepairReport& report_;
    SqliteConnection output_;
    std::string temporaryPath_;
    uint64_t buildProgress_ = 0;
    uint64_t total_ = 0;
    bool wroteAnything_ = false;
};

bool RepairBuild::Run(const std::string& requestedPath) {
    report_ = RepairReport();
    report_.outputPath = requestedPath.empty() ? BuildRepairedPath(host_.file.path) : requestedPath;
    host_.AddLogLine(style_.creatingLine);
    if (SameFile(report_.outputPath, host_.file.path))
        return Fail("the output would replace the file being recovered");
    if (style_.askBeforeCounting && !AskToReplace()) return false;

    buildProgress_ = 0;
    total_ = engine_.CountCheckedTableRows();
    host_.AddLogLine("Database have total " + Int32Text(total_) + " Entries");
    host_.SetProgressRange(total_);
    buildProgress_ = 1;
    if (!style_.askBeforeCounting && !AskToReplace()) return false;
    if (!OpenOutput()) return false;

    engine_.writeRows = true;
    if (host_.GroupItem(ObjectKind::Table)) WriteTables();
    host_.AddLogLine("Database Table created successfully");
    const std::pair<ObjectKind, const char*> objects[] = {
        {ObjectKind::Index, "Database Index schema created successfully"},
        {ObjectKind::View, "Database views created successfully"},
        {ObjectKind::Trigger, "Database Triggers created successfully"}};
    for (auto [kind, line] : objects) {
        if (host_.GroupItem(kind)) WriteObjects(kind);
        host_.AddLogLine(line);
    }
    engine_.writeRows = false;
    if (style_.fillProgressAtEnd) host_.SetProgressPosition(total_);
    return Finish();
}

bool RepairBuild::AskToReplace() {
    std::error_code error;
    if (!fs::exists(report_.outputPath, error)) return true;
    MessageBox question = MessageBox::Question("The Database File " + report_.outputPath +
                                               " Already exist.\n Exisitng file will be Deleted. Do "
                                               "you want to Continue ?");
    if (host_.ShowMessage(question) == MessageAnswer::Yes) return true;
    report_.declined = true;
    return false;
}

bool RepairBuild::OpenOutput() {
    temporaryPath_ = report_.outputPath + ".partial";
    std::error_code ignored;
    fs::remove(temporaryPath_, ignored);
    if (!output_.Open(temporaryPath_)) return Fail(output_.error());
    std::string setup = "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;";
    if (style_.pageSize) setup += "PRAGMA page_size=" + std::to_string(style_.pageSize) + ";";
    if (engine_.utf16Text)
        setup += engine_.utf16BigEndian ? "PRAGMA encoding='UTF-16be';" : "PRAGMA encoding='UTF-16le';";
    // The file only comes into being with its first write; make it so now, so that an
    // unwritable folder shows here and not halfway through.
    setup += "PRAGMA user_version=0;";
    if (!output_.Execute(setup)) return Fail(output_.error());
    return true;
}

bool RepairBuild::Fail(const std::string& error) {
    report_.error = error;
    output_.Close();
    std::error_code ignored;
    if (!temporaryPath_.empty()) fs::remove(temporaryPath_, ignored);
    engine_.writeRows = false;
    host_.AddLogLine("Error: " + error);
    host_.ShowMessage(MessageBox::Notice("The repaired database could not be written to " +
                                         report_.outputPath + ": " + error));
    return false;
}

void RepairBuild::WriteTables() {
    for (int64_t position : host_.CheckedItemData(ObjectKind::Table)) {
        if (position >= 0 && static_cast<size_t>(position) < engine_.tables.size())
            WriteTable(static_cast<size_t>(position));
    }
}

void RepairBuild::WriteTable(size_t position) {
    const TableInfo& table = engine_.tables[position];
    RepairReport::Table written;
    written.name = table.name;
    wroteAnything_ = true;
    bool created = output_.Execute(table.sql);
    if (!created) {
        host_.AddLogLine("Error: " + output_.error());
        // sqlite_sequence comes into being with the first AUTOINCREMENT table; any other
        // table whose stored statement is damaged is made from what was parsed of it.
        created = output_.TableExists(table.name) ||
                  (!table.columns.empty() && output_.Execute(GeneratedCreateTable(table)));
    }
    written.created = created;
    if (created) {
        const std::string& spec = engine_.tableSpecs[position];
        const std::string descriptorName = spec.substr(0, spec.find('+'));
        TableLoad load = engine_.LoadFor(position);
        uint64_t count = engine_.CountTableRows(load.path, load.rootPage);
        host_.AddLogLine("Table " + descriptorName + " contain " + Int32Text(count) + " rows");

        RowInserter inserter(output_, table, host_, buildProgress_);
        if (!inserter.ready() || !output_.Execute("BEGIN")) {
            host_.AddLogLine("Error: " + output_.error());
        } else {
            engine_.LoadTableRows(load, inserter);
            if (output_.Execute("COMMIT")) {
                written.rowsWritten = inserter.written;
                written.rowsFailed = inserter.failed;
            } else {
                host_.AddLogLine("Error: " + output_.error());
                output_.Execute("ROLLBACK");
                written.rowsFailed = inserter.written + inserter.failed;
            }
        }
        host_.AddLogLine("Total " + Int32Text(written.rowsWritten) +
                         " Rows inserted in table successfully");
    }
    report_.tables.push_back(written);
}

void RepairBuild::WriteObjects(ObjectKind kind) {
    std::vector<std::string>& list = engine_.SqlList(kind);
    for (int64_t position : host_.CheckedItemData(kind)) {
        if (position < 0 || static_cast<size_t>(position) >= list.size()) continue;
        std::string& sql = list[static_cast<size_t>(position)];
        // A view or trigger whose first letter was damaged still begins with CREATE.
        if ((kind == ObjectKind::View || kind == ObjectKind::Trigger) && !sql.empty()) sql[0] = 'C';
        wroteAnything_ = true;
        if (!output_.Execute(sql)) host_.AddLogLine("Error: " + output_.error());
        host_.SetProgressPosition(buildProgress_++);
    }
}

bool RepairBuild::Finish() {
    output_.Close();
    std::error_code error;
    if (!wroteAnything_) {
        fs::remove(temporaryPath_, error);
        return true;
    }
    fs::rename(temporaryPath_, report_.outputPath, error);
    if (error) return Fail(error.message());
    report_.completed = true;
    return true;
}

}  // namespace

RepairStyle Format3RepairStyle(const sqlite_base& engine) {
    uint64_t size = engine.host->file.pageSize;
    bool powerOfTwo = size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
    return {"Creating Database", false, false, powerOfTwo ? static_cast<int>(size) : 0};
}

RepairStyle Format2RepairStyle() { return {" Creating Database ", true, true, 0}; }

bool WriteRepairedDatabase(sqlite_base& engine, const std::string& outputPath, const RepairStyle& style) {
    return RepairBuild(engine, style).Run(outputPath);
}

std::string GeneratedCreateTable(const TableInfo& table) {
    std::string sql = "CREATE TABLE " + QuoteIdentifier(table.name) + " (";
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const ColumnInfo& column = table.columns[i];
        if (i) sql += ", ";
        sql += QuoteIdentifier(column.name);
        if (!column.declaredType.empty()) sql += " " + column.declaredType;
        if (column.rowidAlias) sql += " PRIMARY KEY";
    }
    return sql + ")";
}

}  // namespace pw
