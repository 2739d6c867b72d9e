#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

TEST(CliProbeAndTree, JsonShapesAndExitStatus) {
    TempDir dir;
    std::string db = dir.File("app.db");
    CreateDatabase(db, "CREATE TABLE t1(id INTEGER PRIMARY KEY, name); CREATE VIEW v AS SELECT 1;");

    CliResult probe = RunCli({"probe", db, "--json"});
    EXPECT_EQ(probe.status, 0);
    EXPECT_EQ(probe.out, "{\"path\": \"" + db +
                             "\", \"start_offset\": 0, \"format\": 2, \"page_size\": 4096, "
                             "\"page_count\": 2, \"utf8\": true, \"utf16\": false, "
                             "\"utf16_big_endian\": false, \"messages\": []}\n");

    CliResult tree = RunCli({"tree", db, "--json"});
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out,
              "{\"root\": \"" + db +
                  "\", \"groups\": [{\"text\": \"TABLES  \", \"data\": -2, \"items\": [{\"text\": \" "
                  "t1\", \"data\": 0}]}, {\"text\": \"INDEXES  \", \"data\": -3, \"items\": []}, "
                  "{\"text\": \"VIEWS  \", \"data\": -4, \"items\": [{\"text\": \" v\", \"data\": 0}]}, "
                  "{\"text\": \"TRIGGERS  \", \"data\": -5, \"items\": []}], \"messages\": "
                  "[{\"caption\": \"Pagewright v18.0\", \"text\": \"Scanning process for selected file "
                  "has been completed successfully.\"}], \"log\": [\" File is Parsing \", \"File "
                  "page_header is reading\", \"Searching File DDL \", \"Table t1is found\", "
                  "\"Scanning process for selected file has been completed successfully.\"]}\n");
    EXPECT_TRUE(tree.err.empty());

    CliResult people = RunCli({"tree", db});
    EXPECT_EQ(people.status, 0);
    EXPECT_NE(people.out.find("TABLES  \n     t1  [0]\n"), std::string::npos) << people.out;

    struct Case {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"tree", dir.File("missing.db")}, 1},
        {{"probe", dir.File("missing.db")}, 1},
        {{"tree"}, 2},
        {{"tree", db, "--bogus"}, 2},
        {{"frobnicate", db}, 2},
        {{}, 2},
    };
    for (const Case& c : cases) {
        CliResult result = RunCli(c.arguments);
        EXPECT_EQ(result.status, c.status) << (c.arguments.empty() ? "" : c.arguments[0]);
        if (c.status == 2) {
            EXPECT_NE(result.err.find("usage: pagewright-cli"), std::string::npos);
        }
    }

    WriteBytes(dir.File("junk"), Bytes(3000, 'j'));
    CliResult junk = RunCli({"tree", dir.File("junk"), "--json"});
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.out.find("Version cannot be detected.Please select the version to continue"),
              std::string::npos);
}

}  // namespace
}  // namespace pw::test
