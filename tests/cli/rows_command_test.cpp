// The console commands rows, text and sql as a script sees them: what goes to standard
// output, and the exit status.

#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

const char* kCreatePeople =
    "create table people(id integer primary key, name text, score real, photo blob, note)";

class RowsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File("people.db");
        CreateDatabase(path_, std::string(kCreatePeople) +
                                  ";insert into people values(1, 'O''Brien', 2.25, x'0102', NULL),"
                                  " (2, 'tab\tand \"quote\"' || char(10), 0.1, NULL, 5),"
                                  " (3, '\xC3\xA9', 1e300, x'', -7);"
                                  "create index people_name on people(name);"
                                  "create view adults as select * from people where score > 1;"
                                  "create trigger stamp after insert on people begin select 1; end;"
                                  "create table \"odd name\"(x); insert into \"odd name\" values(1);");
    }
    TempDir dir_;
    std::string path_;
};

TEST_F(RowsCommand, JsonHeadingsThenOneArrayOfGridTextsPerRow) {
    CliResult result = RunCli({"rows", path_, "people", "--json"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.OutLines(), (std::vector<std::string>{
                                     R"({"columns": ["id< P.K >", "name", "score", "photo", "note"]})",
                                     R"(["1","O'Brien","2.250000","< Blob Data >","NULL"])",
                                     R"(["2","tab\tand \"quote\"\n","0.100000","NULL","5"])",
                                     "[\"3\",\"\xC3\xA9\",\"1e+300\",\"< Blob Data >\",\"-7\"]",
                                 }));
    // Boxes and log lines go to standard error only.
    EXPECT_NE(result.err.find("Scanning process for selected file has been completed successfully."),
              std::string::npos);
}

TEST_F(RowsCommand, TypedJsonKeepsKindsAndExactReals) {
    CliResult result = RunCli({"rows", path_, "people", "--json", "--typed"});
    EXPECT_EQ(result.status, 0);
    std::vector<std::string> lines = result.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], R"([1,"O'Brien",2.25,{"blob": "0102"},null])");
    EXPECT_EQ(lines[2], R"([2,"tab\tand \"quote\"\n",0.1,null,5])");
    EXPECT_EQ(lines[3], "[3,\"\xC3\xA9\",1e+300,{\"blob\": \"\"},-7]");
}

TEST_F(RowsCommand, TheTableByTreeTextPositionOrName) {
    const std::string expected = RunCli({"rows", path_, "people", "--json"}).out;
    for (const char* name : {"#0", "  people ", "PEOPLE"})
        EXPECT_EQ(RunCli({"rows", path_, name, "--json"}).out, expected) << name;
    CliResult odd = RunCli({"rows", path_, "odd name", "--json"});
    EXPECT_EQ(odd.status, 0);
    EXPECT_EQ(odd.out, "{\"columns\": [\"x\"]}\n[\"1\"]\n");
}

TEST_F(RowsCommand, TabSeparatedWithAHeaderLine) {
    CliResult result = RunCli({"rows", path_, "people"});
    EXPECT_EQ(result.status, 0);
    std::vector<std::string> lines = result.OutLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "id< P.K >\tname\tscore\tphoto\tnote");
    EXPECT_EQ(lines[2], "2\ttab\\tand \"quote\"\\n\t0.100000\tNULL\t5");
}

TEST_F(RowsCommand, TextPrintsTheCreateStatementAsStored) {
    EXPECT_EQ(RunCli({"text", path_, "people_name"}).out, "CREATE INDEX people_name on people(name)\n");
    EXPECT_EQ(RunCli({"text", path_, "adults"}).out,
              "CREATE VIEW adults as select * from people where score > 1\n");
    EXPECT_EQ(RunCli({"text", path_, "stamp"}).out,
              "CREATE TRIGGER stamp after insert on people begin select 1; end\n");
}

TEST_F(RowsCommand, SqlStatementsRebuildTheSameRows) {
    CliResult result = RunCli({"sql", path_, "people"});
    EXPECT_EQ(result.status, 0);
    std::vector<std::string> lines = result.OutLines();
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0], "insert into people values(1,'O''Brien',2.250000,X'0102',NULL);");
    std::string copy = dir_.File("copy.db");
    CreateDatabase(copy, std::string(kCreatePeople) + ";" + result.out);
    EXPECT_EQ(QueryRows(copy, "select * from people"), QueryRows(path_, "select * from people"));
}

TEST_F(RowsCommand, ExitStatusOfMissingObjectsFilesAndBadUsage) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"rows", path_, "nobody", "--json"}, 1},
        {{"rows", path_, "people_name"}, 1},  // an index has no rows
        {{"rows", path_, "#9"}, 1},
        {{"sql", path_, "nobody"}, 1},
        {{"text", path_, "nothing"}, 1},
        {{"rows", dir_.File("missing.db"), "people"}, 1},
        {{"rows", path_}, 2},
        {{"rows", path_, "people", "--typed"}, 2},
        {{"rows", path_, "people", "--csv"}, 2},
        {{"text", path_}, 2},
        {{"sql", path_, "people", "extra"}, 2},
    };
    for (const Case& c : cases) {
        CliResult result = RunCli(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments[0] << " " << c.arguments.back();
        if (c.status != 0) {
            EXPECT_EQ(result.out, "") << c.arguments.back();
        }
    }
}

}  // namespace
}  // namespace pw::test
