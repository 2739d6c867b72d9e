#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "core/ddl_parser.h"
#include "tests/support/files.h"
#include "tests/support/opened_file.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw {
namespace {

using test::Bytes;
using test::OpenForTest;
using test::TempDir;

constexpr const char* kCompleted =
    "Pagewright v18.0: Scanning process for selected file has been completed successfully.";

const char* kSchema = R"sql(
    CREATE TABLE t1 (id INTEGER PRIMARY KEY, name TEXT);
    CREATE TABLE IF NOT EXISTS "my table" ("a b" text, [c d] int, `e` real);
    CREATE TABLE "Select"(x);
    CREATE TABLE keyed (id INTEGER, v, PRIMARY KEY(id));
    CREATE TABLE w (k TEXT PRIMARY KEY, v) WITHOUT ROWID;
    CREATE INDEX i1 ON t1(name, id);
    CREATE UNIQUE INDEX "u 1" ON "my table"("a b");
    CREATE VIEW v1 AS SELECT name FROM t1;
    CREATE TRIGGER trg1 AFTER INSERT ON t1 BEGIN SELECT 1; END;
    INSERT INTO t1(name) VALUES ('x');
)sql";

// What sqlite_master holds for one kind, in schema order.
std::vector<std::string> MasterNames(const std::string& path, const std::string& type) {
    return test::QueryColumn(path, "SELECT name FROM sqlite_master WHERE type='" + type +
                                       "' AND sql IS NOT NULL ORDER BY rowid");
}

