#pragma once
// The recovery engine that both file formats share. An engine turns the bytes of one
// opened file into object lists (tables, indexes, views, triggers), lists the rows of
// a table, counts rows and writes a rebuilt database. It never throws and returns no
// error codes: a failure is reported once through the host and the operation returns.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/host.h"
#include "core/repair_report.h"
#include "core/row.h"
#include "core/schema.h"

namespace pw {

// One table load: the arguments of LoadTableRows.
struct TableLoad {
    std::string path;
    uint32_t rootPage = 0;
    int columnCount = 0;
    std::string tableName;
    int keyMark = 0;  // 10 + index of the rowid-alias column, 0 for none
    const TableInfo* table = nullptr;
};

class sqlite_base {
public:
    explicit sqlite_base(Host& owner) : host(&owner) {}
    virtual ~sqlite_base() = default;
    sqlite_base(const sqlite_base&) = delete;
    sqlite_base& operator=(const sqlite_base&) = delete;

    // The ten operations, in this order. BuildRepairedDatabase writes to path, or, when
    // path is empty, to "Repaired_" + the file's name beside the file.
    virtual bool BuildRepairedDatabase(const std::string& path);
    virtual void ScanSchema(const std::string& path);
    virtual void LoadTableRows(const TableLoad& load, RowSink& sink);
    virtual uint64_t CountCheckedTableRows();
    virtual std::string MapColumnType(std::string type) const;
    virtual bool IsKnownColumnType(std::string type) const;
    virtual void ExportTableRows(const TableLoad& load, RowSink& sink);
    virtual uint64_t CountTableRows(const std::string& path, uint64_t rootPage);
    virtual std::string CleanIdentifier(std::string name) const;

    // Decodes the one row at a locator again, through the same bounded decoder as a load.
    // Safe to call from another thread while a load runs: it reads only what the scan
    // built and the file. False when the locator no longer names a row.
    virtual bool DecodeRow(const TableInfo& table, RowLocator where, RowScratch& scratch,
                           RowView& row) const;

    // One row's step of the progress bar. A load for the rebuilt database leaves the bar
    // to the writer, which moves it as rows are written.
    void ReportRowProgress() {
        if (!writeRows) host->SetProgressPosition(progressPosition++);
    }

    // The load arguments for table i of tableSpecs.
    TableLoad LoadFor(size_t tableIndex) const;

    Host* host;

    std::vector<size_t> schemaTextLengths;
    std::vector<std::string> ownedTexts;
    // Complete CREATE statements as stored, one entry per object, in the order found.
    std::vector<std::string> tableSql;
    std::vector<std::string> triggerSql;
    std::vector<std::string> indexSql;
    std::vector<std::string> viewSql;
    // The generated CREATE TABLE of each table, with mapped types.
    std::vector<std::string> createStatements;
    std::vector<std::string> pendingColumnTypes;
    // Table descriptors: name "+" each column followed by "~", "#" root page.
    std::vector<std::string> tableSpecs;
    std::vector<std::vector<std::string>> columnTypes;
    // The parsed twin of each descriptor, at the same position.
    std::vector<TableInfo> tables;

    // What the last BuildRepairedDatabase did.
    RepairReport repairReport;

    uint64_t rowTotal = 0;
    uint64_t progressPosition = 0;
    bool writeRows = false;
    bool utf8Text = false;
    bool utf16Text = false;
    bool utf16BigEndian = false;

    const std::vector<std::string>& SqlList(ObjectKind kind) const;
    std::vector<std::string>& SqlList(ObjectKind kind) {
        return const_cast<std::vector<std::string>&>(std::as_const(*this).SqlList(kind));
    }
};

}  // namespace pw
