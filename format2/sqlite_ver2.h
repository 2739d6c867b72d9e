#pragma once
// The engine for files of the 2.1 format, which begin with
// "** This file contains an SQLite 2.1 database **". Pages are always 1024 bytes, the
// schema table's b-tree starts at page 2, and every value is stored as text.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/overflow_chain.h"
#include "core/sqlite_base.h"
#include "format2/btree_page.h"
#include "format2/record.h"

namespace pw::format2 {

class sqlite_ver2 : public sqlite_base {
public:
    explicit sqlite_ver2(Host& owner) : sqlite_base(owner) {}

    bool BuildRepairedDatabase(const std::string& path) override;
    void ScanSchema(const std::string& path) override;
    void LoadTableRows(const TableLoad& load, RowSink& sink) override;
    uint64_t CountTableRows(const std::string& path, uint64_t rootPage) override;
    bool DecodeRow(const TableInfo& table, RowLocator where, RowScratch& scratch,
                   RowView& row) const override;

    // Adds the number of cells of the b-tree under page to progressPosition and returns
    // the new value. Interior cells count too: they hold records in this format.
    uint64_t CountTreeCells(uint64_t page);

    // The 8-byte header of every page, at index page number - 1.
    std::vector<PageHeader2> pageHeaders2;

    // The database's pages: 1024 bytes each from the start offset, whatever page size
    // the open settings carry.
    PageSource Pages() const;
    ByteOrder Order() const { return byteOrder_; }

private:
    void ReadPageHeaders();
    void WalkSchema();
    // Decodes the cell at where into row, its values in scratch (views into the page or
    // the overflow scratch unless copyRecord). False when no cell header fits there.
    bool ReadRow(const PageSource& pages, std::span<const uint8_t> pageBytes, RowLocator where,
                 RecordShape shape, bool copyRecord, OverflowScratch& overflow,
                 RowScratch& scratch, RowView& row) const;

    ByteOrder byteOrder_;
};

}  // namespace pw::format2
