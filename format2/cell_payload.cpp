#include "format2/cell_payload.h"

#include <algorithm>

namespace pw::format2 {

int32_t RecordNumberFromKey(std::span<const uint8_t, 4> key) {
    uint32_t stored = (uint32_t{key[0]} << 24) | (uint32_t{key[1]} << 16) |
                      (uint32_t{key[2]} << 8) | key[3];
    return static_cast<int32_t>(stored ^ 0x80000000u);
}

CellPayload ReadCellPayload(const PageSource& pages, std::span<const uint8_t> page,
                            uint32_t offset, ByteOrder order, OverflowScratch& scratch) {
    CellPayload cell;
    if (!ReadCellHeader(page, offset, order, cell.header)) return cell;
    ByteCursor cursor(page, offset + kCellHeaderSize);
    std::span<const uint8_t> key = cursor.Bytes(kTableKeySize);
    if (!cursor.ok()) return cell;
    cell.ok = true;
    cell.recordNumber = RecordNumberFromKey(key.first<4>());

    // A table's key is always its 4-byte record number, whatever a damaged key size says.
    const uint64_t payload = kTableKeySize + uint64_t{cell.header.dataSize};
    const size_t localData = static_cast<size_t>(std::min<uint64_t>(payload, kMaxLocalPayload)) -
                             kTableKeySize;
    std::span<const uint8_t> inCell = cursor.BytesUpTo(localData);
    if (payload <= kMaxLocalPayload || inCell.size() < localData) {
        // Whole in the cell, or the cell itself runs off its page: no chain to follow.
        cell.data = inCell;
        cell.complete = inCell.size() == cell.header.dataSize;
        return cell;
    }
    uint32_t firstOverflow = order.U32(cursor);
    if (!cursor.ok()) {
        cell.data = inCell;
        return cell;
    }
    scratch.gathered.assign(reinterpret_cast<const char*>(inCell.data()), inCell.size());
    const uint64_t missing = AppendOverflowChain(pages, firstOverflow, payload - kMaxLocalPayload,
                                                 kPageSize, order.bigEndian, scratch);
    cell.data = {reinterpret_cast<const uint8_t*>(scratch.gathered.data()),
                 scratch.gathered.size()};
    cell.complete = missing == 0;
    return cell;
}

}  // namespace pw::format2
