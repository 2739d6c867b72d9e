#include <gtest/gtest.h>

#include "core/ddl_parser.h"

namespace pw {
namespace {

struct ColumnExpect {
    std::string name, type;
    bool alias;
};

struct TableCase {
    std::string sql;
    std::string name;
    std::string nameWithBlanks;
    std::vector<ColumnExpect> columns;
    bool withoutRowid = false;
};

TEST(DdlParser, TablesNamesColumnsTypesAndTheRowidAlias) {
    const TableCase cases[] = {
        {"CREATE TABLE t1 (id INTEGER PRIMARY KEY, name TEXT)", "t1", "t1 ",
         {{"id", "INTEGER", true}, {"name", "TEXT", false}}},
        {"CREATE TABLE t(a, b)", "t", "t", {{"a", "", false}, {"b", "", false}}},
        {"CREATE TABLE IF NOT EXISTS \"my table\" (\"a b\" text, [c d] int, `e` real)", "my table",
         "my table ", {{"a b", "text", false}, {"c d", "int", false}, {"e", "real", false}}},
        {"CREATE TABLE t (id integer primary key autoincrement, x)", "t", "t ",
         {{"id", "integer", true}, {"x", "", false}}},
        {"CREATE TABLE t (id INT PRIMARY KEY)", "t", "t ", {{"id", "INT", false}}},
        {"CREATE TABLE t (id INTEGER PRIMARY KEY DESC, v)", "t", "t ",
         {{"id", "INTEGER", false}, {"v", "", false}}},
        {"CREATE TABLE t (id INTEGER, v, PRIMARY KEY(id DESC))", "t", "t ",
         {{"id", "INTEGER", true}, {"v", "", false}}},
        {"CREATE TABLE t (a INTEGER, b INTEGER, PRIMARY KEY(a, b))", "t", "t ",
         {{"a", "INTEGER", false}, {"b", "INTEGER", false}}},
        {"CREATE TABLE t (x DOUBLE PRECISION, y VARCHAR(20) NOT NULL, z DECIMAL(10, 2))", "t", "t ",
         {{"x", "DOUBLE PRECISION", false}, {"y", "VARCHAR(20)", false}, {"z", "DECIMAL(10, 2)", false}}},
        {"CREATE TABLE t (a CHECK (a > 0, b < 1), c)", "t", "t ",
         {{"a", "", false}, {"c", "", false}}},
        {"CREATE TABLE t (a, CONSTRAINT pk PRIMARY KEY (a), FOREIGN KEY (a) REFERENCES u(x))", "t", "t ",
         {{"a", "", false}}},
        {"CREATE TABLE w (k TEXT PRIMARY KEY, v INTEGER) WITHOUT ROWID", "w", "w ",
         {{"k", "TEXT", false}, {"v", "INTEGER", false}}, true},
        {"CREATE TABLE w (id INTEGER PRIMARY KEY, v) WITHOUT ROWID", "w", "w ",
         {{"id", "INTEGER", false}, {"v", "", false}}, true},
        {"CREATE TABLE \"odd\"\"name\" (\"(x)\" -- a comment, with a comma\n, y /* ) */)", "odd\"name",
         "odd\"name ", {{"(x)", "", false}, {"y", "", false}}},
        {"CREATE TABLE main.t3(a)", "t3", "t3", {{"a", "", false}}},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.sql);
        std::optional<ParsedTable> parsed = ParseCreateTable(c.sql);
        ASSERT_TRUE(parsed);
        EXPECT_TRUE(parsed->complete);
        EXPECT_EQ(parsed->table.name, c.name);
        EXPECT_EQ(parsed->nameWithBlanks, c.nameWithBlanks);
        EXPECT_EQ(parsed->table.withoutRowid, c.withoutRowid);
        ASSERT_EQ(parsed->table.columns.size(), c.columns.size());
        for (size_t i = 0; i < c.columns.size(); ++i) {
            EXPECT_EQ(parsed->table.columns[i].name, c.columns[i].name);
            EXPECT_EQ(parsed->table.columns[i].declaredType, c.columns[i].type);
            EXPECT_EQ(parsed->table.columns[i].rowidAlias, c.columns[i].alias) << c.columns[i].name;
        }
    }
}

TEST(DdlParser, WithoutRowidStoresKeyColumnsFirstAndGeneratedColumnsAreNotStored) {
    auto w = ParseCreateTable("CREATE TABLE w (a, b, c, PRIMARY KEY (c, a)) WITHOUT ROWID");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->table.storageOrder, (std::vector<int>{2, 0, 1}));

    auto g = ParseCreateTable(
        "CREATE TABLE g (a INTEGER, b AS (a * 2), c INT GENERATED ALWAYS AS (a + 1) STORED, d)");
    ASSERT_TRUE(g);
    ASSERT_EQ(g->table.columns.size(), 4u);
    EXPECT_TRUE(g->table.columns[1].hidden);
    EXPECT_FALSE(g->table.columns[2].hidden);
    EXPECT_EQ(g->table.storageOrder, (std::vector<int>{0, 2, 3}));
}

