// Records: the offset table in its three widths, NULL against the empty text, the
// record number standing for the key column, and records the file holds only in part.

#include <gtest/gtest.h>

#include "core/value_text.h"
#include "format2/cell_payload.h"
#include "format2/record.h"
#include "tests/format2/format2_builder.h"
#include "tests/support/format2_fixtures.h"
#include "tests/support/files.h"

namespace pw::test {
namespace {

using format2::DecodeRecord;
using format2::RecordShape;

TextRow Decode(const Bytes& data, uint64_t declared, bool complete, size_t columns, int keyColumn = -1,
               int64_t number = 0, bool* damaged = nullptr) {
    RowScratch scratch;
    bool bad = DecodeRecord(data, declared, complete, RecordShape{columns, keyColumn, number}, scratch);
    if (damaged) *damaged = bad;
    RowView row;
    row.values = scratch.values;
    return AsTextRow(row);
}

// The record bytes of the cell at offset of page, through the overflow chain.
Bytes RecordInFile(const std::string& fixture, uint32_t page, uint32_t offset) {
    Bytes file = ReadBytes(Format2Fixture(fixture));
    auto reader = OpenReader(Format2Fixture(fixture));
    PageSource pages(reader.get(), 0, 1024, file.size() / 1024);
    PageBuffer buffer;
    OverflowScratch overflow;
    format2::CellPayload cell =
        format2::ReadCellPayload(pages, pages.Page(page, buffer), offset, {}, overflow);
    EXPECT_TRUE(cell.ok && cell.complete);
    return Bytes(cell.data.begin(), cell.data.end());
}

TEST(Format2Record, TheBuilderWritesRecordsByteForByteAsSqlite2) {
    // basic: row 2 of people, 21 bytes, one-byte entries; the key column and note are NULL.
    EXPECT_EQ(MakeRecord({std::nullopt, "O'Brien", "17", "2.0", std::nullopt}), RecordInFile("basic", 3, 0x34));
    // overflow: row 6 of docs, 317 bytes over an overflow page, two-byte entries.
    ExpectedFile expected = ReadExpected("overflow");
    const TextRow& row = expected.tables[0].rows[5];
    EXPECT_EQ(MakeRecord({std::nullopt, *row[1], *row[2]}), RecordInFile("overflow", 8, 512));
}

TEST(Format2Record, EachEntryWidthDecodesToTheSameFields) {
    struct Case {
        size_t bodyBytes;
        size_t width;
    } cases[] = {{100, 1}, {240, 1}, {260, 2}, {65000, 2}, {70000, 3}, {300000, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bodyBytes);
        std::vector<Field> fields = {"a", std::nullopt, std::string(c.bodyBytes, 'x'), "", "z"};
        Bytes record = MakeRecord(fields);
        EXPECT_EQ(format2::OffsetEntryWidth(record.size()), c.width);
        EXPECT_EQ(record[0], (fields.size() + 1) * c.width & 0xFF);
        bool damaged = true;
        TextRow decoded = Decode(record, record.size(), true, fields.size(), -1, 0, &damaged);
        EXPECT_EQ(decoded, (TextRow{"a", std::nullopt, std::string(c.bodyBytes, 'x'), "", "z"}));
        EXPECT_FALSE(damaged);
    }
}

TEST(Format2Record, TheKeyColumnShowsTheRecordNumberAndTextStaysAsStored) {
    Bytes record = MakeRecord({std::nullopt, "it's", std::nullopt, "caf\xC3\xA9", "caf\xE9"});
    TextRow decoded = Decode(record, record.size(), true, 5, 0, 70000);
    EXPECT_EQ(decoded, (TextRow{"70000", "it's", std::nullopt, "caf\xC3\xA9", "caf\xC3\xA9"}));
    // The empty record (declared size 0) is a row of NULLs.
    EXPECT_EQ(Decode({}, 0, true, 2), (TextRow{std::nullopt, std::nullopt}));
}

TEST(Format2Record, APartOfTheRecordGivesWhatIsThereMarkedDamaged) {
    Bytes record = MakeRecord({"first", "second", "third"});
    struct Case {
        const char* what;
        Bytes data;
        size_t columns;
        TextRow expected;
    } cases[] = {
        {"cut inside the second field", Bytes(record.begin(), record.begin() + 4 + 6 + 3), 3,
         {"first", "sec", std::nullopt}},
        {"cut inside the offset table", Bytes(record.begin(), record.begin() + 2), 3,
         {std::nullopt, std::nullopt, std::nullopt}},
        {"more columns than the record has fields", record, 4, {"first", "second", "third", std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool damaged = false;
        bool complete = c.data.size() == record.size();
        EXPECT_EQ(Decode(c.data, record.size(), complete, c.columns, -1, 0, &damaged), c.expected);
        EXPECT_TRUE(damaged);
    }
    // Offsets out of order or past the record place nothing. Entry 2 ends field 1 and
    // starts field 2, which now begins on the zero byte of field 0.
    Bytes bad = record;
    bad[2] = static_cast<uint8_t>(bad[1] - 1);
    bool damaged = false;
    TextRow decoded = Decode(bad, bad.size(), true, 3, -1, 0, &damaged);
    EXPECT_EQ(decoded, (TextRow{"first", std::nullopt, ""}));
    EXPECT_TRUE(damaged);
    bad = record;
    bad[3] = 200;
    decoded = Decode(bad, bad.size(), true, 3, -1, 0, &damaged);
    EXPECT_EQ(decoded[0], "first");
    EXPECT_FALSE(decoded[2]);
}

TEST(Format2Record, TheKeyIsBigEndianWithItsTopBitInverted) {
    struct Case {
        uint8_t key[4];
        int32_t number;
    } cases[] = {{{0x80, 0, 0, 1}, 1}, {{0x80, 0x01, 0x11, 0x70}, 70000}, {{0x7F, 0xFF, 0xFF, 0xFF}, -1},
                 {{0xFF, 0xFF, 0xFF, 0xFF}, INT32_MAX}, {{0, 0, 0, 0}, INT32_MIN}};
    for (const Case& c : cases) EXPECT_EQ(format2::RecordNumberFromKey(std::span<const uint8_t, 4>(c.key)), c.number);
}

}  // namespace
}  // namespace pw::test
