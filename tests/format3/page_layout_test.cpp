#include <gtest/gtest.h>

#include "format3/page_header.h"
#include "format3/payload.h"
#include "format3/varint.h"

namespace pw::format3 {
namespace {

TEST(Varint, WidthsAndTruncation) {
    struct Case {
        std::vector<uint8_t> bytes;
        uint64_t value;
        size_t used;
    } cases[] = {
        {{0x05}, 5, 1},
        {{0x81, 0x00}, 128, 2},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, UINT64_MAX, 9},
        {{0x81, 0x81}, 0, 0},  // runs past the data
        {{}, 0, 0},
    };
    for (const Case& c : cases) {
        uint64_t value = 99;
        EXPECT_EQ(DecodeVarint(c.bytes.data(), c.bytes.size(), value), c.used);
        EXPECT_EQ(value, c.value);
    }
}

std::vector<uint8_t> LeafPage(std::vector<uint16_t> cells, uint16_t firstFreeblock) {
    std::vector<uint8_t> page(512, 0);
    page[0] = kLeafTable;
    page[1] = static_cast<uint8_t>(firstFreeblock >> 8);
    page[2] = static_cast<uint8_t>(firstFreeblock);
    page[4] = static_cast<uint8_t>(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        page[8 + 2 * i] = static_cast<uint8_t>(cells[i] >> 8);
        page[9 + 2 * i] = static_cast<uint8_t>(cells[i]);
    }
    return page;
}

TEST(PageLayout, CellPointersFreeblocksAndExtents) {
    auto page = LeafPage({400, 300, 2, 510}, 350);
    // Freeblock chain 350 -> 200 goes backwards: cut after 350.
    page[350] = 0;
    page[351] = 200;
    PageHeader header = ReadPageHeader(page, 2);
    std::vector<uint16_t> cells, freeblocks;
    std::vector<uint32_t> extents;
    ReadCellPointers(page, 2, header, 512, cells);
    EXPECT_EQ(cells, (std::vector<uint16_t>{400, 300}));  // 2 lies in the header, 510 too near the end
    ReadFreeblocks(page, header, 512, freeblocks);
    EXPECT_EQ(freeblocks, (std::vector<uint16_t>{350}));
    CellExtents(cells, freeblocks, 512, extents);
    EXPECT_EQ(extents, (std::vector<uint32_t>{112, 50}));  // 400 runs to the end, 300 stops at the freeblock

    auto looping = LeafPage({}, 100);
    looping[100] = 0;
    looping[101] = 100;  // links to itself
    ReadFreeblocks(looping, ReadPageHeader(looping, 2), 512, freeblocks);
    EXPECT_EQ(freeblocks, (std::vector<uint16_t>{100}));
}

TEST(PageLayout, LocalPayloadFollowsSqlitesRule) {
    // Usable size 4096: table leaves keep up to 4061 bytes; M = 489.
    EXPECT_EQ(LocalPayloadSize(4061, 4096, CellKind::TableLeaf), 4061u);
    // K = M + (P - M) % (U - 4): kept when it fits (1792), else only M (4062 gives K 4062).
    EXPECT_EQ(LocalPayloadSize(4062, 4096, CellKind::TableLeaf), 489u);
    EXPECT_EQ(LocalPayloadSize(100000, 4096, CellKind::TableLeaf), 1792u);
    // Index cells keep at most ((U - 12) * 64 / 255) - 23 = 1002 bytes.
    EXPECT_EQ(LocalPayloadSize(1002, 4096, CellKind::IndexLeaf), 1002u);
    EXPECT_EQ(LocalPayloadSize(5000, 4096, CellKind::IndexLeaf), 908u);
    EXPECT_EQ(LocalPayloadSize(4100, 4096, CellKind::IndexLeaf), 489u);
}

}  // namespace
}  // namespace pw::format3
