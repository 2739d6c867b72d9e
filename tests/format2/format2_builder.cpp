#include "tests/format2/format2_builder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pw::test {
namespace {

constexpr size_t kPage = 1024;
constexpr size_t kMaxLocal = 236;
const char kSignature[] = "** This file contains an SQLite 2.1 database **";

}  // namespace

Bytes MakeRecord(const std::vector<Field>& fields) {
    size_t body = 0;
    for (const Field& field : fields)
        if (field) body += field->size() + 1;
    const size_t entries = fields.size() + 1;
    size_t width = body + entries < 256 ? 1 : body + 2 * entries < 65536 ? 2 : 3;
    Bytes record(width * entries);
    size_t at = 0, offset = width * entries;
    auto entry = [&](size_t value) {
        for (size_t i = 0; i < width; ++i) record[at++] = static_cast<uint8_t>(value >> (8 * i));
    };
    for (const Field& field : fields) {
        entry(offset);
        if (field) offset += field->size() + 1;
    }
    entry(offset);
    for (const Field& field : fields) {
        if (!field) continue;
        record.insert(record.end(), field->begin(), field->end());
        record.push_back(0);
    }
    return record;
}

Bytes SchemaRecord(const std::string& type, const std::string& name, const std::string& table,
                   uint32_t rootPage, const Field& sql) {
    return MakeRecord({type, name, table, std::to_string(rootPage), sql});
}

Format2Builder::Format2Builder(bool bigEndian) : bigEndian_(bigEndian) {
    pages_.assign(2, Bytes(kPage, 0));
    std::memcpy(pages_[0].data(), kSignature, sizeof kSignature);
    Put32(pages_[0], 48, 0xdae37528);
    Put32(pages_[0], 64, 4);  // file format 4, as SQLite 2.8 writes it
    Put16(pages_[1], 6, 8);   // the empty schema root: one free block at offset 8
    Put16(pages_[1], 8, kPage - 8);
}

uint32_t Format2Builder::NewPage() {
    pages_.emplace_back(kPage, 0);
    Put16(pages_.back(), 6, 8);
    Put16(pages_.back(), 8, kPage - 8);
    return pageCount();
}

void Format2Builder::SetCells(uint32_t page, const std::vector<CellSpec>& cells, uint32_t rightChild) {
    std::vector<uint16_t>& offsets = offsets_[page];
    offsets.clear();
    size_t at = 8;
    std::vector<std::pair<size_t, Bytes>> pending;  // overflow link position, rest of payload
    {
        Bytes& bytes = Page(page);
        std::fill(bytes.begin(), bytes.end(), 0);
        Put32(bytes, 0, rightChild);
        Put16(bytes, 4, cells.empty() ? 0 : 8);
        for (size_t i = 0; i < cells.size(); ++i) {
            const CellSpec& cell = cells[i];
            Bytes payload(4);
            uint32_t key = static_cast<uint32_t>(cell.recordNumber) ^ 0x80000000u;
            for (int b = 0; b < 4; ++b) payload[b] = static_cast<uint8_t>(key >> (24 - 8 * b));
            payload.insert(payload.end(), cell.data.begin(), cell.data.end());
            const size_t local = std::min(payload.size(), kMaxLocal);
            const size_t size = 12 + local + (payload.size() > kMaxLocal ? 4 : 0);
            if (at + size > kPage) throw std::runtime_error("cells do not fit on the page");
            offsets.push_back(static_cast<uint16_t>(at));
            Put32(bytes, at, cell.leftChild);
            Put16(bytes, at + 4, 4);
            const bool last = i + 1 == cells.size();
            Put16(bytes, at + 6, last ? 0 : static_cast<uint32_t>(at + size));
            bytes[at + 9] = static_cast<uint8_t>(cell.data.size() >> 16);
            Put16(bytes, at + 10, static_cast<uint32_t>(cell.data.size() & 0xFFFF));
            std::memcpy(bytes.data() + at + 12, payload.data(), local);
            if (payload.size() > kMaxLocal)
                pending.emplace_back(at + 12 + local, Bytes(payload.begin() + kMaxLocal, payload.end()));
            at += size;
        }
        Put16(bytes, 6, at + 4 <= kPage ? static_cast<uint32_t>(at) : 0);
        if (at + 4 <= kPage) Put16(bytes, at, static_cast<uint32_t>(kPage - at));
    }
    for (auto& [link, rest] : pending) {
        size_t linkPage = page, linkAt = link;
        for (size_t done = 0; done < rest.size(); done += kPage - 4) {
            uint32_t overflow = static_cast<uint32_t>(pages_.size() + 1);
            pages_.emplace_back(kPage, 0);
            Put32(Page(static_cast<uint32_t>(linkPage)), linkAt, overflow);
            size_t chunk = std::min(rest.size() - done, kPage - 4);
            std::memcpy(pages_.back().data() + 4, rest.data() + done, chunk);
            linkPage = overflow;
            linkAt = 0;
        }
    }
}

Bytes Format2Builder::Build(const Bytes& before) const {
    Bytes file = before;
    for (const Bytes& page : pages_) file.insert(file.end(), page.begin(), page.end());
    return file;
}

void Format2Builder::Put16(Bytes& page, size_t at, uint32_t value) const {
    page[at + (bigEndian_ ? 1 : 0)] = static_cast<uint8_t>(value);
    page[at + (bigEndian_ ? 0 : 1)] = static_cast<uint8_t>(value >> 8);
}

void Format2Builder::Put32(Bytes& page, size_t at, uint32_t value) const {
    for (size_t i = 0; i < 4; ++i)
        page[at + (bigEndian_ ? 3 - i : i)] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace pw::test
