#pragma once
// SQLite's variable-length integer: one to nine bytes, most significant group first.
// Bytes one to eight give seven bits each and continue while their top bit is set; a
// ninth byte gives all eight bits and always ends it.
//
//   05                    5
//   81 00                 128
//   FF x 9                2^64 - 1

#include <cstddef>
#include <cstdint>

#include "core/byte_cursor.h"

namespace pw::format3 {

// Decodes at bytes[0..available); returns the bytes consumed, 0 when the varint runs
// past available (value is then left 0).
inline size_t DecodeVarint(const uint8_t* bytes, size_t available, uint64_t& value) {
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) {
        if (i >= available) {
            value = 0;
            return 0;
        }
        v = (v << 7) | (bytes[i] & 0x7F);
        if (!(bytes[i] & 0x80)) {
            value = v;
            return i + 1;
        }
    }
    if (available < 9) {
        value = 0;
        return 0;
    }
    value = (v << 8) | bytes[8];
    return 9;
}

inline uint64_t ReadVarint(ByteCursor& cursor) {
    uint64_t value = 0;
    auto rest = cursor.bytes().subspan(cursor.ok() ? cursor.position() : cursor.size());
    size_t used = DecodeVarint(rest.data(), rest.size(), value);
    if (used == 0) {
        cursor.Skip(rest.size() + 1);  // fails the cursor
        return 0;
    }
    cursor.Skip(used);
    return value;
}

}  // namespace pw::format3