std::vector<std::string> EngineNames(const sqlite_base& engine, ObjectKind kind) {
    std::vector<std::string> names;
    for (const std::string& sql : engine.SqlList(kind)) names.push_back(ObjectName(kind, sql));
    return names;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The engine lists and the tree hold exactly what sqlite_master holds.
void ExpectSchemaMatches(const std::string& path, const test::OpenedForTest& file, bool utf16) {
    ASSERT_TRUE(file.scanned);
    const sqlite_base& engine = *file.engine();
    const std::pair<ObjectKind, const char*> kinds[] = {{ObjectKind::Table, "table"},
                                                        {ObjectKind::Index, "index"},
                                                        {ObjectKind::View, "view"},
                                                        {ObjectKind::Trigger, "trigger"}};
    for (auto [kind, type] : kinds) {
        std::vector<std::string> expected = MasterNames(path, type);
        EXPECT_EQ(EngineNames(engine, kind), expected) << type;
        std::vector<std::string> items;
        for (const std::string& text : file.ItemTexts(kind)) items.push_back(Trimmed(text));
        // Index items carry the table too (" i1 ON t1"); compare the names they start with.
        if (kind == ObjectKind::Index)
            for (std::string& item : items) item = Trimmed(item.substr(0, item.find(" ON ")));
        // A UTF-16 file lists tables, views and triggers in reverse order.
        if (utf16 && kind != ObjectKind::Index) std::reverse(items.begin(), items.end());
        EXPECT_EQ(items, expected) << type;
    }
    for (size_t i = 0; i < engine.tables.size(); ++i) {
        uint32_t root = static_cast<uint32_t>(std::stoul(test::QueryColumn(
            path, "SELECT rootpage FROM sqlite_master WHERE type='table' AND name='" +
                      engine.tables[i].name + "'")[0]));
        EXPECT_EQ(engine.tables[i].rootPage, root) << engine.tables[i].name;
    }
    EXPECT_EQ(file.MessageTexts(), std::vector<std::string>{kCompleted});
}

TEST(SchemaScan, EveryPageSizeAndTextEncoding) {
    TempDir dir;
    for (int pageSize : {512, 1024, 4096, 8192, 32768, 65536}) {
        for (std::string encoding : {"UTF-8", "UTF-16le", "UTF-16be"}) {
            SCOPED_TRACE(std::to_string(pageSize) + " " + encoding);
            std::string path = dir.File("db");
            test::CreateDatabase(path, kSchema, {pageSize, encoding});
            auto file = OpenForTest(path);
            EXPECT_EQ(file->settings.pageSize, pageSize);
            ExpectSchemaMatches(path, *file, encoding != "UTF-8");
            const TableInfo& keyed = file->engine()->tables[3];
            EXPECT_TRUE(keyed.columns[0].rowidAlias);
            EXPECT_TRUE(file->engine()->tables[4].withoutRowid);
        }
    }
}

TEST(SchemaScan, DescriptorsLogLinesAndTheTreeOfAUtf8File) {
    TempDir dir;
    std::string path = dir.File("db");
    test::CreateDatabase(path, kSchema);
    auto file = OpenForTest(path);
    const sqlite_base& engine = *file->engine();
    EXPECT_EQ(engine.tableSpecs[0], "t1 +id< P.K >~name~#2");
    EXPECT_EQ(engine.tableSpecs[1], "my table +a b~c d~e~#3");
    EXPECT_EQ(engine.createStatements[0], "create Table [t1] ( [id]  INTEGER, [name]  TEXT )");
    EXPECT_EQ(engine.columnTypes[1], (std::vector<std::string>{"TEXT", "TEXT", "TEXT"}));
    EXPECT_EQ(file->ItemTexts(ObjectKind::Table),
              (std::vector<std::string>{" t1 ", " my table ", " Select", " keyed ", " w "}));
    EXPECT_EQ(file->ItemTexts(ObjectKind::Index), (std::vector<std::string>{" i1 ON t1", " u 1 ON my table"}));
    const std::vector<std::string> expectedLog = {
        " File is Parsing ", "File page_header is reading", "Searching File DDL ",
        "Table t1 is found", "Table my table is found", "Table Selectis found",
        "Table keyed is found", "Table w is found", "INDEX i1 is found",
        "Scanning process for selected file has been completed successfully."};
    EXPECT_EQ(file->host.log, expectedLog);
}

TEST(SchemaScan, FourHundredTablesOverADeepSchemaTree) {
    TempDir dir;
    std::string script;
    for (int i = 0; i < 400; ++i) {
        script += "CREATE TABLE table_" + std::to_string(i) + " (id INTEGER PRIMARY KEY";
        for (int c = 0; c < 12; ++c) script += ", column_number_" + std::to_string(c) + " TEXT";
        script += ");";
        if (i % 4 == 0) script += "CREATE INDEX idx_" + std::to_string(i) + " ON table_" + std::to_string(i) + "(column_number_1);";
    }
    for (int pageSize : {512, 4096}) {
        std::string path = dir.File("many" + std::to_string(pageSize));
        test::CreateDatabase(path, script, {pageSize});
        auto file = OpenForTest(path);
        ExpectSchemaMatches(path, *file, false);
        EXPECT_EQ(file->engine()->tables.size(), 400u);
    }
}

TEST(SchemaScan, DatabaseAfterOtherData) {
    TempDir dir;
    test::CreateDatabase(dir.File("db"), kSchema);
    Bytes bytes(4096, 0x42);
    Bytes database = test::ReadBytes(dir.File("db"));
    bytes.insert(bytes.end(), database.begin(), database.end());
    test::WriteBytes(dir.File("embedded"), bytes);
    auto file = OpenForTest(dir.File("embedded"));
    EXPECT_EQ(file->settings.startOffset, 4096u);
    ExpectSchemaMatches(dir.File("db"), *file, false);
}

// Patches the header of a small database and opens the result from memory.
std::unique_ptr<test::OpenedForTest> OpenPatched(Bytes bytes, size_t offset,
                                                 std::vector<uint8_t> patch) {
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(offset));
    return test::OpenBytesForTest(std::move(bytes));
}

TEST(SchemaScan, HeaderMessages) {
    TempDir dir;
    test::CreateDatabase(dir.File("db"), kSchema, {1024});
    const Bytes sound = test::ReadBytes(dir.File("db"));
    struct Case {
        const char* what;
        size_t offset;
        std::vector<uint8_t> patch;
        std::vector<std::string> messages;
    } cases[] = {
        {"page size not a multiple of 512", 16, {0x03, 0xE8},
         {"File_Page_Size_Error: The Database page_size is invalid", kCompleted}},
        {"page size 0", 16, {0, 0},
         {"Can't be parsed: There is an error to open Database file"}},
        {"unknown text encoding", 56, {0, 0, 0, 9}, {kCompleted}},
    };
    for (const Case& c : cases) {
        auto file = OpenPatched(sound, c.offset, c.patch);
        EXPECT_EQ(file->MessageTexts(), c.messages) << c.what;
        if (file->engine()) {
            EXPECT_TRUE(file->engine()->tables.empty()) << c.what;
        }
    }
}

