#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/recording_host.h"
#include "tests/support/files.h"
#include "tests/support/format2_fixtures.h"
#include "tests/support/opened_file.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"
#include "writer/repaired_path.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

const char* kSource = R"sql(
    CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT NOT NULL, age INT, score REAL, photo BLOB);
    INSERT INTO people VALUES (1, 'alice', 31, 1.5, x'00ff10'), (2, 'O''Brien', NULL, 0.1, NULL),
                              (5, '', -7, -0.0, x''), (9, 'Ünïcødé ☃', 9223372036854775807, 1e300, NULL);
    CREATE TABLE "odd ""name"" select" ([from] TEXT, "a b" INTEGER, `group`);
    INSERT INTO "odd ""name"" select" VALUES ('x', 1, 2.5), (NULL, NULL, NULL);
    CREATE TABLE plain (a, b);
    INSERT INTO plain(rowid, a, b) VALUES (10, 'ten', 10), (3, 'three', 3.25), (-4, x'01', NULL);
    CREATE TABLE keyed (k TEXT PRIMARY KEY, v) WITHOUT ROWID;
    CREATE INDEX people_name ON people(name, age);
    CREATE UNIQUE INDEX "odd index" ON "odd ""name"" select"([from]);
    CREATE VIEW adults AS SELECT name FROM people WHERE age >= 18;
    CREATE TRIGGER people_log AFTER DELETE ON people BEGIN SELECT 1; END;
)sql";

std::vector<std::string> SchemaNames(const std::string& path) {
    return QueryColumn(path, "SELECT type || ' ' || name FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' ORDER BY 1");
}

// Every table of source equals the same table of copy, values, types and rowids.
void ExpectSameTables(const std::string& source, const std::string& copy) {
    for (const std::string& name : QueryColumn(source, "SELECT name FROM sqlite_master WHERE type='table'")) {
        SCOPED_TRACE(name);
        std::string quoted = "\"";
        for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        quoted += "\"";
        bool withoutRowid = !QueryRows(source, "SELECT 1 FROM pragma_table_list WHERE name='" + name +
                                                   "' AND wr=1").empty();
        std::string select = withoutRowid ? "SELECT * FROM " + quoted + " ORDER BY 1"
                                          : "SELECT rowid, * FROM " + quoted + " ORDER BY rowid";
        std::vector<OwnedRow> expected = QueryRows(source, select), actual = QueryRows(copy, select);
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(actual[r].size(), expected[r].size());
            for (size_t c = 0; c < expected[r].size(); ++c)
                EXPECT_TRUE(actual[r][c] == expected[r][c])
                    << "row " << r << " column " << c << ": " << Describe(actual[r][c]) << " vs "
                    << Describe(expected[r][c]);
        }
    }
}

std::string IntegrityCheck(const std::string& path) {
    return QueryColumn(path, "PRAGMA integrity_check")[0];
}

TEST(RepairedDatabase, RoundTripOfSoundFilesInEveryEncoding) {
    TempDir dir;
    for (std::string encoding : {"UTF-8", "UTF-16le", "UTF-16be"}) {
        SCOPED_TRACE(encoding);
        std::string source = dir.File("source.db");
        CreateDatabase(source, kSource, {1024, encoding});
        auto file = OpenForTest(source);
        ASSERT_TRUE(file->engine()->BuildRepairedDatabase(""));
        const RepairReport& report = file->engine()->repairReport;
        std::string output = BuildRepairedPath(source);
        EXPECT_EQ(report.outputPath, output);
        EXPECT_TRUE(report.completed);
        EXPECT_EQ(IntegrityCheck(output), "ok");
        EXPECT_EQ(QueryColumn(output, "PRAGMA encoding")[0], encoding);
        EXPECT_EQ(SchemaNames(output), SchemaNames(source));
        // keyed is a WITHOUT ROWID table, whose rows come with a later reader.
        std::vector<std::string> tables;
        for (const auto& table : report.tables) tables.push_back(table.name + ":" + std::to_string(table.rowsWritten));
        // Tables go in tree order, which a UTF-16 file lists backwards.
        std::sort(tables.begin(), tables.end());
        EXPECT_EQ(tables, (std::vector<std::string>{"keyed:0", "odd \"name\" select:2", "people:4", "plain:3"}));
        ExpectSameTables(source, output);
        EXPECT_FALSE(fs::exists(output + ".partial"));
        fs::remove(output);
    }
}