TEST(DdlParser, DefaultsTakeTheColumnsAffinity) {
    auto t = ParseCreateTable(
        "CREATE TABLE t (a DEFAULT 5, b TEXT DEFAULT 5, c INTEGER DEFAULT '7', d REAL DEFAULT 2, "
        "e DEFAULT -1.5, f DEFAULT 'it''s', g DEFAULT NULL, h DEFAULT x'0aff', i DEFAULT (1+2), "
        "j DEFAULT (-3), k, l DEFAULT TRUE, m INT DEFAULT 0x10, n DEFAULT CURRENT_TIMESTAMP)");
    ASSERT_TRUE(t);
    const auto& columns = t->table.columns;
    auto kind = [&](size_t i) { return columns[i].defaultValue->kind; };
    EXPECT_EQ(kind(0), ValueKind::Integer);
    EXPECT_EQ(columns[0].defaultValue->integer, 5);
    EXPECT_EQ(kind(1), ValueKind::Text);
    EXPECT_EQ(columns[1].defaultValue->bytes, "5");
    EXPECT_EQ(kind(2), ValueKind::Integer);
    EXPECT_EQ(columns[2].defaultValue->integer, 7);
    EXPECT_EQ(kind(3), ValueKind::Real);
    EXPECT_EQ(columns[3].defaultValue->real, 2.0);
    EXPECT_EQ(columns[4].defaultValue->real, -1.5);
    EXPECT_EQ(columns[5].defaultValue->bytes, "it's");
    EXPECT_EQ(kind(6), ValueKind::Null);
    EXPECT_EQ(kind(7), ValueKind::Blob);
    EXPECT_EQ(columns[7].defaultValue->bytes, std::string("\x0a\xff", 2));
    EXPECT_FALSE(columns[8].defaultValue);
    EXPECT_EQ(columns[9].defaultValue->integer, -3);
    EXPECT_FALSE(columns[10].defaultValue);
    EXPECT_EQ(columns[11].defaultValue->integer, 1);
    EXPECT_EQ(columns[12].defaultValue->integer, 16);
    EXPECT_FALSE(columns[13].defaultValue);
}

TEST(DdlParser, CutOffStatementsKeepWhatTheyHold) {
    auto cut = ParseCreateTable("CREATE TABLE t (a INTEGER, b TEXT, c");
    ASSERT_TRUE(cut);
    EXPECT_FALSE(cut->complete);
    EXPECT_EQ(cut->table.columns.size(), 3u);
    EXPECT_FALSE(ParseCreateTable("CREATE TABLE"));
    EXPECT_FALSE(ParseCreateTable("garbage"));
    auto unterminated = ParseCreateTable("CREATE TABLE \"never closed (a)");
    ASSERT_TRUE(unterminated);
    EXPECT_TRUE(unterminated->table.columns.empty());
}

TEST(DdlParser, TreeLabelsAndNames) {
    struct Case {
        ObjectKind kind;
        std::string sql, label, name;
    } cases[] = {
        {ObjectKind::Table, "CREATE TABLE t1 (a)", " t1 ", "t1"},
        {ObjectKind::Table, "CREATE TABLE t1(a)", " t1", "t1"},
        {ObjectKind::Table, "CREATE TABLE IF NOT EXISTS \"a b\" (x)", " a b ", "a b"},
        {ObjectKind::Table, "CREATE TABLE [x(y)] (z)", " x(y) ", "x(y)"},
        {ObjectKind::Index, "CREATE INDEX i1 ON t1(a, b)", " i1 ON t1", "i1"},
        {ObjectKind::Index, "CREATE UNIQUE INDEX \"u i\" on \"t 1\" (a)", " u i on t 1 ", "u i"},
        {ObjectKind::View, "CREATE VIEW v1 AS SELECT 1", " v1", "v1"},
        {ObjectKind::View, "CREATE VIEW assets AS SELECT 1", " assets", "assets"},
        {ObjectKind::View, "%REATE VIEW v2 as select 2", " v2", "v2"},
        {ObjectKind::Trigger, "CREATE TRIGGER  trg1 AFTER INSERT ON t BEGIN SELECT 1; END", "trg1", "trg1"},
        {ObjectKind::Trigger, "&REATE TRIGGER IF NOT EXISTS \"t g\" BEFORE DELETE ON t BEGIN END",
         "t g", "t g"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ObjectLabel(c.kind, c.sql), c.label) << c.sql;
        EXPECT_EQ(ObjectName(c.kind, c.sql), c.name) << c.sql;
    }
    EXPECT_EQ(ObjectTableName(ObjectKind::Index, "CREATE INDEX i ON main.\"t x\"(a)"), "t x");
}

}  // namespace
}  // namespace pw
