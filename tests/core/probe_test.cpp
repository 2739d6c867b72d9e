#include <gtest/gtest.h>

#include <chrono>

#include "core/probe.h"
#include "tests/support/files.h"
#include "tests/support/memory_reader.h"
#include "tests/support/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace pw {
namespace {

using test::Bytes;

struct Probed {
    OpenSettings settings;
    std::vector<std::string> messages;
};

Probed ProbeBytes(const Bytes& bytes) {
    Probed probed;
    test::MemoryReader reader(bytes);
    probed.settings = ProbeReader(reader, [&](const MessageBox& box) {
        EXPECT_EQ(box.caption, kAppTitle);
        EXPECT_EQ(box.icon, MessageIcon::Information);
        probed.messages.push_back(box.text);
    });
    return probed;
}

Bytes Format3Header(size_t size, uint16_t pageSizeField, uint8_t encoding) {
    Bytes bytes(size, 0);
    std::string signature = "SQLite format 3";
    std::copy(signature.begin(), signature.end(), bytes.begin());
    bytes[16] = static_cast<uint8_t>(pageSizeField >> 8);
    bytes[17] = static_cast<uint8_t>(pageSizeField & 0xFF);
    bytes[59] = encoding;
    return bytes;
}

const char* kNotSupported = "File Format not supported, please select file again";
const char* kNoVersion = "Version cannot be detected.Please select the version to continue";
const char* kNotInForm = "The Database content is not in its appropriate form";

TEST(Probe, MessagesOnFilesThatAreNoDatabase) {
    struct Case {
        Bytes bytes;
        std::vector<std::string> messages;
    } cases[] = {
        {Bytes(511, 'x'), {kNotSupported, kNoVersion}},
        {Bytes(700, 'x'), {kNotSupported, kNoVersion}},
        {Bytes(4000, 'x'), {kNotInForm, kNoVersion}},
    };
    for (const Case& c : cases) {
        Probed probed = ProbeBytes(c.bytes);
        EXPECT_EQ(probed.messages, c.messages) << c.bytes.size();
        EXPECT_EQ(probed.settings.format, FileFormat::None);
        EXPECT_EQ(probed.settings.pageSize, 0);
    }
}

TEST(Probe, HeaderFieldsPageSizesAndEncodings) {
    struct Case {
        uint16_t pageField;
        uint8_t encoding;
        int64_t pageSize;
        bool utf8, utf16, bigEndian;
    } cases[] = {
        {4096, 1, 4096, true, false, false},
        {1, 2, 65536, false, true, false},  // 65536 is stored as 1
        {512, 3, 512, false, true, true},
        {0, 1, 0, true, false, false},
        {1024, 9, 1024, false, false, false},
    };
    for (const Case& c : cases) {
        Probed probed = ProbeBytes(Format3Header(131072, c.pageField, c.encoding));
        EXPECT_TRUE(probed.messages.empty());
        EXPECT_EQ(probed.settings.format, FileFormat::Format3);
        EXPECT_EQ(probed.settings.startOffset, 0u);
        EXPECT_EQ(probed.settings.pageSize, c.pageSize);
        EXPECT_EQ(probed.settings.pageCount, c.pageSize ? 131072 / c.pageSize : 0);
        EXPECT_EQ(probed.settings.utf8Text, c.utf8);
        EXPECT_EQ(probed.settings.utf16Text, c.utf16);
        EXPECT_EQ(probed.settings.utf16BigEndian, c.bigEndian);
    }
}

TEST(Probe, SignatureInsideALargerFileAndItsLimits) {
    Bytes database = Format3Header(8192, 4096, 1);
    // Found after 4096 bytes of other data, in any letter case.
    Bytes embedded(4096, 'z');
    embedded.insert(embedded.end(), database.begin(), database.end());
    embedded[4096] = 's';
    embedded[4097] = 'q';
    EXPECT_EQ(ProbeBytes(embedded).settings.startOffset, 4096u);

    // Not found when fewer than 512 bytes follow it.
    Bytes tail(4096, 'z');
    tail.insert(tail.end(), database.begin(), database.begin() + 512);
    EXPECT_EQ(ProbeBytes(tail).settings.format, FileFormat::None);

    Bytes format2(2000, 0);
    std::string signature(kFormat2Signature);
    std::copy(signature.begin(), signature.end(), format2.begin() + 300);
    Probed two = ProbeBytes(format2);
    EXPECT_EQ(two.settings.format, FileFormat::Format2);
    EXPECT_EQ(two.settings.startOffset, 300u);
    EXPECT_EQ(two.settings.pageSize, 1024);
    EXPECT_TRUE(two.settings.utf8Text);
}

TEST(Probe, FindsADatabaseAfterAHundredMegabytesQuickly) {
    Bytes big(100u << 20, 's');  // every byte could start the signature
    Bytes database = Format3Header(8192, 4096, 1);
    big.insert(big.end(), database.begin(), database.end());
    auto start = std::chrono::steady_clock::now();
    Probed probed = ProbeBytes(big);
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(probed.settings.startOffset, 100u << 20);
    EXPECT_LT(seconds, 30.0);  // a hang guard, not a speed claim
}

TEST(Probe, FileMessages) {
    test::TempDir dir;
    std::vector<std::string> messages;
    auto show = [&](const MessageBox& box) { messages.push_back(box.text); };
    ProbeFile(dir.File("missing"), show);
    EXPECT_EQ(messages, std::vector<std::string>{"Please select valid database file."});

    test::CreateDatabase(dir.File("db"), "CREATE TABLE t(a)");
    messages.clear();
    OpenSettings settings = ProbeFile(dir.File("db"), show);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(settings.path, dir.File("db"));
    EXPECT_EQ(settings.pageSize, 4096);

    // A mapped reader holds the file for as long as it lives.
    auto holder = OpenReader(dir.File("db"), ReaderKind::MemoryMapped);
    ProbeFile(dir.File("db"), show);
    EXPECT_EQ(messages, std::vector<std::string>{"The database file is used by other process."});
}

}  // namespace
}  // namespace pw
