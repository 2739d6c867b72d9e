#include "format2/btree_page.h"

#include <bitset>

namespace pw::format2 {

ByteOrder ByteOrderOf(std::span<const uint8_t> page1) {
    ByteCursor cursor(page1, 48);
    ByteCursor copy = cursor;
    if (cursor.U32LE() == kByteOrderMagic) return {false};
    return {copy.U32BE() == kByteOrderMagic};
}

PageHeader2 ReadPageHeader2(std::span<const uint8_t> page, ByteOrder order) {
    ByteCursor cursor(page);
    PageHeader2 header;
    header.rightChild = order.U32(cursor);
    header.firstCell = order.U16(cursor);
    header.firstFree = order.U16(cursor);
    return cursor.ok() ? header : PageHeader2();
}

bool ReadCellHeader(std::span<const uint8_t> page, uint32_t offset, ByteOrder order,
                    CellHeader& header) {
    // A cell never overlaps the page header, and its own 12 bytes must all be there.
    if (offset < 8 || offset > page.size()) return false;
    ByteCursor cursor(page, offset);
    header.leftChild = order.U32(cursor);
    uint32_t keyLow = order.U16(cursor);
    header.next = order.U16(cursor);
    uint32_t keyHigh = cursor.U8();
    uint32_t dataHigh = cursor.U8();
    uint32_t dataLow = order.U16(cursor);
    header.keySize = keyHigh << 16 | keyLow;
    header.dataSize = dataHigh << 16 | dataLow;
    return cursor.ok();
}

void ReadCellChain(std::span<const uint8_t> page, uint32_t firstCell, ByteOrder order,
                   std::vector<PageCell>& cells) {
    cells.clear();
    std::bitset<kPageSize> onChain;
    uint32_t offset = firstCell;
    CellHeader header;
    while (offset != 0 && offset < kPageSize && !onChain[offset] &&
           ReadCellHeader(page, offset, order, header)) {
        onChain[offset] = true;
        cells.push_back({static_cast<uint16_t>(offset), header});
        offset = header.next;
    }
}

}  // namespace pw::format2
