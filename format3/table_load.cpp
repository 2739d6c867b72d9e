// Table loading of the format 3 engine: the walk of a table's b-tree, the rows of
// every leaf in b-tree order, progress and stop, and the row counts that go with it.

#include <string>

#include "core/tree_walk.h"
#include "format3/sqlite_ver3.h"
#include "format3/table_columns.h"
#include "format3/table_leaf.h"
#include "writer/repaired_database.h"

namespace pw::format3 {
namespace {

constexpr const char* kFileCorrupted = "File is corrupted";

// What a load could not read, told in one log line at its end: damage is counted
// rather than reported row by row, so a badly damaged table does not flood the log.
struct LoadDamage {
    uint64_t damagedRows = 0;
    uint64_t lostCells = 0;  // cells whose record could not be read at all
    std::vector<uint64_t> unreadPages;  // reached, but neither a table leaf nor interior
    uint64_t brokenLinks = 0;  // child numbers outside the file or to a page already read

    bool Any() const { return damagedRows || lostCells || !unreadPages.empty() || brokenLinks; }

    std::string Describe(const std::string& table) const {
        std::string text = "Table " + table + ":";
        auto part = [&](uint64_t count, const char* one, const char* many) {
            if (!count) return;
            if (text.back() != ':') text.push_back(',');
            text.append(" ").append(std::to_string(count)).append(" ").append(count == 1 ? one : many);
        };
        part(damagedRows, "damaged row", "damaged rows");
        part(lostCells, "unreadable cell", "unreadable cells");
        if (!unreadPages.empty()) {
            part(unreadPages.size(), "unreadable page", "unreadable pages");
            text.append(unreadPages.size() == 1 ? " (page " : " (pages ");
            for (size_t i = 0; i < unreadPages.size() && i < 5; ++i)
                text.append(i ? ", " : "").append(std::to_string(unreadPages[i]));
            text.append(unreadPages.size() > 5 ? ", ...)" : ")");
        }
        part(brokenLinks, "child page number outside the file or already read",
             "child page numbers outside the file or already read");
        return text;
    }
};

}  // namespace

bool sqlite_ver3::BuildRepairedDatabase(const std::string& path) {
    return WriteRepairedDatabase(*this, path, Format3RepairStyle(*this));
}

void sqlite_ver3::LoadTableRows(const TableLoad& load, RowSink& sink) {
    if (host->StopRequested()) return;
    rowTotal = 0;
    uint64_t total = 0;
    const bool gridLoad = progressPosition == 0 && !writeRows;
    if (gridLoad) {
        total = CountLeafCells(load.rootPage);
        host->SetProgressRange(total);
        progressPosition = 1;
    }

    const PageSource pages = Pages();
    if (!pages.Contains(load.rootPage)) {
        host->ShowMessage(MessageBox::Application(kFileCorrupted));
        return;
    }
    const TextEncoding encoding = Encoding();
    if (encoding == TextEncoding::None) return;

    TableInfo counted;
    const TableInfo& table =
        load.table ? *load.table : (counted = TableFromCount(load.columnCount, load.keyMark));
    if (table.withoutRowid) {
        // Its rows live in an index b-tree, keyed by the primary key.
        host->AddLogLine("Table " + load.tableName +
                         " is a WITHOUT ROWID table; its rows are not read yet");
        return;
    }

    const TableColumns columns(table);
    const RowDecoder decoder{pages, UsableSize(), encoding, &columns};
    LoadDamage damage;
    bool cutShown = false;
    TableLeaf leaf;
    PageBuffer pageBuffer;
    PayloadScratch payload;
    RowScratch scratch;
    RowView row;
    std::vector<uint16_t> cells;

    TreeWalk walk(pages.pageCount());
    walk.Run(load.rootPage, [&](uint64_t page, std::vector<uint64_t>& children) {
        if (host->StopRequested()) return false;
        std::span<const uint8_t> bytes = pages.Page(page, pageBuffer);
        if (leaf.Read(bytes, page, decoder.usableSize)) {
            for (size_t cell = 0; cell < leaf.cellCount(); ++cell) {
                if (host->StopRequested()) return false;
                ReportRowProgress();
                RowDecoder::Outcome outcome =
                    decoder.Decode(bytes, page, leaf, cell, false, payload, scratch, row);
                if (!outcome.delivered) {
                    ++damage.lostCells;
                    continue;
                }
                damage.damagedRows += row.damaged;
                sink.OnRow(row);
                if (outcome.payloadCut && !cutShown) {
                    cutShown = true;
                    host->ShowMessage(MessageBox::Application("Error in reading"));
                }
            }
        } else if (leaf.header().type == kInteriorTable) {
            ReadChildPages(bytes, page, leaf.header(), decoder.usableSize, cells, children);
        } else {
            damage.unreadPages.push_back(page);
        }
        return true;
    });
    // A stop fills the progress bar: the load is over.
    if (walk.stopped() && gridLoad) host->SetProgressPosition(total);
    damage.brokenLinks = walk.skipped();
    if (damage.Any()) host->AddLogLine(damage.Describe(load.tableName));
}

uint64_t sqlite_ver3::CountLeafCells(uint64_t root) {
    const PageSource pages = Pages();
    PageBuffer pageBuffer;
    std::vector<uint16_t> cells;
    TreeWalk walk(pages.pageCount());
    // Leaf cell counts come from the page header pass; only interior pages are read.
    walk.Run(root, [&](uint64_t page, std::vector<uint64_t>& children) {
        const PageHeader* header = HeaderOf(page);
        if (!header) return true;
        if (header->IsTableLeaf()) {
            rowTotal += header->cellCount;
        } else if (header->type == kInteriorTable) {
            std::span<const uint8_t> bytes = pages.Page(page, pageBuffer);
            if (!bytes.empty()) ReadChildPages(bytes, page, *header, UsableSize(), cells, children);
        }
        return true;
    });
    return rowTotal;
}

// The rows of one table: the cells of its leaves (the base engine counts nothing).
uint64_t sqlite_ver3::CountTableRows(const std::string&, uint64_t rootPage) {
    rowTotal = 0;
    return CountLeafCells(rootPage);
}

bool sqlite_ver3::DecodeRow(const TableInfo& table, RowLocator where, RowScratch& scratch,
                            RowView& row) const {
    const PageSource pages = Pages();
    const TextEncoding encoding = Encoding();
    if (table.withoutRowid || encoding == TextEncoding::None) return false;
    PageBuffer pageBuffer;
    std::span<const uint8_t> bytes = pages.Page(where.page, pageBuffer);
    TableLeaf leaf;
    if (!leaf.Read(bytes, where.page, UsableSize())) return false;
    const TableColumns columns(table);
    const RowDecoder decoder{pages, UsableSize(), encoding, &columns};
    PayloadScratch payload;
    return decoder.Decode(bytes, where.page, leaf, where.cell, true, payload, scratch, row).delivered;
}

}  // namespace pw::format3
