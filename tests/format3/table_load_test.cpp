// Rows of sound files, compared with what SQLite itself reads from the same file.

#include <gtest/gtest.h>

#include <set>

#include "core/sql_quote.h"
#include "format3/sqlite_ver3.h"
#include "tests/support/opened_file.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

// A text of n bytes in which every position differs from its neighbours, so that a
// chunk of an overflow chain read out of place or twice shows.
std::string Numbered(const char* prefix, int count) {
    return "(with recursive c(i, s) as (select 0, '' union all select i + 1, s || printf('" +
           std::string(prefix) + "%05d,', i) from c where i < " + std::to_string(count) +
           ") select s from c where i = " + std::to_string(count) + ")";
}

// The rows SQLite reads, in rowid order; a VIRTUAL generated column, which no record
// stores, is expected as NULL.
std::vector<OwnedRow> SqliteRows(const std::string& path, const TableInfo& table) {
    std::vector<OwnedRow> rows =
        QueryRows(path, "select * from " + QuoteIdentifier(table.name) + " order by rowid");
    for (OwnedRow& row : rows)
        for (size_t k = 0; k < row.size() && k < table.columns.size(); ++k)
            if (table.columns[k].hidden) row[k] = OwnedValue();
    return rows;
}

// Loads the table, compares every row with SQLite's, and decodes every row again from
// its locator alone.
void ExpectSameAsSqlite(OpenedForTest& file, const std::string& path, const std::string& name) {
    SCOPED_TRACE("table " + name);
    sqlite_base& engine = *file.engine();
    size_t index = TableIndex(engine, name);
    ASSERT_LT(index, engine.tables.size());
    const TableInfo& table = engine.tables[index];
    CollectingSink sink = LoadTable(file, name);
    std::vector<OwnedRow> expected = SqliteRows(path, table);
    ASSERT_EQ(sink.rows.size(), expected.size());
    for (size_t r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(sink.rows[r].size(), expected[r].size()) << "row " << r;
        for (size_t k = 0; k < expected[r].size(); ++k)
            EXPECT_EQ(sink.rows[r][k], expected[r][k])
                << "row " << r << " column " << k << ": " << Describe(sink.rows[r][k])
                << " instead of " << Describe(expected[r][k]);
        EXPECT_FALSE(sink.damaged[r]) << "row " << r;
        if (r) {
            EXPECT_LT(sink.rowids[r - 1], sink.rowids[r]) << "rows out of b-tree order";
        }
    }

    RowScratch scratch;
    for (size_t r = 0; r < sink.rows.size(); ++r) {
        RowView row;
        ASSERT_TRUE(engine.DecodeRow(table, sink.locators[r], scratch, row)) << "row " << r;
        EXPECT_EQ(row.rowid, sink.rowids[r]);
        ASSERT_EQ(row.values.size(), sink.rows[r].size());
        for (size_t k = 0; k < row.values.size(); ++k)
            EXPECT_EQ(OwnedValue::From(row.values[k]), sink.rows[r][k]) << "row " << r << " column " << k;
    }
}

struct Case {
    const char* what;
    DatabaseOptions options;
    std::string script;
    std::vector<std::string> tables;
};

std::string WideTable(int columns) {
    std::string create = "create table wide(", values = "insert into wide values(";
    for (int i = 0; i < columns; ++i) {
        create += (i ? ", c" : "c") + std::to_string(i);
        values += (i ? ", " : "") + (i % 3 == 0 ? std::to_string(i * 1000) : "'v" + std::to_string(i) + "'");
    }
    return create + ");" + values + ");" + values + ");" +
           "insert into wide(c0, c150) values(NULL, 'last');";
}

const std::string kMixedValues =
    "create table t(v);"
    "insert into t values(NULL),(0),(1),(-1),(127),(-128),(128),(-129),(32767),(-32768),"
    "(32768),(-32769),(8388607),(-8388608),(8388608),(-8388609),(2147483647),(-2147483648),"
    "(2147483648),(-2147483649),(140737488355327),(-140737488355328),(140737488355328),"
    "(-140737488355329),(9223372036854775807),(-9223372036854775808),(0.1),(1e300),(-0.0),"
    "(2.25),(1e-10),(9e999),(-9e999),(''),('O''Brien'),(x''),(x'00ff10'),"
    "('\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80');";

const std::string kLongValues =
    "create table t(id integer primary key, s text, b blob);"
    "insert into t values(1, " + Numbered("a", 150) + ", randomblob(900));"
    "insert into t values(2, " + Numbered("b", 2000) + ", randomblob(10000));"
    "insert into t values(3, '', x'');"
    "insert into t values(4, '\xF0\x9F\x98\x80' || " + Numbered("\xC3\xA9", 700) + ", zeroblob(5000));";

