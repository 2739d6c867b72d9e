// How a load is driven: progress, stop, counts of the checked tables, a root outside
// the file, and decoding rows again from their locators while a load runs.

#include <gtest/gtest.h>

#include <thread>

#include "core/reader.h"
#include "tests/support/opened_file.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

class LoadControl : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File("two.db");
        CreateDatabase(path_,
                       "create table t(id integer primary key, name text, note text);"
                       "with recursive c(i) as (select 1 union all select i + 1 from c where i < 5000)"
                       " insert into t select i, 'name ' || i, case when i % 500 = 0"
                       " then printf('%03000d', i) end from c;"
                       "create table u(a, b);"
                       "with recursive c(i) as (select 1 union all select i + 1 from c where i < 30)"
                       " insert into u select i, -i from c;",
                       {1024});
        file_ = OpenForTest(path_);
        ASSERT_TRUE(file_->scanned);
    }
    sqlite_base& engine() { return *file_->engine(); }
    const TableInfo& table(const char* name) { return engine().tables[TableIndex(engine(), name)]; }

    TempDir dir_;
    std::string path_;
    std::unique_ptr<OpenedForTest> file_;
};

// Asks for a stop from inside the row that makes count rows.
class StoppingSink : public CollectingSink {
public:
    StoppingSink(Host& host, size_t after) : host_(host), after_(after) {}
    void OnRow(const RowView& row) override {
        CollectingSink::OnRow(row);
        if (rows.size() == after_) host_.m_bStopRequested = true;
    }

private:
    Host& host_;
    size_t after_;
};

TEST_F(LoadControl, StopEndsAfterTheCurrentRowAndTheNextLoadIsComplete) {
    std::vector<OwnedRow> all = QueryRows(path_, "select * from t order by rowid");
    CollectingSink first = LoadTable(*file_, "t");
    size_t firstLeaf = 0;
    while (first.locators[firstLeaf].page == first.locators[0].page) ++firstLeaf;

    for (size_t after : {size_t{1}, firstLeaf, firstLeaf + 1, size_t{2777}}) {
        SCOPED_TRACE("stop after " + std::to_string(after));
        StoppingSink sink(file_->host, after);
        engine().progressPosition = 0;
        engine().LoadTableRows(engine().LoadFor(TableIndex(engine(), "t")), sink);
        ASSERT_EQ(sink.rows.size(), after);
        EXPECT_EQ(sink.rows, std::vector<OwnedRow>(all.begin(), all.begin() + static_cast<long>(after)));
        // The bar is filled: the load is over.
        EXPECT_EQ(file_->host.progressPosition, 5000u);

        // The table-load thread clears the flag when the load has returned.
        file_->host.m_bStopRequested = false;
        EXPECT_EQ(LoadTable(*file_, "u").rows.size(), 30u);
        EXPECT_EQ(LoadTable(*file_, "t").rows, all);
    }
}

TEST_F(LoadControl, AStopRequestedBeforeTheLoadDeliversNothing) {
    file_->host.m_bStopRequested = true;
    EXPECT_TRUE(LoadTable(*file_, "t").rows.empty());
}

TEST_F(LoadControl, ProgressRangeIsTheLeafCellCountAndEachRowMovesIt) {
    const uint64_t positions = file_->host.progressPositionCount;
    LoadTable(*file_, "t");
    EXPECT_EQ(file_->host.progressMaximum, 5000u);
    EXPECT_EQ(file_->host.progressPositionCount - positions, 5000u);
    EXPECT_EQ(file_->host.progressPosition, 5000u);
}

TEST_F(LoadControl, CheckedTablesAreCounted) {
    EXPECT_EQ(engine().CountCheckedTableRows(), 5030u);
    const ObjectTree& tree = file_->host.tree;
    for (TreeItem item : tree.Children(file_->host.GroupItem(ObjectKind::Table)))
        if (tree.Find(item)->text.find('u') != std::string::npos)
            file_->host.tree.SetChecked(item, false);
    EXPECT_EQ(engine().CountCheckedTableRows(), 5000u);
}

