#pragma once
// The payload of a table cell: the 4-byte key that holds the record number, then the
// record, whose first 232 bytes stay in the cell and whose rest is on the cell's
// overflow chain (layout in btree_page.h).
//
// The key is big-endian whatever the file's byte order, with its top bit inverted so
// that keys compare as signed numbers: 80 00 00 01 is record 1, 7f ff ff ff is -1.

#include <cstdint>
#include <span>

#include "core/overflow_chain.h"
#include "core/page_source.h"
#include "format2/btree_page.h"

namespace pw::format2 {

int32_t RecordNumberFromKey(std::span<const uint8_t, 4> key);

struct CellPayload {
    bool ok = false;  // the cell's header and key lie inside its page
    CellHeader header;
    int64_t recordNumber = 0;
    std::span<const uint8_t> data;  // the record, or as much of it as the file holds
    bool complete = false;
};

// Reads the cell at offset of page. A record that lies wholly in its cell is a view into
// the page; one with overflow pages is gathered into scratch. A cell cut by the page's
// end, or a broken chain, gives the part that is there (complete false).
CellPayload ReadCellPayload(const PageSource& pages, std::span<const uint8_t> page,
                            uint32_t offset, ByteOrder order, OverflowScratch& scratch);

}  // namespace pw::format2
