#include "format2/record.h"

#include <cstring>

#include "core/stored_text.h"

namespace pw::format2 {
namespace {

// Entry k of the offset table, or false when its bytes are not in data.
bool ReadEntry(std::span<const uint8_t> data, size_t width, size_t k, uint64_t& entry) {
    const size_t at = k * width;
    if (at + width > data.size()) return false;
    entry = 0;
    for (size_t i = 0; i < width; ++i) entry |= uint64_t{data[at + i]} << (8 * i);
    return true;
}

// A field of one byte or more (the zero-length field is NULL); cut when the file holds
// only its first bytes, or none of them.
Value FieldValue(std::span<const uint8_t> field, bool cut, RowScratch& scratch) {
    if (field.empty()) {
        Value lost = Value::Null();
        lost.damaged = true;
        return lost;
    }
    // The text ends at its zero byte; a field cut before it keeps what is there.
    const void* zero = std::memchr(field.data(), 0, field.size());
    size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - field.data())
                         : field.size();
    Value value = StoredTextValue({reinterpret_cast<const char*>(field.data()), length}, scratch);
    value.damaged = cut || !zero;
    return value;
}

}  // namespace

size_t OffsetEntryWidth(uint64_t recordSize) {
    return recordSize < 256 ? 1 : recordSize < 65536 ? 2 : 3;
}

bool DecodeRecord(std::span<const uint8_t> data, uint64_t declaredSize, bool complete,
                  const RecordShape& shape, RowScratch& scratch) {
    bool damaged = !complete;
    const size_t width = OffsetEntryWidth(declaredSize);
    uint64_t tableSize = 0;
    // An empty record is a row of NULLs; otherwise the table must at least hold entry 0.
    const bool haveTable = declaredSize > 0 && ReadEntry(data, width, 0, tableSize);
    if (declaredSize > 0 && !haveTable) damaged = true;

    for (size_t k = 0; k < shape.columns; ++k) {
        if (static_cast<int>(k) == shape.keyColumn) {
            scratch.values.push_back(Value::Integer(shape.recordNumber));
            continue;
        }
        if (declaredSize == 0) {
            scratch.values.push_back(Value::Null());
            continue;
        }
        uint64_t start = 0, end = 0;
        const bool placed = haveTable && (k + 2) * width <= tableSize &&
                            ReadEntry(data, width, k, start) && ReadEntry(data, width, k + 1, end) &&
                            start <= end && end <= declaredSize;
        if (!placed) {
            Value missing = Value::Null();
            missing.damaged = true;
            scratch.values.push_back(missing);
            damaged = true;
            continue;
        }
        if (start == end) {
            scratch.values.push_back(Value::Null());
            continue;
        }
        const bool cut = end > data.size();
        std::span<const uint8_t> field;
        if (start < data.size())
            field = data.subspan(static_cast<size_t>(start),
                                 static_cast<size_t>((cut ? data.size() : end) - start));
        Value value = FieldValue(field, cut, scratch);
        damaged = damaged || value.damaged;
        scratch.values.push_back(value);
    }
    return damaged;
}

}  // namespace pw::format2
