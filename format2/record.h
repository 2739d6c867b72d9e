#pragma once
// The record of a table row: an offset table, then the fields.
//
//   entry width  1 byte for a record under 256 bytes, 2 under 65536, else 3 (little-endian);
//                the width is not stored, it follows from the record's size
//   entry 0      the offset table's own size: width x (fields + 1)
//   entry k      offset of field k's first byte; the entry after the last field is the
//                record's end, so field k runs from entry k to entry k + 1
//   field        text with its terminating zero byte (numbers are text too); a field of
//                0 bytes is NULL, and the empty text is the one zero byte
//
// A table's INTEGER PRIMARY KEY column is stored as NULL: the record number stands for it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/row.h"

namespace pw::format2 {

size_t OffsetEntryWidth(uint64_t recordSize);

struct RecordShape {
    size_t columns = 0;
    int keyColumn = -1;        // the column the record number stands for, -1 for none
    int64_t recordNumber = 0;
};

// Appends one value per column to scratch.values and returns whether any of them is
// damaged. data may be shorter than declaredSize (complete false): fields past its end
// are cut to what is there. A field the offset table cannot place (an entry past the
// table, or offsets out of order or past the record) is NULL, marked damaged.
bool DecodeRecord(std::span<const uint8_t> data, uint64_t declaredSize, bool complete,
                  const RecordShape& shape, RowScratch& scratch);

}  // namespace pw::format2