TEST(RepairedDatabase, Format2FilesBecomeFormat3DatabasesWithTheSameRows) {
    TempDir dir;
    for (const char* fixture : {"basic", "overflow", "many"}) {
        SCOPED_TRACE(fixture);
        std::string source = dir.File(std::string(fixture) + ".db");
        fs::copy_file(Format2Fixture(fixture), source);
        ExpectedFile expected = ReadExpected(fixture);
        auto file = OpenForTest(source);
        ASSERT_TRUE(file->engine()->BuildRepairedDatabase(""));
        std::string output = BuildRepairedPath(source);
        EXPECT_EQ(IntegrityCheck(output), "ok");
        for (const ExpectedTable& table : expected.tables) {
            std::vector<OwnedRow> rows = QueryRows(output, "SELECT CAST(rowid AS TEXT), * FROM \"" + table.name + "\" ORDER BY rowid");
            ASSERT_EQ(rows.size(), table.rows.size()) << table.name;
            for (size_t r = 0; r < rows.size(); ++r) {
                for (size_t c = 0; c < table.rows[r].size(); ++c) {
                    const OwnedValue& value = rows[r][c + 1];
                    if (!table.rows[r][c]) {
                        EXPECT_EQ(value.kind, ValueKind::Null);
                        continue;
                    }
                    std::string text = value.kind == ValueKind::Integer ? std::to_string(value.integer)
                                       : value.kind == ValueKind::Real ? QueryColumn(output, "SELECT CAST(" + std::to_string(value.real) + " AS TEXT)")[0]
                                                                        : value.bytes;
                    if (value.kind == ValueKind::Real) {
                        EXPECT_DOUBLE_EQ(value.real, std::stod(*table.rows[r][c]));
                    } else {
                        EXPECT_EQ(text, *table.rows[r][c]) << table.name << " row " << r << " column " << c;
                    }
                }
            }
        }
        for (const std::string& index : expected.indexes)
            EXPECT_EQ(QueryColumn(output, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name='" + index + "'")[0], "1");
        for (const std::string& view : expected.views)
            EXPECT_EQ(QueryColumn(output, "SELECT count(*) FROM sqlite_master WHERE type='view' AND name='" + view + "'")[0], "1");
    }
}

TEST(RepairedDatabase, AnExistingOutputIsReplacedOnlyWhenTheUserSaysYes) {
    TempDir dir;
    std::string source = dir.File("app.db");
    CreateDatabase(source, kSource);
    std::string output = BuildRepairedPath(source);
    WriteBytes(output, Bytes{'o', 'l', 'd'});

    auto file = OpenForTest(source);
    file->host.questionAnswer = MessageAnswer::No;
    size_t logBefore = file->host.log.size();
    EXPECT_FALSE(file->engine()->BuildRepairedDatabase(""));
    EXPECT_TRUE(file->engine()->repairReport.declined);
    EXPECT_EQ(ReadBytes(output), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(file->host.messages.back().text,
              "The Database File " + output + " Already exist.\n Exisitng file will be Deleted. Do you want to Continue ?");
    // The format 3 build counts before it asks; nothing is logged after the answer.
    EXPECT_EQ(std::vector<std::string>(file->host.log.begin() + static_cast<long>(logBefore), file->host.log.end()),
              (std::vector<std::string>{"Creating Database", "Database have total 9 Entries"}));

    file->host.questionAnswer = MessageAnswer::Yes;
    EXPECT_TRUE(file->engine()->BuildRepairedDatabase(""));
    EXPECT_EQ(IntegrityCheck(output), "ok");
    ExpectSameTables(source, output);
}

TEST(RepairedDatabase, AnUnwritableFolderGivesAMessageAndNoSuccess) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    fs::create_directory(dir.File("locked"));
    std::string source = dir.File("locked/app.db");
    CreateDatabase(source, kSource);
    ::chmod(dir.File("locked").c_str(), 0500);
    auto file = OpenForTest(source);
    EXPECT_FALSE(file->engine()->BuildRepairedDatabase(""));
    ::chmod(dir.File("locked").c_str(), 0700);
    const RepairReport& report = file->engine()->repairReport;
    EXPECT_FALSE(report.completed);
    EXPECT_FALSE(report.error.empty());
    EXPECT_EQ(file->host.messages.back().text.rfind("The repaired database could not be written to ", 0), 0u);
    EXPECT_FALSE(fs::exists(BuildRepairedPath(source)));
}

TEST(RepairedDatabase, WritesToAFileThatCannotBeCreatedFailCleanly) {
    TempDir dir;
    std::string source = dir.File("app.db");
    CreateDatabase(source, kSource);
    auto file = OpenForTest(source);
    // The output's folder does not exist: the same for every user, root included.
    EXPECT_FALSE(file->engine()->BuildRepairedDatabase(dir.File("no/such/folder/out.db")));
    EXPECT_FALSE(file->engine()->repairReport.error.empty());
    EXPECT_FALSE(file->engine()->BuildRepairedDatabase(source));  // never over the source
    EXPECT_EQ(IntegrityCheck(source), "ok");
}

TEST(RepairedDatabase, OnlyCheckedObjectsAndNothingWhenNothingIsChecked) {
    TempDir dir;
    std::string source = dir.File("app.db");
    CreateDatabase(source, kSource);
    auto file = OpenForTest(source);
    ObjectTree& tree = file->host.tree;
    for (ObjectKind kind : {ObjectKind::Table, ObjectKind::Index, ObjectKind::View, ObjectKind::Trigger})
        tree.SetChecked(file->host.GroupItem(kind), false);
    EXPECT_TRUE(file->engine()->BuildRepairedDatabase(""));
    EXPECT_FALSE(fs::exists(BuildRepairedPath(source)));
    const std::vector<std::string> tail(file->host.log.end() - 4, file->host.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Database Table created successfully",
                                              "Database Index schema created successfully",
                                              "Database views created successfully",
                                              "Database Triggers created successfully"}));

    tree.SetChecked(tree.Children(file->host.GroupItem(ObjectKind::Table))[2], true);  // plain
    tree.SetChecked(tree.Children(file->host.GroupItem(ObjectKind::View))[0], true);
    EXPECT_TRUE(file->engine()->BuildRepairedDatabase(""));
    EXPECT_EQ(SchemaNames(BuildRepairedPath(source)), (std::vector<std::string>{"table plain", "view adults"}));
}

