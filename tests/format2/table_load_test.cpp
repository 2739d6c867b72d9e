// Table loading: key order through trees of any depth, the full record number, records
// of 64 KiB and more, the log line and progress of a load, the stop flag, the row counts,
// and DecodeRow giving back the row at a locator.

#include <gtest/gtest.h>

#include <thread>

#include "tests/format2/format2_builder.h"
#include "tests/support/format2_fixtures.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

std::unique_ptr<OpenedForTest> OpenBytes(const TempDir& dir, const Bytes& bytes, const std::string& name = "t.db") {
    WriteBytes(dir.File(name), bytes);
    return OpenForTest(dir.File(name));
}

// Lays cells out as a b-tree of at most `fanout` cells per page, keeping their order
// as key order: child, cell, child, cell, ..., right child. Returns the root page.
uint32_t BuildTree(Format2Builder& builder, const std::vector<CellSpec>& cells, size_t fanout = 3) {
    const uint32_t page = builder.NewPage();
    if (cells.size() <= fanout) {
        builder.SetCells(page, cells);
        return page;
    }
    const size_t chunk = (cells.size() - fanout) / (fanout + 1);
    std::vector<CellSpec> separators;
    size_t at = 0;
    for (size_t i = 0; i < fanout; ++i) {
        std::vector<CellSpec> below(cells.begin() + at, cells.begin() + at + chunk);
        at += chunk;
        CellSpec separator = cells[at++];
        separator.leftChild = BuildTree(builder, below, fanout);
        separators.push_back(separator);
    }
    uint32_t right = BuildTree(builder, {cells.begin() + at, cells.end()}, fanout);
    builder.SetCells(page, separators, right);
    return page;
}

std::vector<CellSpec> NumberedRows(int count) {
    std::vector<CellSpec> cells;
    for (int i = 1; i <= count; ++i)
        cells.push_back({i, MakeRecord({std::nullopt, "row " + std::to_string(i)})});
    return cells;
}

class Format2Load : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(Format2Load, DeepTreesListEveryObjectAndRowInKeyOrderInEitherByteOrder) {
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        Format2Builder builder(bigEndian);
        const uint32_t tableRoot = BuildTree(builder, NumberedRows(200));
        std::vector<CellSpec> schema;
        std::vector<std::string> names;
        for (int i = 0; i < 40; ++i) {
            std::string name = "t" + std::to_string(i);
            names.push_back(name);
            uint32_t root = i == 0 ? tableRoot : builder.NewPage();
            schema.push_back({i + 1, SchemaRecord("table", name, name, root,
                                                  "create table " + name + "(id integer primary key, v)")});
        }
        // The schema tree below page 2: page 2 itself takes the root's cells.
        uint32_t schemaRoot = BuildTree(builder, schema);
        builder.Page(2) = builder.Page(schemaRoot);
        auto file = OpenBytes(dir, builder.Build());

        std::vector<std::string> listed;
        for (const std::string& text : file->ItemTexts(ObjectKind::Table)) listed.push_back(LabelName(text));
        EXPECT_EQ(listed, names);
        LoadedRows loaded = LoadRows(*file, 0);
        ASSERT_EQ(loaded.rows.size(), 200u);
        for (size_t i = 0; i < loaded.rows.size(); ++i) {
            EXPECT_EQ(loaded.rows[i], (TextRow{std::to_string(i + 1), "row " + std::to_string(i + 1)}));
            EXPECT_EQ(loaded.rowids[i], int64_t(i + 1));
        }
        auto& engine = Engine2(*file);
        engine.progressPosition = 0;
        EXPECT_EQ(engine.CountTableRows("", tableRoot), 200u);
    }
}

TEST_F(Format2Load, RecordNumbersPastSixteenBitsAndRecordsOf64KiBShowInFull) {
    Format2Builder builder;
    const uint32_t root = builder.NewPage();
    const std::string body(70000, 'b');
    builder.SetCells(root, {{-5, MakeRecord({std::nullopt, "short", std::nullopt})},
                            {70000, MakeRecord({std::nullopt, body, "end"})},
                            {2147483647, MakeRecord({std::nullopt, "", "last"})}});
    builder.SetCells(2, {{1, SchemaRecord("table", "big", "big", root,
                                          "create table big(id integer primary key, body text, tail)")},
                         {2, SchemaRecord("table", "far", "far", 70003, "create table far(a)")},
                         {3, SchemaRecord("index", "(big autoindex 1)", "big", 4, std::nullopt)}});
    auto file = OpenBytes(dir, builder.Build());
    sqlite_base& engine = *file->engine();
    ASSERT_EQ(engine.tables.size(), 2u);
    EXPECT_EQ(engine.tables[1].rootPage, 70003u);
    EXPECT_EQ(engine.tableSpecs[1], "far+a~#70003");
    EXPECT_TRUE(file->ItemTexts(ObjectKind::Index).empty());

    LoadedRows loaded = LoadRows(*file, 0);
    ASSERT_EQ(loaded.rows.size(), 3u);
    EXPECT_EQ(loaded.rows[0], (TextRow{"-5", "short", std::nullopt}));
    EXPECT_EQ(loaded.rows[1], (TextRow{"70000", body, "end"}));
    EXPECT_EQ(loaded.rows[2], (TextRow{"2147483647", "", "last"}));
    EXPECT_EQ(loaded.rowids, (std::vector<int64_t>{-5, 70000, 2147483647}));
    EXPECT_EQ(loaded.damaged, (std::vector<bool>{false, false, false}));
    // A root page past the end of the file has no rows.
    EXPECT_TRUE(LoadRows(*file, 1).rows.empty());
}

