// Table loading and row counting of the format 2 engine.

#include <cstring>

#include "format2/cell_payload.h"
#include "format2/cell_walk.h"
#include "format2/sqlite_ver2.h"
#include "writer/repaired_database.h"

namespace pw::format2 {

bool sqlite_ver2::ReadRow(const PageSource& pages, std::span<const uint8_t> pageBytes,
                          RowLocator where, RecordShape shape, bool copyRecord,
                          OverflowScratch& overflow, RowScratch& scratch, RowView& row) const {
    CellPayload cell = ReadCellPayload(pages, pageBytes, where.cell, byteOrder_, overflow);
    if (!cell.ok) return false;
    scratch.Reset();
    std::span<const uint8_t> data = cell.data;
    if (copyRecord && !data.empty()) {
        char* copy = scratch.Allocate(data.size());
        std::memcpy(copy, data.data(), data.size());
        data = {reinterpret_cast<const uint8_t*>(copy), data.size()};
    }
    shape.recordNumber = cell.recordNumber;
    row.damaged = DecodeRecord(data, cell.header.dataSize, cell.complete, shape, scratch);
    row.where = where;
    row.rowid = cell.recordNumber;
    row.values = scratch.values;
    return true;
}

uint64_t sqlite_ver2::CountTreeCells(uint64_t page) {
    const PageSource pages = Pages();
    if (page == 0 || page > UINT32_MAX) return progressPosition;
    CellWalk walk(pages, byteOrder_);
    walk.Run(
        static_cast<uint32_t>(page),
        [&](std::span<const uint8_t>, uint32_t, uint32_t) {
            ++progressPosition;
            return true;
        },
        [] { return true; });
    return progressPosition;
}

bool sqlite_ver2::BuildRepairedDatabase(const std::string& path) {
    return WriteRepairedDatabase(*this, path, Format2RepairStyle());
}

uint64_t sqlite_ver2::CountTableRows(const std::string&, uint64_t rootPage) {
    return CountTreeCells(rootPage);
}

void sqlite_ver2::LoadTableRows(const TableLoad& load, RowSink& sink) {
    if (host->StopRequested()) return;
    // The outer call of a grid load counts the rows first, for the log and the progress
    // range; a load for the rebuilt database has its range set by the writer.
    uint64_t total = 0;
    if (progressPosition == 0 && !writeRows) {
        total = CountTreeCells(load.rootPage);
        host->AddLogLine("Table " + load.tableName + "have" +
                         std::to_string(static_cast<uint32_t>(total)) + " entry");
        progressPosition = 1;
        host->SetProgressRange(total);
    }

    const RecordShape shape{static_cast<size_t>(std::max(load.columnCount, 0)),
                            load.keyMark >= 10 ? load.keyMark - 10 : -1, 0};
    // Memory of this load only: released when it returns.
    const PageSource pages = Pages();
    OverflowScratch overflow;
    RowScratch scratch;
    RowView row;
    CellWalk walk(pages, byteOrder_);
    walk.Run(
        load.rootPage,
        [&](std::span<const uint8_t> bytes, uint32_t page, uint32_t offset) {
            if (ReadRow(pages, bytes, {page, offset}, shape, false, overflow, scratch, row)) {
                sink.OnRow(row);
                ReportRowProgress();
            }
            return true;
        },
        [&] { return !host->StopRequested(); });
    if (walk.stopped()) host->SetProgressPosition(total);
}

bool sqlite_ver2::DecodeRow(const TableInfo& table, RowLocator where, RowScratch& scratch,
                            RowView& row) const {
    const PageSource pages = Pages();
    PageBuffer buffer;
    std::span<const uint8_t> bytes = pages.Page(where.page, buffer);
    if (bytes.empty()) return false;
    const RecordShape shape{table.columns.size(), table.RowidAliasColumn(), 0};
    OverflowScratch overflow;
    // The values must outlive this call's page and overflow buffers.
    return ReadRow(pages, bytes, where, shape, true, overflow, scratch, row);
}

}  // namespace pw::format2
