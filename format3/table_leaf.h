#pragma once
// The rows of a table leaf page. A leaf cell is
//
//   payload size (varint), rowid (varint), payload, [first overflow page (4)]
//
// and its payload is one record (format3/record.h). A cell is identified by its
// index among the cells the pointer array names that can start a cell
// (ReadCellPointers), so the same index finds the same cell again as long as the
// page is unchanged.

#include <cstdint>
#include <span>
#include <vector>

#include "core/page_source.h"
#include "core/row.h"
#include "format3/page_header.h"
#include "format3/payload.h"
#include "format3/record.h"
#include "format3/table_columns.h"

namespace pw::format3 {

class TableLeaf {
public:
    // Reads the cell layout of page. False when it is not a table leaf.
    bool Read(std::span<const uint8_t> pageBytes, uint64_t page, size_t usableSize);

    const PageHeader& header() const { return header_; }
    size_t cellCount() const { return cells_.size(); }
    uint32_t CellOffset(size_t cell) const { return cells_[cell]; }
    uint32_t CellExtent(size_t cell) const { return extents_[cell]; }

private:
    PageHeader header_;
    std::vector<uint16_t> cells_;
    std::vector<uint16_t> freeblocks_;
    std::vector<uint32_t> extents_;
};

// What decoding a row reads. Decoding changes none of it, so one decoder serves a
// load and DecodeRow on another thread at the same time, each with its own scratch.
struct RowDecoder {
    PageSource pages;
    size_t usableSize = 0;
    TextEncoding encoding = TextEncoding::None;
    const TableColumns* columns = nullptr;

    struct Outcome {
        bool delivered = false;  // a record could be read: row holds it
        bool payloadCut = false;  // the payload ran off its page or its overflow chain broke
    };

    // Decodes cell of a leaf of page into row, whose values live in scratch (and, when
    // the reader is not in memory and keepBytes is not set, in pageBytes and payload)
    // until scratch is used again. keepBytes copies every byte the values point at
    // into scratch, for a row that must outlive the page buffer.
    Outcome Decode(std::span<const uint8_t> pageBytes, uint64_t page, const TableLeaf& leaf,
                   size_t cell, bool keepBytes, PayloadScratch& payload, RowScratch& scratch,
                   RowView& row) const;
};

}  // namespace pw::format3
