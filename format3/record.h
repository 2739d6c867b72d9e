#pragma once
// The record format: a header of serial types, then the values they describe.
//
//   header size (varint, counts itself), serial type per column (varints), bodies
//
//   serial type  bytes        value
//   0            0            NULL
//   1 2 3 4      1 2 3 4      big-endian two's complement integer
//   5 6          6 8          big-endian two's complement integer
//   7            8            IEEE 754 double, big-endian
//   8 9          0            the integers 0 and 1
//   10 11        0            reserved; read as NULL
//   N >= 12 even (N-12)/2     blob
//   N >= 13 odd  (N-13)/2     text in the database's encoding

#include <cstdint>
#include <span>

#include "core/row.h"

namespace pw::format3 {

enum class TextEncoding { None, Utf8, Utf16le, Utf16be };

// Bytes of a serial type's value.
uint64_t SerialTypeSize(uint64_t serialType);

struct RecordResult {
    bool ok = false;        // a header could be read at all
    bool damaged = false;   // some value is cut short or missing
    // The whole header was there: a record that lists fewer columns than its table
    // was stored before the later columns were added, not cut short.
    bool headerWhole = false;
    size_t headerColumns = 0;  // serial types in the header (may exceed maxValues)
};

// Appends one Value per serial type (at most maxValues) to scratch.values. payload may
// be shorter than the record claims (complete false): values that lie past its end
// are cut to what is there (text and blobs) or come out NULL, and are marked damaged.
// Valid UTF-8 text is returned as a view into payload; other text is converted into
// scratch. With TextEncoding::None texts come out empty.
RecordResult DecodeRecord(std::span<const uint8_t> payload, bool complete, TextEncoding encoding,
                          size_t maxValues, RowScratch& scratch);

}  // namespace pw::format3
