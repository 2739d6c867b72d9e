#include "format3/record.h"

#include <cstring>

#include "core/stored_text.h"
#include "format3/varint.h"
#include "platform/text.h"

namespace pw::format3 {
namespace {

int64_t SignedBigEndian(const uint8_t* bytes, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) value = (value << 8) | bytes[i];
    // Sign-extend from the value's top bit.
    if (width < 8 && (bytes[0] & 0x80)) value |= ~uint64_t{0} << (8 * width);
    return static_cast<int64_t>(value);
}

Value TextValue(std::span<const uint8_t> bytes, TextEncoding encoding, RowScratch& scratch) {
    std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    switch (encoding) {
        case TextEncoding::Utf8: return StoredTextValue(raw, scratch);
        case TextEncoding::Utf16le:
        case TextEncoding::Utf16be: {
            std::string& text = scratch.Text();
            AppendUtf16AsUtf8(text, bytes.data(), bytes.size(), encoding == TextEncoding::Utf16be);
            return Value::Text(scratch.Commit(text));
        }
        case TextEncoding::None: break;
    }
    return Value::Text({});
}

}  // namespace

uint64_t SerialTypeSize(uint64_t serialType) {
    static constexpr uint8_t kFixed[12] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0};
    if (serialType < 12) return kFixed[serialType];
    return (serialType - 12) / 2;
}

RecordResult DecodeRecord(std::span<const uint8_t> payload, bool complete, TextEncoding encoding,
                          size_t maxValues, RowScratch& scratch) {
    RecordResult result;
    uint64_t headerSize = 0;
    size_t used = DecodeVarint(payload.data(), payload.size(), headerSize);
    if (used == 0 || headerSize < used) return result;
    result.ok = true;
    result.damaged = !complete;

    // Serial types are read from the header as far as the payload holds it.
    const size_t headerEnd = headerSize <= payload.size() ? static_cast<size_t>(headerSize) : payload.size();
    bool headerCut = headerSize > payload.size();
    result.damaged = result.damaged || headerCut;
    size_t typeAt = used;
    uint64_t bodyAt = headerSize;
    while (typeAt < headerEnd) {
        uint64_t serialType = 0;
        size_t width = DecodeVarint(payload.data() + typeAt, headerEnd - typeAt, serialType);
        if (width == 0) {
            result.damaged = true;
            headerCut = true;
            break;
        }
        typeAt += width;
        ++result.headerColumns;
        const uint64_t size = SerialTypeSize(serialType);
        const uint64_t start = bodyAt;
        // Saturates: serial types of a damaged header may claim sizes that overflow.
        bodyAt = size > UINT64_MAX - bodyAt ? UINT64_MAX : bodyAt + size;
        if (scratch.values.size() >= maxValues) continue;

        const bool whole = start <= payload.size() && size <= payload.size() - start;
        std::span<const uint8_t> bytes;
        if (start < payload.size())
            bytes = payload.subspan(static_cast<size_t>(start),
                                    static_cast<size_t>(std::min<uint64_t>(size, payload.size() - start)));
        Value value;
        if (serialType >= 12) {
            value = serialType & 1 ? TextValue(bytes, encoding, scratch)
                                   : Value::Blob({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        } else if (serialType == 8 || serialType == 9) {
            value = Value::Integer(serialType == 9 ? 1 : 0);
        } else if (serialType >= 1 && serialType <= 7 && whole) {
            if (serialType == 7) {
                uint64_t bits = static_cast<uint64_t>(SignedBigEndian(bytes.data(), 8));
                double real;
                std::memcpy(&real, &bits, sizeof real);
                value = Value::Real(real);
            } else {
                value = Value::Integer(SignedBigEndian(bytes.data(), bytes.size()));
            }
        }
        // A number whose bytes are not all there is unknown: NULL, marked damaged.
        value.damaged = !whole;
        result.damaged = result.damaged || !whole;
        scratch.values.push_back(value);
    }
    result.headerWhole = !headerCut;
    return result;
}

}  // namespace pw::format3
