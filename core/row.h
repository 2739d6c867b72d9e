#pragma once
// A decoded row as the engines deliver it to a sink (the grid, the console, the
// writer). Values are views into the mapped file or into the decoder's scratch
// memory, valid only during the sink call: no heap allocation per value.

#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

enum class ValueKind : uint8_t { Null, Integer, Real, Text, Blob };

struct Value {
    ValueKind kind = ValueKind::Null;
    // The file held only part of the value's bytes (a cut overflow chain, a cell that
    // runs off its page); bytes holds what was intact.
    bool damaged = false;
    int64_t integer = 0;
    double real = 0;
    std::string_view bytes;  // Text: UTF-8. Blob: the stored bytes.

    static Value Null() { return {}; }
    static Value Integer(int64_t v) {
        Value value;
        value.kind = ValueKind::Integer;
        value.integer = v;
        return value;
    }
    static Value Real(double v) {
        Value value;
        value.kind = ValueKind::Real;
        value.real = v;
        return value;
    }
    static Value Text(std::string_view text) {
        Value value;
        value.kind = ValueKind::Text;
        value.bytes = text;
        return value;
    }
    static Value Blob(std::string_view bytes) {
        Value value;
        value.kind = ValueKind::Blob;
        value.bytes = bytes;
        return value;
    }
};

// Where a row lives, enough to decode it again: the page and the cell (the cell's
// index in a format 3 page, its byte offset in a format 2 page).
struct RowLocator {
    uint32_t page = 0;
    uint32_t cell = 0;
    friend bool operator==(const RowLocator&, const RowLocator&) = default;
};

struct RowView {
    RowLocator where;
    int64_t rowid = 0;
    std::span<const Value> values;
    // Some value is damaged, or the record was cut before the table's last column. (A
    // record written before ALTER TABLE ADD COLUMN is whole: its missing columns read as
    // their DEFAULT.)
    bool damaged = false;
};

class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void OnRow(const RowView& row) = 0;
};

// Memory for the values of one row: text converted from UTF-16, payloads gathered
// from overflow pages. Blocks are kept between rows, so a load allocates only while
// rows grow beyond what it has seen.
class RowScratch {
public:
    std::vector<Value> values;

    void Reset() {
        values.clear();
        used_ = 0;
        block_ = 0;
        large_.clear();
    }
    // count bytes of room that stay put until the next Reset.
    char* Allocate(size_t count);
    // A growable text that ends in scratch memory; Commit returns its stable view.
    std::string& Text() {
        text_.clear();
        return text_;
    }
    std::string_view Commit(const std::string& text);

private:
    static constexpr size_t kBlockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t block_ = 0;
    size_t used_ = 0;
    std::vector<std::unique_ptr<char[]>> large_;
    std::string text_;
};

}  // namespace pw
