// The real files SQLite 2.8 wrote, against what SQLite 2.8 read from them.

#include <gtest/gtest.h>

#include "core/ddl_parser.h"
#include "core/probe.h"
#include "tests/support/format2_fixtures.h"

namespace pw::test {
namespace {

class Fixture : public ::testing::TestWithParam<const char*> {};

// The names of a group's items, and that each item's number leads to its statement.
std::vector<std::string> GroupNames(const OpenedForTest& file, ObjectKind kind) {
    std::vector<std::string> names;
    for (TreeItem id : file.host.tree.Children(file.host.GroupItem(kind))) {
        const ObjectTree::Item* item = file.host.tree.Find(id);
        names.push_back(LabelName(item->text));
        const std::vector<std::string>& list = file.engine()->SqlList(kind);
        const auto position = static_cast<size_t>(item->data);
        EXPECT_LT(position, list.size());
        if (position < list.size()) {
            EXPECT_EQ(ObjectName(kind, list[position]), names.back());
        }
    }
    return names;
}

TEST_P(Fixture, ProbeFindsTheDatabaseWhereSqlite2Put_It) {
    ExpectedFile expected = ReadExpected(GetParam());
    OpenSettings settings = ProbeFile(Format2Fixture(GetParam()), [](const MessageBox& box) {
        ADD_FAILURE() << box.caption << ": " << box.text;
    });
    EXPECT_EQ(settings.format, FileFormat::Format2);
    EXPECT_EQ(static_cast<int>(settings.format), 1);
    EXPECT_EQ(settings.startOffset, expected.startOffset);
    EXPECT_EQ(settings.pageSize, 1024);
    EXPECT_TRUE(settings.utf8Text);
    EXPECT_FALSE(settings.utf16Text);
}

TEST_P(Fixture, TreeListsEveryObjectInSchemaOrder) {
    ExpectedFile expected = ReadExpected(GetParam());
    auto file = OpenForTest(Format2Fixture(GetParam()));
    ASSERT_TRUE(file->scanned);
    EXPECT_EQ(file->host.file.startOffset, expected.startOffset);
    EXPECT_EQ(file->MessageTexts(),
              std::vector<std::string>{
                  "Pagewright v18.0: Scanning process for selected file has been completed successfully."});
    std::vector<std::string> tables;
    for (const ExpectedTable& table : expected.tables) tables.push_back(table.name);
    EXPECT_EQ(GroupNames(*file, ObjectKind::Table), tables);
    EXPECT_EQ(GroupNames(*file, ObjectKind::Index), expected.indexes);
    EXPECT_EQ(GroupNames(*file, ObjectKind::View), expected.views);
    EXPECT_EQ(GroupNames(*file, ObjectKind::Trigger), expected.triggers);
}

TEST_P(Fixture, EveryTableListsSqlite2sRowsInOrder) {
    ExpectedFile expected = ReadExpected(GetParam());
    auto file = OpenForTest(Format2Fixture(GetParam()));
    ASSERT_TRUE(file->scanned);
    for (const ExpectedTable& table : expected.tables) {
        SCOPED_TRACE(table.name);
        size_t index = TableIndex(*file->engine(), table.name);
        ASSERT_LT(index, file->engine()->tables.size());
        std::vector<std::string> columns;
        for (const ColumnInfo& column : file->engine()->tables[index].columns) columns.push_back(column.name);
        EXPECT_EQ(columns, table.columns);
        LoadedRows loaded = LoadRows(*file, index);
        ASSERT_EQ(loaded.rows.size(), table.rows.size());
        for (size_t r = 0; r < table.rows.size(); ++r) {
            ASSERT_EQ(loaded.rows[r], table.rows[r]) << "row " << r;
            EXPECT_FALSE(loaded.damaged[r]) << "row " << r;
        }
        // Every table of the fixtures keys its rows 1, 2, 3, ... in insertion order.
        for (size_t r = 0; r < loaded.rowids.size(); ++r) EXPECT_EQ(loaded.rowids[r], int64_t(r + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Sqlite28, Fixture, ::testing::Values("basic", "embedded", "many", "overflow"));

TEST(Format2Fixtures, TheCliProbeAndTreeOpenTheEmbeddedFileAtItsStart) {
    std::string command = std::string(PW_CLI_PATH) + " probe --json " + Format2Fixture("embedded");
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    JsonValue probe = ParseJson(out);
    EXPECT_EQ(probe["start_offset"].number, 5000);
    EXPECT_EQ(probe["format"].number, 1);
    EXPECT_EQ(probe["page_size"].number, 1024);
    EXPECT_TRUE(probe["utf8"].boolean);

    command = std::string(PW_CLI_PATH) + " tree --json " + Format2Fixture("embedded");
    pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    out.clear();
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    JsonValue tree = ParseJson(out);
    const JsonValue& tables = tree["groups"].array.at(0)["items"];
    ASSERT_EQ(tables.array.size(), 1u);
    EXPECT_EQ(LabelName(tables.array[0]["text"].string), "people");
}

}  // namespace
}  // namespace pw::test
