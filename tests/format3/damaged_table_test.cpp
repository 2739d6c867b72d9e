// Damaged copies of a sound table: no crash, no hang, and every row of an intact leaf
// that the walk can still reach comes back. What is reachable is worked out from the
// sound original's tree, read here independently of the engine.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "tests/support/files.h"
#include "tests/support/hang_guard.h"
#include "tests/support/opened_file.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

constexpr uint32_t kPageSize = 512;

uint32_t Be(const uint8_t* p, int width) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i) value = (value << 8) | p[i];
    return value;
}

// The b-tree of the sound original: each interior page's children, and the leaves.
struct Tree {
    std::map<uint64_t, std::vector<uint64_t>> children;
    std::set<uint64_t> leaves;
    std::map<uint64_t, uint64_t> parent;

    void Read(const Bytes& file, uint64_t page) {
        const uint8_t* p = file.data() + (page - 1) * kPageSize + (page == 1 ? 100 : 0);
        if (p[0] == 13) {
            leaves.insert(page);
            return;
        }
        ASSERT_EQ(p[0], 5) << "page " << page;
        uint32_t count = Be(p + 3, 2);
        std::vector<uint64_t>& list = children[page];
        for (uint32_t i = 0; i < count; ++i)
            list.push_back(Be(file.data() + (page - 1) * kPageSize + Be(p + 12 + 2 * i, 2), 4));
        list.push_back(Be(p + 8, 4));
        for (uint64_t child : std::vector<uint64_t>(list)) {
            parent[child] = page;
            Read(file, child);
        }
    }
    // Whether page or any page above it is in lost.
    bool Lost(uint64_t page, const std::function<bool(uint64_t)>& lost) const {
        for (;;) {
            if (lost(page)) return true;
            auto up = parent.find(page);
            if (up == parent.end()) return false;
            page = up->second;
        }
    }
};

std::string RowKey(const CollectingSink& sink, size_t r) {
    std::string key = std::to_string(sink.rowids[r]);
    for (const OwnedValue& value : sink.rows[r]) key += "|" + Describe(value);
    return key;
}

class DamagedTable : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = dir_.File("sound.db");
        CreateDatabase(original_,
                       "create table t(id integer primary key, name text, qty integer);"
                       "with recursive c(i) as (select 1 union all select i + 1 from c where i < 8000)"
                       " insert into t select i, printf('%0100d', i * 31), i * 7 from c;",
                       {static_cast<int>(kPageSize)});
        bytes_ = ReadBytes(original_);
        auto file = OpenForTest(original_);
        const TableInfo& table = file->engine()->tables[0];
        root_ = table.rootPage;
        tree_.Read(bytes_, root_);
        ASSERT_GE(tree_.children.size(), 3u) << "the fixture needs several interior pages";
        CollectingSink sink = LoadTable(*file, "t");
        ASSERT_EQ(sink.rows.size(), 8000u);
        for (size_t r = 0; r < sink.rows.size(); ++r) rowsByLeaf_[sink.locators[r].page].push_back(RowKey(sink, r));
    }

    // Rows of the leaves that are not lost themselves and have no lost page above them.
    std::multiset<std::string> Expected(const std::function<bool(uint64_t)>& lost) const {
        std::multiset<std::string> rows;
        for (uint64_t leaf : tree_.leaves)
            if (!tree_.Lost(leaf, lost))
                for (const std::string& key : rowsByLeaf_.at(leaf)) rows.insert(key);
        return rows;
    }

    struct Loaded {
        std::multiset<std::string> rows;
        std::vector<std::string> log;
    };
    Loaded LoadDamaged(const Bytes& damaged) {
        std::string path = dir_.File("damaged.db");
        WriteBytes(path, damaged);
        HangGuard guard("loading a damaged copy", std::chrono::seconds(30));
        auto file = OpenForTest(path);
        Loaded loaded;
        CollectingSink sink = LoadTable(*file, "t");
        for (size_t r = 0; r < sink.rows.size(); ++r) loaded.rows.insert(RowKey(sink, r));
        loaded.log = file->host.log;
        // Every row delivered decodes again from its locator to the same values.
        RowScratch scratch;
        for (size_t r = 0; r < sink.rows.size() && file->engine(); ++r) {
            RowView row;
            const TableInfo& table = file->engine()->tables[TableIndex(*file->engine(), "t")];
            EXPECT_TRUE(file->engine()->DecodeRow(table, sink.locators[r], scratch, row));
            for (size_t k = 0; k < row.values.size(); ++k)
                EXPECT_EQ(OwnedValue::From(row.values[k]), sink.rows[r][k]);
        }
        return loaded;
    }

    Bytes Zeroed(uint64_t page) const {
        Bytes copy = bytes_;
        std::fill(copy.begin() + static_cast<long>((page - 1) * kPageSize),
                  copy.begin() + static_cast<long>(page * kPageSize), 0);
        return copy;
    }
    uint64_t FirstInteriorBelowRoot() const {
        for (uint64_t child : tree_.children.at(root_))
            if (tree_.children.count(child)) return child;
        return 0;
    }

    TempDir dir_;
    std::string original_;
    Bytes bytes_;
    uint64_t root_ = 0;
    Tree tree_;
    std::map<uint64_t, std::vector<std::string>> rowsByLeaf_;
};

TEST_F(DamagedTable, ZeroedLeafCostsThatLeafAndIsNamedInTheLog) {
    uint64_t leaf = *std::next(tree_.leaves.begin(), static_cast<long>(tree_.leaves.size() / 2));
    Loaded loaded = LoadDamaged(Zeroed(leaf));
    EXPECT_EQ(loaded.rows, Expected([&](uint64_t p) { return p == leaf; }));
    EXPECT_EQ(loaded.rows.size(), 8000u - rowsByLeaf_[leaf].size());
    EXPECT_EQ(loaded.log.back(), "Table t: 1 unreadable page (page " + std::to_string(leaf) + ")");
}