std::vector<Case> Cases() {
    return {
        {"every serial type, integer limits, reals", {}, kMixedValues, {"t"}},
        {"long texts and blobs over overflow chains", {1024}, kLongValues, {"t"}},
        {"UTF-16le", {1024, "UTF-16le"}, kLongValues, {"t"}},
        {"UTF-16be", {1024, "UTF-16be"}, kLongValues, {"t"}},
        {"UTF-16le values", {4096, "UTF-16le"}, kMixedValues, {"t"}},
        {"UTF-16be values", {4096, "UTF-16be"}, kMixedValues, {"t"}},
        {"page size 512", {512}, kLongValues, {"t"}},
        {"page size 65536", {65536}, kLongValues, {"t"}},
        {"bytes reserved at the end of each page", {1024, "UTF-8", false, 32}, kLongValues, {"t"}},
        {"151 columns, a record header over 128 bytes", {}, WideTable(151), {"wide"}},
        {"rows from before ADD COLUMN take the DEFAULT",
         {},
         "create table t(a integer primary key, b);"
         "insert into t(b) values('old1'), (NULL);"
         "alter table t add column c integer default 5;"
         "alter table t add column d text default 'x''y';"
         "alter table t add column e real default -1.5;"
         "alter table t add column f;"
         "alter table t add column g blob default x'0a0b';"
         "insert into t values(NULL, 'new', 7, 'z', 2, 'f', NULL);",
         {"t"}},
        {"the rowid alias and plain NULLs",
         {},
         "create table alias(id integer primary key, n integer, s text);"
         "insert into alias values(NULL, NULL, NULL), (5, NULL, 'a'), (NULL, 1, NULL), (-3, NULL, NULL);"
         "create table tablekey(a, id INTEGER, b, primary key(id));"
         "insert into tablekey values(NULL, 10, NULL), ('x', NULL, 2);"
         "create table descending(id integer primary key desc, n);"
         "insert into descending values(7, NULL), (NULL, 1);"
         "create table intkey(id int primary key, n);"
         "insert into intkey values(7, NULL), (NULL, 1);",
         {"alias", "tablekey", "descending", "intkey"}},
        {"whole numbers in REAL columns",
         {},
         "create table t(r real, f float, d double precision, n numeric, x);"
         "insert into t values(5.0, 2.0, -0.0, 4.0, 3.0), (0.5, 1e300, 7, '12', '12');",
         {"t"}},
        {"generated columns",
         {},
         "create table g(a integer, v integer as (a * 2), s text as (upper(t)) stored, t text);"
         "insert into g(a, t) values(1, 'one'), (2, 'two');",
         {"g"}},
        {"quotes in names and texts",
         {},
         "create table \"odd \"\"name\"\"\"(\"col one\", [x~y], `#z`);"
         "insert into \"odd \"\"name\"\"\" values('O''Brien', 'a\nb', '\"q\"');",
         {"odd \"name\""}},
    };
}

TEST(TableLoad, RowsEqualWhatSqliteReads) {
    TempDir dir;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        std::string path = dir.File("case.db");
        CreateDatabase(path, c.script, c.options);
        auto file = OpenForTest(path);
        ASSERT_TRUE(file->scanned);
        for (const std::string& table : c.tables) ExpectSameAsSqlite(*file, path, table);
        EXPECT_TRUE(file->host.messages.size() == 1) << "only the completion notice";
    }
}

TEST(TableLoad, ThreeLevelTreeOf200000Rows) {
    TempDir dir;
    std::string path = dir.File("big.db");
    CreateDatabase(path,
                   "create table t(id integer primary key, name text, qty integer);"
                   "with recursive c(i) as (select 1 union all select i + 1 from c where i < 200000)"
                   " insert into t select i, 'name ' || i, i % 97 from c;",
                   {1024});
    auto file = OpenForTest(path);
    auto& engine = static_cast<format3::sqlite_ver3&>(*file->engine());
    const TableInfo& table = engine.tables[TableIndex(engine, "t")];
    // Root and its first child are interior pages: at least three levels.
    const format3::PageHeader* root = engine.HeaderOf(table.rootPage);
    ASSERT_TRUE(root && root->type == format3::kInteriorTable);
    PageBuffer buffer;
    auto bytes = engine.Pages().Page(table.rootPage, buffer);
    std::vector<uint16_t> cells;
    std::vector<uint64_t> children;
    format3::ReadChildPages(bytes, table.rootPage, *root, engine.UsableSize(), cells, children);
    ASSERT_FALSE(children.empty());
    EXPECT_EQ(engine.HeaderOf(children[0])->type, format3::kInteriorTable);

    const uint64_t rangesBefore = file->host.progressRangeCount;
    ExpectSameAsSqlite(*file, path, "t");
    EXPECT_EQ(file->host.progressRangeCount, rangesBefore + 1);
    EXPECT_EQ(file->host.progressMaximum, 200000u);
    EXPECT_EQ(file->host.progressPosition, 200000u);
}

TEST(TableLoad, WithoutRowidTablesAreLeftForNowWithoutHarm) {
    TempDir dir;
    std::string path = dir.File("wr.db");
    CreateDatabase(path,
                   "create table k(a text primary key, b) without rowid;"
                   "insert into k values('x', 1), ('y', 2);");
    auto file = OpenForTest(path);
    CollectingSink sink = LoadTable(*file, "k");
    EXPECT_TRUE(sink.rows.empty());
    EXPECT_EQ(file->host.log.back(), "Table k is a WITHOUT ROWID table; its rows are not read yet");
    RowScratch scratch;
    RowView row;
    EXPECT_FALSE(file->engine()->DecodeRow(file->engine()->tables[0], {2, 0}, scratch, row));
}

}  // namespace
}  // namespace pw::test
