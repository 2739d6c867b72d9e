#pragma once
// Builds 2.1-format files byte by byte, laid out as SQLite 2.8 writes them (the real
// fixtures in tests/fixtures/format2 confirm the layout), for the cases those fixtures
// do not hold: records of 64 KiB and more, deep trees, record numbers past 16 bits,
// big-endian files.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace pw::test {

using Field = std::optional<std::string>;  // nullopt: NULL

// A record as SQLite 2 makes it: the offset table (entries 1, 2 or 3 bytes wide by the
// record's size), then each text with its zero byte; NULL takes no bytes.
Bytes MakeRecord(const std::vector<Field>& fields);
// A schema record: type, name, tbl_name, rootpage, sql.
Bytes SchemaRecord(const std::string& type, const std::string& name, const std::string& table,
                   uint32_t rootPage, const Field& sql);

struct CellSpec {
    int32_t recordNumber = 0;
    Bytes data;
    uint32_t leftChild = 0;
};

class Format2Builder {
public:
    // Page 1 (the file header) and page 2 (the schema root, empty).
    explicit Format2Builder(bool bigEndian = false);

    uint32_t NewPage();
    // Writes cells one after another from offset 8, chained in this order. A payload of
    // more than 236 bytes continues on overflow pages added at the end of the file.
    void SetCells(uint32_t page, const std::vector<CellSpec>& cells, uint32_t rightChild = 0);
    // Offsets at which SetCells placed the cells of a page.
    const std::vector<uint16_t>& CellOffsets(uint32_t page) const { return offsets_.at(page); }

    Bytes& Page(uint32_t page) { return pages_.at(page - 1); }
    uint32_t pageCount() const { return static_cast<uint32_t>(pages_.size()); }
    Bytes Build(const Bytes& before = {}) const;

private:
    void Put16(Bytes& page, size_t at, uint32_t value) const;
    void Put32(Bytes& page, size_t at, uint32_t value) const;

    bool bigEndian_;
    std::vector<Bytes> pages_;
    std::map<uint32_t, std::vector<uint16_t>> offsets_;
};

}  // namespace pw::test