TEST(SchemaScan, DamagedSchemasLoseOnlyTheDamagedPart) {
    TempDir dir;
    std::string script;
    for (int i = 0; i < 60; ++i)
        script += "CREATE TABLE t" + std::to_string(i) + " (a, b, c, dddddddddddddddddddddddddd);";
    std::string path = dir.File("db");
    test::CreateDatabase(path, script, {512});
    const Bytes sound = test::ReadBytes(path);
    ASSERT_EQ(sound[100], 5) << "page 1 should be an interior page";
    auto firstChild = [&](const Bytes& bytes) {
        size_t cell = (size_t{bytes[112]} << 8) | bytes[113];
        return cell;  // offset of the first interior cell; its 4-byte child number starts there
    };

    // A child pointer back to page 1, and one to itself: both branches end.
    for (uint32_t target : {1u, 2u}) {
        Bytes cyclic = sound;
        size_t cell = firstChild(cyclic);
        uint32_t child = (uint32_t{cyclic[cell + 2]} << 8) | cyclic[cell + 3];
        size_t childPage = (child - 1) * 512;
        if (target == 2) {
            // Make the first child an interior page whose only child is itself.
            cyclic[childPage] = 5;
            cyclic[childPage + 3] = 0;
            cyclic[childPage + 4] = 0;
            cyclic[childPage + 8] = 0;
            cyclic[childPage + 9] = 0;
            cyclic[childPage + 10] = static_cast<uint8_t>(child >> 8);
            cyclic[childPage + 11] = static_cast<uint8_t>(child);
        } else {
            cyclic[cell + 2] = 0;
            cyclic[cell + 3] = 1;
        }
        auto file = test::OpenBytesForTest(cyclic);
        ASSERT_TRUE(file->scanned);
        EXPECT_GT(file->engine()->tables.size(), 40u);
        EXPECT_LT(file->engine()->tables.size(), 60u);
    }

    // A zeroed schema leaf costs its own records only.
    Bytes zeroed = sound;
    size_t cell = firstChild(zeroed);
    uint32_t child = (uint32_t{zeroed[cell + 2]} << 8) | zeroed[cell + 3];
    std::fill(zeroed.begin() + (child - 1) * 512, zeroed.begin() + child * 512, 0);
    auto file = test::OpenBytesForTest(zeroed);
    EXPECT_GT(file->engine()->tables.size(), 40u);

    // Truncated inside a page: the whole pages before it still count.
    Bytes truncated(sound.begin(), sound.end() - 700);
    auto cut = test::OpenBytesForTest(truncated);
    ASSERT_TRUE(cut->scanned);
    EXPECT_GT(cut->engine()->tables.size(), 30u);
    EXPECT_NE(std::find_if(cut->host.log.begin(), cut->host.log.end(),
                           [](const std::string& line) { return line.find("that page is not read") != std::string::npos; }),
              cut->host.log.end());
}

TEST(SchemaScan, ThousandsOfByteFlipsNeverCrashOrHang) {
    TempDir dir;
    std::string script;
    for (int i = 0; i < 30; ++i)
        script += "CREATE TABLE t" + std::to_string(i) + " (id INTEGER PRIMARY KEY, \"v w\" TEXT DEFAULT 'x');"
                  "CREATE INDEX i" + std::to_string(i) + " ON t" + std::to_string(i) + "(\"v w\");";
    script += "CREATE VIEW v AS SELECT 1; CREATE TRIGGER g AFTER INSERT ON t1 BEGIN SELECT 2; END;";
    test::CreateDatabase(dir.File("db"), script, {512});
    const Bytes sound = test::ReadBytes(dir.File("db"));
    std::mt19937 random(20261211);
    auto start = std::chrono::steady_clock::now();
    for (int copy = 0; copy < 3000; ++copy) {
        Bytes damaged = sound;
        int flips = 1 + static_cast<int>(random() % 8);
        for (int f = 0; f < flips; ++f) damaged[random() % damaged.size()] ^= static_cast<uint8_t>(1 + random() % 255);
        auto file = test::OpenBytesForTest(std::move(damaged));
        if (file->engine()) {
            EXPECT_LE(file->engine()->tables.size(), 31u);
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 120.0);
}

}  // namespace
}  // namespace pw