TEST_F(DamagedTable, ZeroedInteriorPageCostsItsSubtree) {
    uint64_t interior = FirstInteriorBelowRoot();
    ASSERT_NE(interior, 0u);
    Loaded loaded = LoadDamaged(Zeroed(interior));
    std::multiset<std::string> expected = Expected([&](uint64_t p) { return p == interior; });
    EXPECT_LT(expected.size(), 8000u);
    EXPECT_EQ(loaded.rows, expected);
}

TEST_F(DamagedTable, TruncatedFilesKeepTheRowsOfTheirWholePages) {
    const uint64_t pages = bytes_.size() / kPageSize;
    for (uint64_t keep : {pages * 6 / 10, pages / 3}) {
        for (uint64_t extra : {uint64_t{0}, uint64_t{100}}) {
            SCOPED_TRACE("cut after page " + std::to_string(keep) + " + " + std::to_string(extra));
            Bytes cut(bytes_.begin(), bytes_.begin() + static_cast<long>(keep * kPageSize + extra));
            Loaded loaded = LoadDamaged(cut);
            std::multiset<std::string> expected = Expected([&](uint64_t p) { return p > keep; });
            EXPECT_LT(expected.size(), 8000u);
            EXPECT_EQ(loaded.rows, expected);
        }
    }
}

TEST_F(DamagedTable, ChildPointerCyclesEndTheirBranch) {
    uint64_t interior = FirstInteriorBelowRoot();
    ASSERT_NE(interior, 0u);
    const std::vector<uint64_t>& children = tree_.children.at(interior);
    // The first child of the interior page points back at the root; its right-most child
    // points at the interior page itself.
    Bytes copy = bytes_;
    uint8_t* page = copy.data() + (interior - 1) * kPageSize;
    uint8_t* firstCell = copy.data() + (interior - 1) * kPageSize + Be(page + 12, 2);
    for (int i = 0; i < 4; ++i) firstCell[i] = static_cast<uint8_t>(root_ >> (24 - 8 * i));
    for (int i = 0; i < 4; ++i) page[8 + i] = static_cast<uint8_t>(interior >> (24 - 8 * i));
    Loaded loaded = LoadDamaged(copy);
    const uint64_t lostFirst = children.front(), lostRight = children.back();
    std::multiset<std::string> expected =
        Expected([&](uint64_t p) { return p == lostFirst || p == lostRight; });
    EXPECT_LT(expected.size(), 8000u);
    EXPECT_EQ(loaded.rows, expected);
}

TEST_F(DamagedTable, RandomByteFlipsNeverLoseAnIntactLeaf) {
    std::mt19937 random(12345);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Bytes copy = bytes_;
        std::set<uint64_t> flipped;
        // Rounds 0 to 29 spare page 1, so that the table is still found; the rest may
        // hit the file header and the schema too.
        const uint64_t firstByte = round < 30 ? kPageSize : 0;
        for (int k = 0; k < 12; ++k) {
            uint64_t at = firstByte + random() % (copy.size() - firstByte);
            copy[at] ^= static_cast<uint8_t>(1 + random() % 255);
            flipped.insert(at / kPageSize + 1);
        }
        Loaded loaded = LoadDamaged(copy);
        if (round >= 30) continue;  // no crash, no hang is all a damaged schema promises
        std::multiset<std::string> expected = Expected([&](uint64_t p) { return flipped.count(p) > 0; });
        for (const std::string& key : expected)
            ASSERT_TRUE(loaded.rows.count(key)) << "lost " << key.substr(0, 40);
    }
}

}  // namespace
}  // namespace pw::test

namespace pw::test {
namespace {

// An overflow chain that breaks after its first page: the row still comes, marked
// damaged, with the part of its text the file still holds; its neighbours are whole.
TEST(DamagedOverflow, ACutChainKeepsTheRowWithWhatIsIntact) {
    TempDir dir;
    std::string path = dir.File("chain.db");
    CreateDatabase(path,
                   "create table t(id integer primary key, s text);"
                   "insert into t values(1, 'first');"
                   "insert into t values(2, (with recursive c(i, s) as (select 0, '' union all"
                   " select i + 1, s || printf('%05d,', i) from c where i < 1000)"
                   " select s from c where i = 1000));"
                   "insert into t values(3, 'third');",
                   {1024});
    const std::string whole = QueryRows(path, "select s from t where id = 2")[0][0].bytes;
    // A fresh file: page 2 is the table, its overflow chain follows from page 3 on.
    Bytes bytes = ReadBytes(path);
    for (int i = 0; i < 4; ++i) bytes[2 * 1024 + i] = 0xFF;
    WriteBytes(path, bytes);

    auto file = OpenForTest(path);
    CollectingSink sink = LoadTable(*file, "t");
    ASSERT_EQ(sink.rows.size(), 3u);
    EXPECT_EQ(sink.rows[0][1].bytes, "first");
    EXPECT_EQ(sink.rows[2][1].bytes, "third");
    EXPECT_FALSE(sink.damaged[0]);
    EXPECT_TRUE(sink.damaged[1]);
    const std::string& cut = sink.rows[1][1].bytes;
    EXPECT_GT(cut.size(), 1000u);
    EXPECT_LT(cut.size(), whole.size());
    EXPECT_EQ(whole.compare(0, cut.size(), cut), 0) << "the intact part, unchanged";
    EXPECT_EQ(file->MessageTexts().back(), "Pagewright v18.0: Error in reading");
    EXPECT_EQ(file->host.log.back(), "Table t: 1 damaged row");
}

}  // namespace
}  // namespace pw::test