TEST_F(Format2Load, ARecordNumberEditedPastSixteenBitsInARealFileShowsInFull) {
    Bytes bytes = ReadBytes(Format2Fixture("basic"));
    // Row 5 of people is the cell at offset 0xa8 of page 3; its key follows the header.
    const size_t key = 2 * 1024 + 0xa8 + 12;
    ASSERT_EQ(bytes[key + 3], 5);
    const uint8_t edited[4] = {0x80, 0x01, 0x11, 0x70};  // 70000
    std::copy(edited, edited + 4, bytes.begin() + key);
    auto file = OpenBytes(dir, bytes);
    LoadedRows loaded = LoadRows(*file, 0);
    ASSERT_EQ(loaded.rows.size(), 5u);
    EXPECT_EQ(loaded.rows[4][0], "70000");
    EXPECT_EQ(loaded.rowids[4], 70000);
}

TEST_F(Format2Load, SqliteTwoTakesADescendingIntegerKeyAsTheRecordNumber) {
    Format2Builder builder;
    const uint32_t root = builder.NewPage();
    builder.SetCells(root, {{7, MakeRecord({std::nullopt, "x"})}});
    builder.SetCells(2, {{1, SchemaRecord("table", "d", "d", root,
                                          "create table d(id integer primary key desc, v)")}});
    auto file = OpenBytes(dir, builder.Build());
    EXPECT_EQ(LoadRows(*file, 0).rows, (std::vector<TextRow>{{"7", "x"}}));
}

TEST_F(Format2Load, ALoadLogsItsTotalAndReportsProgressPerRow) {
    auto file = OpenForTest(Format2Fixture("basic"));
    file->host.log.clear();
    LoadedRows loaded = LoadRows(*file, 0);
    EXPECT_EQ(loaded.rows.size(), 5u);
    EXPECT_EQ(file->host.log, std::vector<std::string>{"Table peoplehave5 entry"});
    EXPECT_EQ(file->host.progressMaximum, 5u);
    EXPECT_EQ(file->host.progressPosition, 5u);
    EXPECT_EQ(file->host.progressPositionCount, 5u);
}

class StoppingSink : public RowSink {
public:
    StoppingSink(Host& host, size_t after) : host_(host), after_(after) {}
    void OnRow(const RowView&) override {
        if (++rows == after_) host_.m_bStopRequested = true;
    }
    size_t rows = 0;

private:
    Host& host_;
    size_t after_;
};

TEST_F(Format2Load, AStopRequestEndsTheLoadAfterTheCurrentRow) {
    auto file = OpenForTest(Format2Fixture("many"));
    sqlite_base& engine = *file->engine();
    const size_t big = TableIndex(engine, "big");
    for (size_t after : {1, 3, 1288, 2999}) {
        SCOPED_TRACE(after);
        StoppingSink sink(file->host, after);
        engine.progressPosition = 0;
        engine.LoadTableRows(engine.LoadFor(big), sink);
        EXPECT_EQ(sink.rows, after);
        EXPECT_EQ(file->host.progressPosition, 3000u);  // the total, as a stopped load ends
        file->host.m_bStopRequested = false;
    }
    file->host.m_bStopRequested = true;
    StoppingSink none(file->host, 0);
    engine.progressPosition = 0;
    engine.LoadTableRows(engine.LoadFor(big), none);
    EXPECT_EQ(none.rows, 0u);
}

TEST_F(Format2Load, CountsCoverEveryCellAndOnlyTheCheckedTables) {
    auto file = OpenForTest(Format2Fixture("many"));
    auto& engine = Engine2(*file);
    const size_t big = TableIndex(engine, "big");
    engine.progressPosition = 0;
    EXPECT_EQ(engine.CountTreeCells(engine.tables[big].rootPage), 3000u);
    EXPECT_EQ(engine.CountTreeCells(engine.tables[big].rootPage), 6000u);  // it adds on
    EXPECT_EQ(engine.CountCheckedTableRows(), 3000u);
    for (TreeItem item : file->host.tree.Children(file->host.GroupItem(ObjectKind::Table)))
        if (file->host.tree.Find(item)->data == static_cast<int64_t>(big)) file->host.tree.SetChecked(item, false);
    EXPECT_EQ(engine.CountCheckedTableRows(), 0u);
}

TEST_F(Format2Load, DecodeRowGivesBackEachRowWhileALoadRuns) {
    auto file = OpenForTest(Format2Fixture("many"));
    auto& engine = Engine2(*file);
    const size_t big = TableIndex(engine, "big");
    LoadedRows first = LoadRows(*file, big);
    ASSERT_EQ(first.rows.size(), 3000u);

    std::thread load([&] { LoadRows(*file, big); });
    RowScratch scratch;
    RowView row;
    for (size_t i = 0; i < first.rows.size(); ++i) {
        ASSERT_TRUE(engine.DecodeRow(engine.tables[big], first.locators[i], scratch, row));
        EXPECT_EQ(AsTextRow(row), first.rows[i]);
        EXPECT_EQ(row.rowid, first.rowids[i]);
    }
    load.join();
    // Records over overflow chains too, and a locator that names no cell.
    auto docs = OpenForTest(Format2Fixture("overflow"));
    LoadedRows loaded = LoadRows(*docs, 0);
    for (size_t i = 0; i < loaded.rows.size(); ++i) {
        ASSERT_TRUE(docs->engine()->DecodeRow(docs->engine()->tables[0], loaded.locators[i], scratch, row));
        EXPECT_EQ(AsTextRow(row), loaded.rows[i]);
    }
    EXPECT_FALSE(docs->engine()->DecodeRow(docs->engine()->tables[0], {3, 1020}, scratch, row));
    EXPECT_FALSE(docs->engine()->DecodeRow(docs->engine()->tables[0], {999, 8}, scratch, row));
}

}  // namespace
}  // namespace pw::test
