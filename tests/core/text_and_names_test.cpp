#include <gtest/gtest.h>

#include "core/column_types.h"
#include "core/value_text.h"
#include "platform/text.h"

namespace pw {
namespace {

TEST(StoredText, ValidUtf8StaysAndOtherBytesReadAsCodePage1252) {
    struct Case {
        std::string bytes, shown;
    } cases[] = {
        {"plain", "plain"},
        {"\xC3\xA9", "\xC3\xA9"},           // é as UTF-8
        {"\xE9", "\xC3\xA9"},               // é as a 1252 byte
        {"\x80", "\xE2\x82\xAC"},           // euro sign
        {"\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},  // mixed: the whole text is 1252
    };
    for (const Case& c : cases) {
        std::string out;
        AppendStoredText(out, c.bytes);
        EXPECT_EQ(out, c.shown) << c.bytes;
    }
}

TEST(Utf16, BothByteOrdersSurrogatesAndBrokenPairs) {
    const uint8_t le[] = {'A', 0, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8};  // A, U+1F600, lone high
    EXPECT_EQ(Utf16ToUtf8(le, sizeof le, false), "A\xF0\x9F\x98\x80\xEF\xBF\xBD");
    const uint8_t be[] = {0, 'h', 0, 'i', 0x42};  // odd trailing byte dropped
    EXPECT_EQ(Utf16ToUtf8(be, sizeof be, true), "hi");
}

TEST(ColumnTypes, MappingKnownTypesAndCleanNames) {
    EXPECT_EQ(MapColumnType("nvarchar(40)"), "varchar(40)");
    EXPECT_EQ(MapColumnType("blob"), "OLE Object");
    EXPECT_EQ(MapColumnType(""), "");
    EXPECT_TRUE(IsKnownColumnType("OLE Object"));
    EXPECT_TRUE(IsKnownColumnType("Yes No"));
    for (const char* unknown : {"", "TEXT(20)", "VARCHAR(40)", "REAL", "NUMERIC", "DATETIME"})
        EXPECT_FALSE(IsKnownColumnType(unknown)) << unknown;
    EXPECT_EQ(GeneratedColumnType("integer"), "INTEGER");
    EXPECT_EQ(GeneratedColumnType("real"), "TEXT");
    EXPECT_EQ(CleanIdentifier("Order Date < P.K >"), "OrderDate");
    EXPECT_EQ(CleanIdentifier("[Kunden-Nr.]"), "KundenNr");
    EXPECT_EQ(CleanIdentifier("Gr\xC3\xB6\xC3\x9F" "e"), "Gre");
    EXPECT_EQ(CleanIdentifier("`\xD0\x98\xD0\xBC\xD1\x8F`"), "\xD0\x98\xD0\xBC\xD1\x8F");
    EXPECT_EQ(CleanIdentifier(" ' ' "), "");
    EXPECT_EQ(CleanIdentifier("< P.K >"), "");
}

TEST(ValueText, GridAndStatementForms) {
    struct Case {
        Value value;
        std::string grid, statement;
    } cases[] = {
        {Value::Null(), "NULL", "NULL"},
        {Value::Integer(-1), "-1", "-1"},
        {Value::Integer(INT64_MIN), "-9223372036854775808", "-9223372036854775808"},
        {Value::Real(3.5), "3.500000", "3.500000"},
        {Value::Real(0.1), "0.100000", "0.100000"},
        {Value::Real(-0.0), "-0.000000", "-0.000000"},
        {Value::Real(1e-10), "1e-10", "1e-10"},
        {Value::Real(1e300), "1e+300", "1e+300"},
        {Value::Real(3.14159265358979), "3.14159265358979", "3.14159265358979"},
        {Value::Real(-2.5), "-2.500000", "-2.500000"},
        {Value::Real(70504.22), "70504.220000", "70504.220000"},
        {Value::Real(123456789.123456), "123456789.123456", "123456789.123456"},
        {Value::Real(5e-7), "5e-07", "5e-07"},
        {Value::Real(1e15), "1000000000000000.000000", "1000000000000000.000000"},
        {Value::Real(-1e-300), "-1e-300", "-1e-300"},
        {Value::Text("O'Brien"), "O'Brien", "'O''Brien'"},
        {Value::Blob("\x01\xAB"), "< Blob Data >", "X'01AB'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GridText(c.value), c.grid);
        std::string statement;
        AppendStatementValue(statement, c.value);
        EXPECT_EQ(statement, c.statement);
    }
}

}  // namespace
}  // namespace pw
