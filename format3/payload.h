#pragma once
// A cell's payload: the part stored in the cell and the rest on its overflow chain.
//
// Cell layouts (varints except the 4-byte child and overflow numbers):
//   table leaf      payload size, rowid, payload, [first overflow page]
//   table interior  left child (4), rowid                       (no payload)
//   index leaf      payload size, payload, [first overflow page]
//   index interior  left child (4), payload size, payload, [first overflow page]
//
// How much of the payload stays in the cell follows from the payload size P and the
// page's usable size U (SQLite's rule): X = U - 35 on table leaves, else
// ((U - 12) * 64 / 255) - 23; M = ((U - 12) * 32 / 255) - 23. P <= X stays whole;
// otherwise K = M + ((P - M) % (U - 4)) stays if K <= X, else M. Each overflow page is
// a 4-byte next page number and U - 4 payload bytes.

#include <cstdint>
#include <span>
#include <string>

#include "core/overflow_chain.h"
#include "core/page_source.h"

namespace pw::format3 {

enum class CellKind { TableLeaf, IndexLeaf, IndexInterior };

uint64_t LocalPayloadSize(uint64_t payloadSize, size_t usableSize, CellKind kind);

struct CellPayload {
    bool ok = false;  // the cell's header could be read inside its page
    int64_t rowid = 0;
    uint32_t leftChild = 0;  // index interior cells
    uint64_t declaredSize = 0;
    std::span<const uint8_t> bytes;  // the payload, or as much of it as the file holds
    bool complete = false;
};

// Room a payload reader reuses from cell to cell.
using PayloadScratch = OverflowScratch;

// Reads the cell at offset cellOffset of page, which may use extent bytes from there.
// A payload that lies wholly in its cell is returned as a view into the page; one with
// overflow pages is gathered into scratch. A broken chain (a page outside the database,
// one already on the chain, one the file no longer holds) ends the payload early.
CellPayload ReadCellPayload(const PageSource& pages, std::span<const uint8_t> page,
                            uint32_t cellOffset, uint32_t extent, CellKind kind,
                            size_t usableSize, PayloadScratch& scratch);

}  // namespace pw::format3
