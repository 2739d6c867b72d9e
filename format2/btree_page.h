#pragma once
// The pages of a 2.1-format file. Every page is 1024 bytes. The numbers of the b-tree
// layer are stored in the byte order of the machine that wrote the file (little-endian
// nearly always); page 1 says which:
//
// Page 1 (the file header, not a b-tree page):
//    0  48  "** This file contains an SQLite 2.1 database **" and a zero byte
//   48   4  0xdae37528 in the file's byte order
//   52   4  first freelist page;  56  4  freelist page count;  60 ...  meta values
//
// B-tree page header, the first 8 bytes:
//    0   4  right child: the subtree after the last cell (0 on a leaf)
//    4   2  offset of the first cell in key order (0: the page has no cells)
//    6   2  offset of the first free block
//
// Cell, at its offset (interior cells hold a record too: these are B-trees, not B+trees):
//    0   4  left child: the subtree before this cell (0 on a leaf)
//    4   2  key size, low 16 bits (a table's key is its 4-byte record number)
//    6   2  offset of the next cell in key order (0 ends the chain)
//    8   1  key size, high 8 bits
//    9   1  data size, high 8 bits
//   10   2  data size, low 16 bits
//   12      the key, then the data. At most 236 bytes of the two stay in the cell; a
//           longer payload is followed by the 4-byte number of its first overflow page,
//           and each overflow page holds a 4-byte next page and 1020 more bytes.

#include <cstdint>
#include <span>
#include <vector>

#include "core/byte_cursor.h"

namespace pw::format2 {

inline constexpr uint32_t kPageSize = 1024;
inline constexpr uint32_t kSchemaRootPage = 2;
inline constexpr size_t kCellHeaderSize = 12;
inline constexpr size_t kTableKeySize = 4;
inline constexpr size_t kMaxLocalPayload = 236;
inline constexpr uint32_t kByteOrderMagic = 0xdae37528;

// How the file stores the b-tree layer's numbers.
struct ByteOrder {
    bool bigEndian = false;

    uint16_t U16(ByteCursor& cursor) const { return bigEndian ? cursor.U16BE() : cursor.U16LE(); }
    uint32_t U32(ByteCursor& cursor) const { return bigEndian ? cursor.U32BE() : cursor.U32LE(); }
};

// The byte order page 1's magic number gives; little-endian when it matches neither way
// (a damaged header), since nearly every file was written on such a machine.
ByteOrder ByteOrderOf(std::span<const uint8_t> page1);

struct PageHeader2 {
    uint32_t rightChild = 0;
    uint16_t firstCell = 0;
    uint16_t firstFree = 0;
};

// Reads the first 8 bytes of a page (zeros when fewer are there).
PageHeader2 ReadPageHeader2(std::span<const uint8_t> page, ByteOrder order);

struct CellHeader {
    uint32_t leftChild = 0;
    uint16_t next = 0;
    uint32_t keySize = 0;
    uint32_t dataSize = 0;
};

struct PageCell {
    uint16_t offset = 0;
    CellHeader header;
};

// The cell header at offset, when it lies wholly inside the page and after its header.
bool ReadCellHeader(std::span<const uint8_t> page, uint32_t offset, ByteOrder order,
                    CellHeader& header);

// The cells of a page in next-cell chain order, from the first-cell offset. The chain
// ends at offset 0, at an offset where no cell header fits, or at a cell already on it
// (a loop in a damaged page), so it has at most one entry per byte of the page.
void ReadCellChain(std::span<const uint8_t> page, uint32_t firstCell, ByteOrder order,
                   std::vector<PageCell>& cells);

}  // namespace pw::format2
