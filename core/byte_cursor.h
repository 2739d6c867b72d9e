#pragma once
// A cursor over a span of bytes: a page, a cell, a payload. It is the one place that
// checks bounds. A read past the end fails, leaves the cursor failed and returns zero;
// every later read fails as well without touching memory, so a caller reads a whole
// structure and checks ok() once at the end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pw {

class ByteCursor {
public:
    ByteCursor() = default;
    explicit ByteCursor(std::span<const uint8_t> bytes, size_t position = 0)
        : bytes_(bytes), position_(position), ok_(position <= bytes.size()) {}

    bool ok() const { return ok_; }
    size_t position() const { return position_; }
    size_t size() const { return bytes_.size(); }
    size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }
    std::span<const uint8_t> bytes() const { return bytes_; }

    void Seek(size_t position) {
        if (position > bytes_.size()) ok_ = false;
        if (ok_) position_ = position;
    }
    void Skip(size_t count) {
        if (!Has(count)) return;
        position_ += count;
    }

    uint8_t U8() { return Has(1) ? bytes_[position_++] : 0; }
    uint16_t U16BE() { return static_cast<uint16_t>(Fixed(2, true)); }
    uint32_t U24BE() { return static_cast<uint32_t>(Fixed(3, true)); }
    uint32_t U32BE() { return static_cast<uint32_t>(Fixed(4, true)); }
    uint64_t BigEndian(size_t width) { return Fixed(width, true); }
    uint16_t U16LE() { return static_cast<uint16_t>(Fixed(2, false)); }
    uint32_t U32LE() { return static_cast<uint32_t>(Fixed(4, false)); }

    // count bytes as a view; an empty view and a failed cursor when they are not all there.
    std::span<const uint8_t> Bytes(size_t count) {
        if (!Has(count)) return {};
        auto view = bytes_.subspan(position_, count);
        position_ += count;
        return view;
    }
    // Up to count bytes: what is there, without failing the cursor.
    std::span<const uint8_t> BytesUpTo(size_t count) {
        if (!ok_) return {};
        size_t n = count < remaining() ? count : remaining();
        auto view = bytes_.subspan(position_, n);
        position_ += n;
        return view;
    }

private:
    bool Has(size_t count) {
        if (ok_ && count <= bytes_.size() - position_) return true;
        ok_ = false;
        return false;
    }
    uint64_t Fixed(size_t width, bool bigEndian) {
        if (!Has(width)) return 0;
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            uint64_t b = bytes_[position_ + i];
            value |= bigEndian ? b << (8 * (width - 1 - i)) : b << (8 * i);
        }
        position_ += width;
        return value;
    }

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    bool ok_ = true;
};

inline std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace pw
