#pragma once
// The engine for files that begin with "SQLite format 3".

#include <cstdint>
#include <string>
#include <vector>

#include "core/sqlite_base.h"
#include "format3/page_header.h"
#include "format3/payload.h"
#include "format3/record.h"

namespace pw::format3 {

class sqlite_ver3 : public sqlite_base {
public:
    explicit sqlite_ver3(Host& owner) : sqlite_base(owner) {}

    bool BuildRepairedDatabase(const std::string& path) override;
    void ScanSchema(const std::string& path) override;
    void LoadTableRows(const TableLoad& load, RowSink& sink) override;
    uint64_t CountTableRows(const std::string& path, uint64_t rootPage) override;
    bool DecodeRow(const TableInfo& table, RowLocator where, RowScratch& scratch,
                   RowView& row) const override;

    // Adds to rowTotal the cells of every table leaf under page (the progress total of
    // a load) and returns it. Reads interior pages only; leaf counts come from pageHeaders.
    uint64_t CountLeafCells(uint64_t page);

    // The header of every page, at index page number - 1.
    std::vector<PageHeader> pageHeaders;
    // Length in bytes of the last schema text read.
    size_t schemaTextLength = 0;

    PageSource Pages() const { return host->file.Pages(); }
    // Page size less the bytes reserved at the end of every page.
    size_t UsableSize() const { return host->file.pageSize - reservedBytes_; }
    TextEncoding Encoding() const;
    const PageHeader* HeaderOf(uint64_t page) const {
        return page >= 1 && page <= pageHeaders.size() ? &pageHeaders[page - 1] : nullptr;
    }

private:
    bool CheckHeader();
    bool ReadPageHeaders();
    void WalkSchema();

    uint8_t reservedBytes_ = 0;
};

}  // namespace pw::format3
