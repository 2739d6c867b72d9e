#pragma once
// Every cell of one b-tree in key order, through core's TreeWalk. A page lists its
// steps as "left child of cell 1, cell 1, left child of cell 2, cell 2, ..., right
// child", so a cell comes after the subtree before it: the order SQLite reads a table
// in. Each page is read once, next-cell chains that loop are cut (ReadCellChain), and a
// page whose first-cell offset is 0 has no cells but may still have a right child.

#include <cstdint>
#include <span>
#include <vector>

#include "core/page_source.h"
#include "core/tree_walk.h"
#include "format2/btree_page.h"

namespace pw::format2 {

class CellWalk {
public:
    CellWalk(const PageSource& pages, ByteOrder order)
        : pages_(pages), order_(order), walk_(pages.pageCount()) {}

    // cell(pageBytes, page, offset) handles one cell; goOn() is asked before every page
    // and every cell. Either returning false ends the walk.
    template <class Cell, class GoOn>
    void Run(uint32_t root, Cell&& cell, GoOn&& goOn) {
        walk_.RunInOrder(
            root,
            [&](uint64_t page, std::vector<WalkStep>& steps) {
                if (!goOn()) return false;
                ListSteps(page, steps);
                return true;
            },
            [&](uint64_t page, uint32_t offset) {
                return goOn() && cell(PageBytes(page), static_cast<uint32_t>(page), offset);
            });
    }

    bool stopped() const { return walk_.stopped(); }

private:
    void ListSteps(uint64_t page, std::vector<WalkStep>& steps) {
        std::span<const uint8_t> bytes = PageBytes(page);
        if (bytes.empty()) return;
        const PageHeader2 header = ReadPageHeader2(bytes, order_);
        ReadCellChain(bytes, header.firstCell, order_, cells_);
        for (const PageCell& cell : cells_) {
            if (cell.header.leftChild) steps.push_back(WalkStep::Child(cell.header.leftChild));
            steps.push_back(WalkStep::Entry(page, cell.offset));
        }
        if (header.rightChild) steps.push_back(WalkStep::Child(header.rightChild));
    }

    // A cell's page is read again after the subtree before the cell, unless it is still
    // the page last read (every cell of a leaf, the common case).
    std::span<const uint8_t> PageBytes(uint64_t page) {
        if (page != bufferedPage_) {
            bytes_ = pages_.Page(page, buffer_);
            bufferedPage_ = page;
        }
        return bytes_;
    }

    PageSource pages_;
    ByteOrder order_;
    TreeWalk walk_;
    PageBuffer buffer_;
    uint64_t bufferedPage_ = 0;
    std::span<const uint8_t> bytes_;
    std::vector<PageCell> cells_;
};

}  // namespace pw::format2
