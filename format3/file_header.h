#pragma once
// The 100-byte file header at the start of a format 3 database. The engine uses:
//
//   offset  size  field
//   0       16    "SQLite format 3\0" (compared ignoring case, first 15 bytes)
//   16      2     page size, big-endian; 1 stands for 65536
//   20      1     bytes reserved at the end of every page
//   56      4     text encoding: 1 UTF-8, 2 UTF-16le, 3 UTF-16be

#include <cstdint>
#include <span>

#include "format3/record.h"

namespace pw::format3 {

struct FileHeader {
    bool signatureOk = false;
    uint32_t pageSize = 0;  // 0 when the field holds no valid size
    uint8_t reservedBytes = 0;
    uint32_t textEncoding = 0;
};

FileHeader ParseFileHeader(std::span<const uint8_t> bytes);

// The encoding of a header field value, None for anything but 1, 2 and 3.
TextEncoding EncodingFromHeader(uint32_t field);

}  // namespace pw::format3
