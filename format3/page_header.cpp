#include "format3/page_header.h"

#include <algorithm>

#include "core/byte_cursor.h"

namespace pw::format3 {

bool IsAcceptedPageType(uint8_t type) {
    return type <= 5 || type == kLeafIndex || type == kLeafTable;
}

PageHeader ReadPageHeader(std::span<const uint8_t> pageBytes, uint64_t page) {
    ByteCursor cursor(pageBytes, HeaderOffset(page));
    PageHeader header;
    header.type = cursor.U8();
    header.firstFreeblock = cursor.U16BE();
    header.cellCount = cursor.U16BE();
    header.contentStart = cursor.U16BE();
    header.fragmentedBytes = cursor.U8();
    header.rightChild = cursor.U32BE();
    return cursor.ok() ? header : PageHeader{};
}

void ReadCellPointers(std::span<const uint8_t> pageBytes, uint64_t page, const PageHeader& header,
                      size_t usableSize, std::vector<uint16_t>& cells) {
    cells.clear();
    size_t arrayStart = HeaderOffset(page) + header.HeaderSize();
    size_t arrayEnd = arrayStart + 2 * size_t{header.cellCount};
    usableSize = std::min(usableSize, pageBytes.size());
    ByteCursor cursor(pageBytes, arrayStart);
    for (uint16_t i = 0; i < header.cellCount; ++i) {
        uint16_t offset = cursor.U16BE();
        if (!cursor.ok()) break;
        // Every cell needs at least four bytes after its start.
        if (offset >= arrayEnd && size_t{offset} + 4 <= usableSize) cells.push_back(offset);
    }
}

void ReadChildPages(std::span<const uint8_t> pageBytes, uint64_t page, const PageHeader& header,
                    size_t usableSize, std::vector<uint16_t>& cells, std::vector<uint64_t>& children) {
    ReadCellPointers(pageBytes, page, header, usableSize, cells);
    for (uint16_t cell : cells) {
        // ReadCellPointers keeps only cells with four bytes inside the page.
        ByteCursor cursor(pageBytes, cell);
        children.push_back(cursor.U32BE());
    }
    children.push_back(header.rightChild);
}

void ReadFreeblocks(std::span<const uint8_t> pageBytes, const PageHeader& header,
                    size_t usableSize, std::vector<uint16_t>& freeblocks) {
    freeblocks.clear();
    usableSize = std::min(usableSize, pageBytes.size());
    size_t offset = header.firstFreeblock;
    size_t previous = 0;
    while (offset != 0) {
        // A freeblock holds a 2-byte link and a 2-byte size, wholly inside the page.
        if (offset <= previous || offset + 4 > usableSize) break;
        freeblocks.push_back(static_cast<uint16_t>(offset));
        previous = offset;
        offset = (size_t{pageBytes[offset]} << 8) | pageBytes[offset + 1];
    }
}

void CellExtents(const std::vector<uint16_t>& cells, const std::vector<uint16_t>& freeblocks,
                 size_t usableSize, std::vector<uint32_t>& extents) {
    // Every cell and freeblock start, sorted: a cell ends where the next start is.
    std::vector<uint32_t> starts(cells.begin(), cells.end());
    starts.insert(starts.end(), freeblocks.begin(), freeblocks.end());
    std::sort(starts.begin(), starts.end());
    extents.resize(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        uint32_t start = cells[i];
        auto next = std::upper_bound(starts.begin(), starts.end(), start);
        uint32_t end = next == starts.end() ? static_cast<uint32_t>(usableSize) : *next;
        extents[i] = end > start ? end - start : 0;
    }
}

}  // namespace pw::format3