TEST_F(LoadControl, ARootOutsideTheFileIsReportedAndLoadsNothing) {
    for (uint32_t root : {uint32_t{0}, static_cast<uint32_t>(file_->host.file.pageCount + 1), 0xFFFFFFFFu}) {
        file_->host.messages.clear();
        TableLoad load = engine().LoadFor(TableIndex(engine(), "t"));
        load.rootPage = root;
        CollectingSink sink;
        engine().progressPosition = 0;
        engine().LoadTableRows(load, sink);
        EXPECT_TRUE(sink.rows.empty());
        ASSERT_EQ(file_->host.messages.size(), 1u);
        EXPECT_EQ(file_->host.messages[0].text, "File is corrupted");
    }
}

TEST_F(LoadControl, ALoadWithoutTheParsedTableUsesTheColumnCountAndKeyMark) {
    TableLoad load = engine().LoadFor(TableIndex(engine(), "t"));
    load.table = nullptr;
    CollectingSink sink;
    engine().progressPosition = 0;
    engine().LoadTableRows(load, sink);
    EXPECT_EQ(sink.rows, QueryRows(path_, "select * from t order by rowid"));
}

// A decoded row must own what it points at: overflow payloads and, with the disk
// reader, the page itself. Another decode in between must not disturb it.
TEST_F(LoadControl, DecodedRowsOutliveThePageBufferWithEveryReader) {
    CollectingSink loaded = LoadTable(*file_, "t");
    std::unique_ptr<Reader> disk = OpenReader(path_, ReaderKind::Disk);
    ASSERT_TRUE(disk);
    for (const Reader* reader : {file_->host.file.reader, static_cast<const Reader*>(disk.get())}) {
        file_->host.file.reader = reader;
        SCOPED_TRACE(reader->KindName());
        RowScratch kept, other;
        for (size_t r : {size_t{499}, size_t{999}, size_t{0}, size_t{4999}}) {
            RowView row, between;
            ASSERT_TRUE(engine().DecodeRow(table("t"), loaded.locators[r], kept, row));
            ASSERT_TRUE(engine().DecodeRow(table("t"), loaded.locators[(r + 500) % 5000], other, between));
            ASSERT_EQ(row.values.size(), 3u);
            for (size_t k = 0; k < 3; ++k) EXPECT_EQ(OwnedValue::From(row.values[k]), loaded.rows[r][k]);
        }
    }
}

TEST_F(LoadControl, DecodeRowOnAnotherThreadWhileALoadRuns) {
    CollectingSink loaded = LoadTable(*file_, "t");
    std::thread loader([&] {
        for (int i = 0; i < 3; ++i) {
            CollectingSink sink;
            engine().progressPosition = 0;
            engine().LoadTableRows(engine().LoadFor(TableIndex(engine(), "t")), sink);
        }
    });
    RowScratch scratch;
    size_t mismatches = 0;
    for (size_t r = 0; r < loaded.rows.size(); ++r) {
        RowView row;
        if (!engine().DecodeRow(table("t"), loaded.locators[r], scratch, row)) {
            ++mismatches;
            continue;
        }
        for (size_t k = 0; k < row.values.size(); ++k)
            mismatches += !(OwnedValue::From(row.values[k]) == loaded.rows[r][k]);
    }
    loader.join();
    EXPECT_EQ(mismatches, 0u);
}

TEST_F(LoadControl, LocatorsThatNameNoRowAreRefused) {
    RowScratch scratch;
    RowView row;
    const uint32_t root = table("t").rootPage;  // an interior page
    for (RowLocator where : {RowLocator{0, 0}, RowLocator{root, 0}, RowLocator{1u << 30, 0},
                             RowLocator{table("u").rootPage, 30}})
        EXPECT_FALSE(engine().DecodeRow(table("t"), where, scratch, row)) << where.page << "/" << where.cell;
}

}  // namespace
}  // namespace pw::test
