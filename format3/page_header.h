#pragma once
// The b-tree page header, the cell pointer array and the freeblock chain of a format 3
// page. The header starts 100 bytes into page 1 (after the file header) and at the
// first byte of every other page; all fields are big-endian.
//
//   offset  size  field
//   0       1     type: 2 interior index, 5 interior table, 10 leaf index, 13 leaf table
//   1       2     first freeblock (0: none)
//   3       2     cell count
//   5       2     start of the cell content area (0 stands for 65536)
//   7       1     fragmented free bytes
//   8       4     right-most child (interior pages only)
//
// The cell pointer array follows the header: 8 bytes after its start on a leaf page,
// 12 on an interior page.

#include <cstdint>
#include <span>
#include <vector>

namespace pw::format3 {

enum PageType : uint8_t {
    kInteriorIndex = 2,
    kInteriorTable = 5,
    kLeafIndex = 10,
    kLeafTable = 13,
};

struct PageHeader {
    uint8_t type = 0;
    uint16_t firstFreeblock = 0;
    uint16_t cellCount = 0;
    uint16_t contentStart = 0;
    uint8_t fragmentedBytes = 0;
    uint32_t rightChild = 0;

    bool IsLeaf() const { return type == kLeafTable || type == kLeafIndex; }
    bool IsInterior() const { return type == kInteriorTable || type == kInteriorIndex; }
    bool IsTable() const { return type == kLeafTable || type == kInteriorTable; }
    size_t HeaderSize() const { return IsInterior() ? 12 : 8; }
    // Read as a table leaf: 13, and any type byte above the index leaf's 10. A leaf whose
    // type byte was damaged still has its cell pointers, and every cell read is bounded
    // by its page, so reading it costs nothing and may save its rows.
    bool IsTableLeaf() const { return type >= 11; }
};

// Where page n's b-tree header begins within the page.
inline size_t HeaderOffset(uint64_t page) { return page == 1 ? 100 : 0; }

// Type bytes the page header pass accepts: b-tree pages, and 0 to 4, which free and
// overflow pages begin with (the high byte of a page number).
bool IsAcceptedPageType(uint8_t type);

// The header at HeaderOffset(page); a page too short for it gives an all-zero header.
PageHeader ReadPageHeader(std::span<const uint8_t> pageBytes, uint64_t page);

// Cell offsets from the cell pointer array. Pointers that could not start a cell (inside
// the header or the array, or too near the page end) are left out; so is the tail of an
// array that would run past the page.
void ReadCellPointers(std::span<const uint8_t> pageBytes, uint64_t page, const PageHeader& header,
                      size_t usableSize, std::vector<uint16_t>& cells);

// The freeblock chain in chain order. Freeblocks must lie inside the content area in
// ascending order, so a link that does not move forward (a loop) or leaves the page
// ends the chain.
void ReadFreeblocks(std::span<const uint8_t> pageBytes, const PageHeader& header,
                    size_t usableSize, std::vector<uint16_t>& freeblocks);

// The child pages of a table interior page, in b-tree order: each cell's 4-byte left
// child, then the right-most child of the header. cells is room the caller reuses.
void ReadChildPages(std::span<const uint8_t> pageBytes, uint64_t page, const PageHeader& header,
                    size_t usableSize, std::vector<uint16_t>& cells, std::vector<uint64_t>& children);

// For each cell, the bytes it may occupy: up to the nearest following cell start or
// freeblock start, or up to the end of the usable area for the last cell. A cell's bytes
// are never read past its extent.
void CellExtents(const std::vector<uint16_t>& cells, const std::vector<uint16_t>& freeblocks,
                 size_t usableSize, std::vector<uint32_t>& extents);

}  // namespace pw::format3
