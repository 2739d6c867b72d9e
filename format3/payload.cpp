#include "format3/payload.h"

#include <algorithm>

#include "core/byte_cursor.h"
#include "format3/varint.h"

namespace pw::format3 {

uint64_t LocalPayloadSize(uint64_t payloadSize, size_t usableSize, CellKind kind) {
    const uint64_t u = usableSize;
    const uint64_t maxLocal = kind == CellKind::TableLeaf ? u - 35 : ((u - 12) * 64 / 255) - 23;
    if (payloadSize <= maxLocal) return payloadSize;
    const uint64_t minLocal = ((u - 12) * 32 / 255) - 23;
    const uint64_t k = minLocal + ((payloadSize - minLocal) % (u - 4));
    return k <= maxLocal ? k : minLocal;
}

CellPayload ReadCellPayload(const PageSource& pages, std::span<const uint8_t> page,
                            uint32_t cellOffset, uint32_t extent, CellKind kind,
                            size_t usableSize, PayloadScratch& scratch) {
    CellPayload cell;
    if (cellOffset >= page.size()) return cell;
    size_t cellEnd = std::min<size_t>(page.size(), size_t{cellOffset} + extent);
    ByteCursor cursor(page.first(cellEnd), cellOffset);
    if (kind == CellKind::IndexInterior) cell.leftChild = cursor.U32BE();
    cell.declaredSize = ReadVarint(cursor);
    if (kind == CellKind::TableLeaf) cell.rowid = static_cast<int64_t>(ReadVarint(cursor));
    if (!cursor.ok()) return cell;
    cell.ok = true;

    const uint64_t local = LocalPayloadSize(cell.declaredSize, usableSize, kind);
    std::span<const uint8_t> inCell = cursor.BytesUpTo(static_cast<size_t>(std::min<uint64_t>(local, cursor.remaining())));
    if (local == cell.declaredSize || inCell.size() < local) {
        // Whole in the cell, or the cell itself is cut short: no chain to follow.
        cell.bytes = inCell;
        cell.complete = inCell.size() == cell.declaredSize;
        return cell;
    }
    uint32_t next = cursor.U32BE();
    if (!cursor.ok()) {
        cell.bytes = inCell;
        return cell;
    }

    std::string& gathered = scratch.gathered;
    gathered.assign(reinterpret_cast<const char*>(inCell.data()), inCell.size());
    const uint64_t missing =
        AppendOverflowChain(pages, next, cell.declaredSize - local, usableSize, true, scratch);
    cell.bytes = {reinterpret_cast<const uint8_t*>(gathered.data()), gathered.size()};
    cell.complete = missing == 0;
    return cell;
}

}  // namespace pw::format3
