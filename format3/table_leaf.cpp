#include "format3/table_leaf.h"

#include <cstring>

namespace pw::format3 {

bool TableLeaf::Read(std::span<const uint8_t> pageBytes, uint64_t page, size_t usableSize) {
    header_ = ReadPageHeader(pageBytes, page);
    cells_.clear();
    if (!header_.IsTableLeaf()) return false;
    ReadCellPointers(pageBytes, page, header_, usableSize, cells_);
    ReadFreeblocks(pageBytes, header_, usableSize, freeblocks_);
    CellExtents(cells_, freeblocks_, usableSize, extents_);
    return true;
}

RowDecoder::Outcome RowDecoder::Decode(std::span<const uint8_t> pageBytes, uint64_t page,
                                       const TableLeaf& leaf, size_t cell, bool keepBytes,
                                       PayloadScratch& payload, RowScratch& scratch,
                                       RowView& row) const {
    Outcome outcome;
    if (cell >= leaf.cellCount()) return outcome;
    CellPayload cellPayload = ReadCellPayload(pages, pageBytes, leaf.CellOffset(cell),
                                              leaf.CellExtent(cell), CellKind::TableLeaf,
                                              usableSize, payload);
    if (!cellPayload.ok) return outcome;
    outcome.payloadCut = !cellPayload.complete;

    scratch.Reset();
    std::span<const uint8_t> bytes = cellPayload.bytes;
    const uint8_t* memory = pages.reader() ? pages.reader()->Data() : nullptr;
    const bool inMemory = memory && bytes.data() >= memory &&
                          bytes.data() + bytes.size() <= memory + pages.reader()->Length();
    if (keepBytes && !inMemory && !bytes.empty()) {
        char* copy = scratch.Allocate(bytes.size());
        std::memcpy(copy, bytes.data(), bytes.size());
        bytes = {reinterpret_cast<const uint8_t*>(copy), bytes.size()};
    }

    RecordResult record = DecodeRecord(bytes, cellPayload.complete, encoding,
                                       columns->storedCount(), scratch);
    // A cell whose record header cannot be read holds no row (a zeroed cell reads so).
    if (!record.ok) return outcome;

    std::vector<Value>& values = scratch.values;
    const size_t stored = values.size();
    values.resize(stored + columns->columnCount());
    Value* out = values.data() + stored;
    bool unknown = columns->Map({values.data(), stored}, record.headerWhole, cellPayload.rowid, out);

    row.where = {static_cast<uint32_t>(page), static_cast<uint32_t>(cell)};
    row.rowid = cellPayload.rowid;
    row.values = {out, columns->columnCount()};
    row.damaged = record.damaged || unknown;
    outcome.delivered = true;
    return outcome;
}

}  // namespace pw::format3
