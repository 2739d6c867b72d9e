#pragma once
// The overflow chains of both formats. Every page of a chain starts with the 4-byte
// number of the next page (0 on the last one) and holds payload bytes from there up to
// the page's usable size:
//
//   0  4            next overflow page (big-endian in format 3, the file's order in format 2)
//   4  usable - 4   payload bytes; the last page uses only what remains

#include <cstdint>
#include <string>

#include "core/chain_guard.h"
#include "core/page_source.h"

namespace pw {

// Room a payload reader reuses from cell to cell.
struct OverflowScratch {
    std::string gathered;
    PageBuffer overflowPage;
    ChainGuard chain;
};

// Appends the next `wanted` payload bytes of the chain that starts at page `first` to
// scratch.gathered and returns how many of them the chain did not give (0: complete).
// The chain ends early at a page outside the database, one already on the chain, or one
// the file no longer holds, so a damaged chain costs only the rest of its payload.
uint64_t AppendOverflowChain(const PageSource& pages, uint32_t first, uint64_t wanted,
                             size_t usableSize, bool bigEndianLinks, OverflowScratch& scratch);

}  // namespace pw
