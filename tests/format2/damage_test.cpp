// Damaged copies of the real fixtures: truncated files, zeroed pages, next-cell chains
// that loop, child pages that lead back up the tree, broken overflow chains, and
// thousands of seeded byte flips. None may crash or hang, and the rows on intact pages
// are still listed.

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "tests/support/format2_fixtures.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

constexpr size_t kPage = 1024;

void Put16(Bytes& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}
void Put32(Bytes& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
size_t PageStart(uint32_t page) { return (page - 1) * kPage; }

class Format2Damage : public ::testing::Test {
protected:
    void SetUp() override {
        intactBytes = ReadBytes(Format2Fixture("many"));
        auto intact = OpenForTest(Format2Fixture("many"));
        big = TableIndex(*intact->engine(), "big");
        bigRoot = intact->engine()->tables[big].rootPage;
        rows = LoadRows(*intact, big);
        ASSERT_EQ(rows.rows.size(), 3000u);
        // A leaf in the middle of the table, and the offsets of its cells in chain order.
        leaf = rows.locators[500].page;
        for (const RowLocator& where : rows.locators)
            if (where.page == leaf) leafCells.push_back(where.cell);
        ASSERT_GT(leafCells.size(), 2u);
    }

    LoadedRows LoadDamaged(const Bytes& bytes) {
        WriteBytes(dir.File("damaged.db"), bytes);
        auto file = OpenForTest(dir.File("damaged.db"));
        size_t index = TableIndex(*file->engine(), "big");
        if (index == file->engine()->tables.size()) return {};
        return LoadRows(*file, index);
    }

    // The intact rows less those stored on page.
    std::vector<TextRow> RowsWithout(uint32_t page) const {
        std::vector<TextRow> kept;
        for (size_t i = 0; i < rows.rows.size(); ++i)
            if (rows.locators[i].page != page) kept.push_back(rows.rows[i]);
        return kept;
    }

    TempDir dir;
    Bytes intactBytes;
    size_t big = 0;
    uint32_t bigRoot = 0;
    LoadedRows rows;
    uint32_t leaf = 0;
    std::vector<uint32_t> leafCells;
};

TEST_F(Format2Damage, AZeroedLeafCostsItsOwnRowsOnly) {
    Bytes bytes = intactBytes;
    std::fill(bytes.begin() + PageStart(leaf), bytes.begin() + PageStart(leaf) + kPage, 0);
    EXPECT_EQ(LoadDamaged(bytes).rows, RowsWithout(leaf));
}

TEST_F(Format2Damage, ANextCellChainThatLoopsListsEachCellOnce) {
    struct Case {
        const char* what;
        size_t from;     // index into leafCells of the cell whose next offset is changed
        uint16_t next;   // where it then points
    } cases[] = {
        {"last cell back to the first", leafCells.size() - 1, static_cast<uint16_t>(leafCells[0])},
        {"a cell to itself", leafCells.size() - 1, static_cast<uint16_t>(leafCells.back())},
        {"second cell back to the first", 1, static_cast<uint16_t>(leafCells[0])},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = intactBytes;
        Put16(bytes, PageStart(leaf) + leafCells[c.from] + 6, c.next);
        LoadedRows loaded = LoadDamaged(bytes);
        // Rows up to the looping cell stay; the chain ends where it comes back.
        std::vector<TextRow> expected;
        size_t dropped = leafCells.size() - 1 - c.from;
        size_t seen = 0;
        for (size_t i = 0; i < rows.rows.size(); ++i) {
            if (rows.locators[i].page == leaf && seen++ > c.from) continue;
            expected.push_back(rows.rows[i]);
        }
        EXPECT_EQ(loaded.rows.size(), rows.rows.size() - dropped);
        EXPECT_EQ(loaded.rows, expected);
    }
}

TEST_F(Format2Damage, ChildPagesThatLeadBackUpTheTreeEndTheirBranch) {
    struct Case {
        const char* what;
        size_t at;
        uint32_t page;
    } cases[] = {
        {"a leaf's right child is the root", PageStart(leaf), bigRoot},
        {"a leaf cell's left child is its own page", PageStart(leaf) + leafCells[1], leaf},
        {"the root's right child is the root", PageStart(bigRoot), bigRoot},
        {"a child past the last page", PageStart(leaf), 1u << 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = intactBytes;
        Put32(bytes, c.at, c.page);
        LoadedRows loaded = LoadDamaged(bytes);
        if (c.page == bigRoot && c.at == PageStart(bigRoot)) {
            // The root's own right subtree is lost: every row listed is an intact one, in order.
            EXPECT_LT(loaded.rows.size(), rows.rows.size());
            EXPECT_TRUE(std::includes(rows.rowids.begin(), rows.rowids.end(), loaded.rowids.begin(),
                                      loaded.rowids.end()));
        } else {
            EXPECT_EQ(loaded.rows, rows.rows);
        }
    }
}

TEST_F(Format2Damage, ATruncatedFileListsTheRowsItStillHolds) {
    for (size_t pages : {1, 2, 50, 100, 225, 300, 375}) {
        for (size_t extra : {0, 500}) {
            SCOPED_TRACE(pages * kPage + extra);
            Bytes bytes(intactBytes.begin(), intactBytes.begin() + pages * kPage + extra);
            LoadedRows loaded = LoadDamaged(bytes);
            // Only intact rows, in order, from pages inside the file.
            EXPECT_TRUE(std::includes(rows.rowids.begin(), rows.rowids.end(), loaded.rowids.begin(),
                                      loaded.rowids.end()));
            for (size_t i = 0; i < loaded.rows.size(); ++i) {
                ASSERT_LE(loaded.locators[i].page, pages);
                EXPECT_EQ(loaded.rows[i], rows.rows[static_cast<size_t>(loaded.rowids[i] - 1)]);
            }
        }
    }
}

TEST_F(Format2Damage, ABrokenOverflowChainCostsTheRestOfThatRecord) {
    const Bytes intact = ReadBytes(Format2Fixture("overflow"));
    auto original = OpenForTest(Format2Fixture("overflow"));
    const LoadedRows before = LoadRows(*original, 0);
    // Row 11 (20019 bytes) starts its chain at page 20 (page 19, cell 764).
    ASSERT_EQ(before.locators[10], (RowLocator{19, 764}));
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"the chain loops", intact},
        {"an overflow page is zeroed", intact},
        {"the file ends inside the chain", Bytes(intact.begin(), intact.begin() + 30 * kPage)},
    };
    Put32(cases[0].bytes, PageStart(21), 20);
    std::fill(cases[1].bytes.begin() + PageStart(22), cases[1].bytes.begin() + PageStart(23), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(dir.File("o.db"), c.bytes);
        auto file = OpenForTest(dir.File("o.db"));
        LoadedRows after = LoadRows(*file, 0);
        ASSERT_EQ(after.rows.size(), before.rows.size());
        for (size_t i = 0; i + 1 < before.rows.size(); ++i) EXPECT_EQ(after.rows[i], before.rows[i]);
        const TextRow& cut = after.rows.back();
        EXPECT_TRUE(after.damaged.back());
        EXPECT_EQ(cut[1], before.rows.back()[1]);
        ASSERT_TRUE(cut[2].has_value());
        EXPECT_LT(cut[2]->size(), before.rows.back()[2]->size());
        EXPECT_EQ(before.rows.back()[2]->compare(0, cut[2]->size(), *cut[2]), 0);
    }
}

