// The console commands repair and export as a script sees them.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;

class RepairAndExport : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File("shop.db");
        CreateDatabase(path_,
                       "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT, price REAL, code BLOB, note);"
                       "INSERT INTO items VALUES (1, 'plain', 2.5, x'0aff', NULL),"
                       " (2, 'comma, \"quote\"' || char(13) || char(10) || 'line', 0.1, NULL, 7);"
                       "CREATE TABLE empty(x);");
    }
    TempDir dir_;
    std::string path_;
};

TEST_F(RepairAndExport, RepairPrintsTheOutputAndTheRowsOfEachTable) {
    std::string output = dir_.File("Repaired_shop.db");
    CliResult first = RunCli({"repair", path_});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "output: " + output + "\nitems\t2 rows\nempty\t0 rows\ntotal\t2 rows\n");
    EXPECT_EQ(QueryColumn(output, "SELECT count(*) FROM items")[0], "2");

    // An existing output is kept unless --yes says otherwise.
    CliResult again = RunCli({"repair", path_});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("not replaced"), std::string::npos);
    EXPECT_EQ(RunCli({"repair", path_, "--yes"}).status, 0);

    std::string elsewhere = dir_.File("elsewhere.db");
    CliResult moved = RunCli({"repair", path_, "--out", elsewhere});
    EXPECT_EQ(moved.status, 0);
    EXPECT_TRUE(fs::exists(elsewhere));
    EXPECT_EQ(RunCli({"repair", path_, "--out"}).status, 2);
    EXPECT_EQ(RunCli({"repair", dir_.File("missing.db")}).status, 1);
}

TEST_F(RepairAndExport, CsvFollowsRfc4180) {
    CliResult csv = RunCli({"export", path_, "items", "--csv"});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out,
              "id,name,price,code,note\r\n"
              "1,plain,2.5,X'0AFF',\r\n"
              "2,\"comma, \"\"quote\"\"\r\nline\",0.1,,7\r\n");

    std::string file = dir_.File("items.csv");
    EXPECT_EQ(RunCli({"export", path_, "#0", "--csv", "--out", file}).status, 0);
    Bytes written = ReadBytes(file);
    EXPECT_EQ(std::string(written.begin(), written.end()), csv.out);

    EXPECT_EQ(RunCli({"export", path_, "items"}).status, 2);
    EXPECT_EQ(RunCli({"export", path_, "nothing", "--csv"}).status, 1);
    EXPECT_EQ(RunCli({"export", path_, "items", "--csv", "--out", dir_.File("no/such/dir.csv")}).status, 1);
}

}  // namespace
}  // namespace pw::test