TEST(RepairedDatabase, RowsThatFailAreCountedAndReportedNotHidden) {
    TempDir dir;
    std::string source = dir.File("app.db");
    CreateDatabase(source, "CREATE TABLE t(a); INSERT INTO t VALUES (1), (1), (2);");
    // The stored schema now asks for a uniqueness the rows do not have.
    ExecuteSql(source, "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql='CREATE TABLE t(a UNIQUE)' WHERE name='t';");
    auto file = OpenForTest(source);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(file->engine()->BuildRepairedDatabase(""));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Error message: UNIQUE constraint failed: t.a\n");
    const RepairReport& report = file->engine()->repairReport;
    ASSERT_EQ(report.tables.size(), 1u);
    EXPECT_EQ(report.tables[0].rowsWritten, 2u);
    EXPECT_EQ(report.tables[0].rowsFailed, 1u);
    const auto& log = file->host.log;
    EXPECT_NE(std::find(log.begin(), log.end(), "Total 2 Rows inserted in table successfully"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "Table t contain 3 rows"), log.end());
}

TEST(RepairedDatabase, DamagedViewKeywordAndDamagedTableStatementsAreRepaired) {
    TempDir dir;
    std::string source = dir.File("app.db");
    CreateDatabase(source, "CREATE TABLE t(a INTEGER, b TEXT); INSERT INTO t VALUES (1, 'x'); CREATE VIEW v AS SELECT a FROM t;");
    Bytes bytes = ReadBytes(source);
    std::string image(bytes.begin(), bytes.end());
    // "CREATE VIEW" loses its first letter, and the table's statement its closing parenthesis.
    image[image.find("CREATE VIEW")] = '%';
    size_t table = image.find("CREATE TABLE t(a INTEGER, b TEXT)");
    image[table + std::string("CREATE TABLE t(a INTEGER, b TEXT)").size() - 1] = ' ';
    WriteBytes(source, Bytes(image.begin(), image.end()));

    auto file = OpenForTest(source);
    ASSERT_TRUE(file->engine()->BuildRepairedDatabase(""));
    std::string output = BuildRepairedPath(source);
    EXPECT_EQ(SchemaNames(output), (std::vector<std::string>{"table t", "view v"}));
    EXPECT_EQ(QueryColumn(output, "SELECT b FROM t"), std::vector<std::string>{"x"});
    EXPECT_EQ(file->engine()->viewSql[0].rfind("CREATE VIEW", 0), 0u);
}

}  // namespace
}  // namespace pw::test
