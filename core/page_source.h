#pragma once
// Pages of the database inside the opened file. Page n (from 1) starts at
// startOffset + (n - 1) * pageSize. A page is handed out whole or not at all: a page
// number of 0, past the page count, or whose bytes the file no longer holds gives an
// empty span, which every reader treats as a page that cannot be read.

#include <cstdint>
#include <span>
#include <vector>

#include "core/reader.h"

namespace pw {

// Caller-owned room for one page, used only when the reader is not in memory. The
// span a call returns stays valid until the same buffer is passed again.
using PageBuffer = std::vector<uint8_t>;

class PageSource {
public:
    PageSource() = default;
    PageSource(const Reader* reader, uint64_t startOffset, uint32_t pageSize, uint64_t pageCount)
        : reader_(reader), startOffset_(startOffset), pageSize_(pageSize), pageCount_(pageCount) {}

    uint32_t pageSize() const { return pageSize_; }
    uint64_t pageCount() const { return pageCount_; }
    uint64_t startOffset() const { return startOffset_; }
    const Reader* reader() const { return reader_; }

    bool Contains(uint64_t page) const { return page >= 1 && page <= pageCount_; }
    uint64_t Offset(uint64_t page) const { return startOffset_ + (page - 1) * pageSize_; }

    std::span<const uint8_t> Page(uint64_t page, PageBuffer& scratch) const;

    // Lets the system drop pages 1..page of a mapped file from memory (see Reader::Release).
    void ReleaseThrough(uint64_t page) const;

private:
    const Reader* reader_ = nullptr;
    uint64_t startOffset_ = 0;
    uint32_t pageSize_ = 0;
    uint64_t pageCount_ = 0;
};

}  // namespace pw