TEST_F(Format2Damage, ADamagedSchemaPageCostsOnlyWhatItHeld) {
    Bytes basic = ReadBytes(Format2Fixture("basic"));
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
        size_t tables;
    } cases[] = {
        {"no first cell", PageStart(2) + 4, 0, false, 0},
        {"the last schema cell leads back to the first", PageStart(2) + 0x1c8 + 6, 8, false, 1},
        {"a schema cell's left child is page 2", PageStart(2) + 0x94, 2, true, 1},
        {"a first cell past the page", PageStart(2) + 4, 1020, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = basic;
        if (c.wide)
            Put32(bytes, c.at, c.value);
        else
            Put16(bytes, c.at, static_cast<uint16_t>(c.value));
        WriteBytes(dir.File("s.db"), bytes);
        auto file = OpenForTest(dir.File("s.db"));
        EXPECT_EQ(file->engine()->tables.size(), c.tables);
        EXPECT_EQ(file->ItemTexts(ObjectKind::Table).size(), c.tables);
        EXPECT_EQ(file->host.messages.size(), 1u);  // the completion notice alone
    }
}

// Opens the copy and reads everything an engine offers: the tree, every table's rows,
// each row again from its locator, the counts.
void ReadEverything(const std::string& path) {
    auto file = OpenForTest(path);
    sqlite_base* engine = file->engine();
    if (!engine) return;
    RowScratch scratch;
    RowView row;
    for (size_t t = 0; t < engine->tables.size(); ++t) {
        LoadedRows loaded = LoadRows(*file, t);
        for (const RowLocator& where : loaded.locators)
            ASSERT_TRUE(engine->DecodeRow(engine->tables[t], where, scratch, row));
    }
    engine->CountCheckedTableRows();
}

TEST(Format2Flips, ThousandsOfSeededByteFlipsNeitherCrashNorHang) {
    TempDir dir;
    struct Plan {
        const char* fixture;
        int copies;
    } plans[] = {{"basic", 1500}, {"overflow", 1200}, {"many", 300}};
    for (const Plan& plan : plans) {
        const Bytes intact = ReadBytes(Format2Fixture(plan.fixture));
        std::mt19937 random(20240611);
        for (int copy = 0; copy < plan.copies; ++copy) {
            Bytes bytes = intact;
            // Most flips land in b-tree pages (not page 1, which only names the format).
            int flips = 1 + static_cast<int>(random() % 12);
            for (int f = 0; f < flips; ++f) {
                size_t at = kPage + random() % (bytes.size() - kPage);
                bytes[at] = static_cast<uint8_t>(random() % 3 == 0 ? 0 : random());
            }
            if (copy % 10 == 0) bytes.resize(kPage + random() % (bytes.size() - kPage));
            const auto started = std::chrono::steady_clock::now();
            WriteBytes(dir.File("flip.db"), bytes);
            ReadEverything(dir.File("flip.db"));
            ASSERT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10))
                << plan.fixture << " copy " << copy;
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace pw::test
