// The schema scan of a 2.1-format file: the page header table, then the walk of the
// schema table's b-tree from page 2 to any depth.
//
// A schema record has five text fields, as the table sqlite_master declares them:
// type, name, tbl_name, rootpage (decimal digits), sql. An automatic index has no sql.

#include <charconv>

#include "core/schema_collector.h"
#include "core/sql_tokenizer.h"
#include "format2/cell_payload.h"
#include "format2/cell_walk.h"
#include "format2/sqlite_ver2.h"
#include "platform/text.h"

namespace pw::format2 {
namespace {

constexpr size_t kSchemaColumns = 5;

// A root page written in decimal, read in full; anything that is not a page number is 0.
uint32_t RootPageFromDigits(std::string_view digits) {
    uint32_t page = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), page);
    return error == std::errc() && end == digits.data() + digits.size() ? page : 0;
}

// The statement of a record whose offset table is damaged: the whole record is searched
// for a keyword, the statement ends at its zero byte, and the root page is the field
// just before it (its digits end one byte, the field's zero, before the keyword).
void AddDamagedRecord(SchemaCollector& collector, std::string_view record, sqlite_base& engine) {
    std::optional<KeywordMatch> match = FindSchemaKeyword(record);
    if (!match) return;
    size_t end = record.find('\0', match->position);
    std::string_view text = record.substr(0, end);
    size_t digitsEnd = match->position > 0 ? match->position - 1 : 0;
    size_t digitsBegin = digitsEnd;
    while (digitsBegin > 0 && record[digitsBegin - 1] >= '0' && record[digitsBegin - 1] <= '9')
        --digitsBegin;
    uint32_t rootPage = RootPageFromDigits(record.substr(digitsBegin, digitsEnd - digitsBegin));
    std::string stored;
    AppendStoredText(stored, text);
    engine.schemaTextLengths.push_back(stored.size());
    collector.Add(stored, rootPage, kFormat2);
}

// SQLite 2 makes a lone INTEGER PRIMARY KEY the record number even when it is declared
// DESC, which SQLite 3 keeps as an ordinary column.
void MarkDescendingIntegerKeys(std::vector<TableInfo>& tables) {
    for (TableInfo& table : tables) {
        if (table.RowidAliasColumn() >= 0) continue;
        ColumnInfo* key = nullptr;
        int keys = 0;
        for (ColumnInfo& column : table.columns)
            if (column.primaryKey && ++keys == 1) key = &column;
        if (keys == 1 && EqualsIgnoringCase(key->declaredType, "INTEGER")) key->rowidAlias = true;
    }
}

}  // namespace

PageSource sqlite_ver2::Pages() const {
    const DatabaseFile& file = host->file;
    const uint64_t length = file.reader ? file.reader->Length() : 0;
    const uint64_t pages = length > file.startOffset ? (length - file.startOffset) / kPageSize : 0;
    return PageSource(file.reader, file.startOffset, kPageSize, pages);
}

void sqlite_ver2::ScanSchema(const std::string&) {
    progressPosition = 0;
    if (!host->file.reader) return;
    PageBuffer buffer;
    byteOrder_ = ByteOrderOf(Pages().Page(1, buffer));
    ReadPageHeaders();
    WalkSchema();
}

void sqlite_ver2::ReadPageHeaders() {
    const PageSource pages = Pages();
    pageHeaders2.clear();
    pageHeaders2.reserve(pages.pageCount());
    uint8_t bytes[8];
    for (uint64_t page = 1; page <= pages.pageCount(); ++page) {
        bool read = pages.reader()->ReadAt(pages.Offset(page), bytes, sizeof bytes);
        pageHeaders2.push_back(read ? ReadPageHeader2(bytes, byteOrder_) : PageHeader2());
    }
    // The pass touched every page once; a mapped file need not keep them resident.
    pages.ReleaseThrough(pages.pageCount());
}

void sqlite_ver2::WalkSchema() {
    const PageSource pages = Pages();
    SchemaCollector collector(*this);
    CellWalk walk(pages, byteOrder_);
    OverflowScratch overflow;
    RowScratch scratch;
    const RecordShape shape{kSchemaColumns, -1, 0};
    RowView row;
    auto readRecord = [&](std::span<const uint8_t> bytes, uint32_t page, uint32_t offset) {
        if (!ReadRow(pages, bytes, {page, offset}, shape, false, overflow, scratch, row)) return true;
        const std::span<const Value> fields = row.values;
        if (fields[4].kind == ValueKind::Text) {
            schemaTextLengths.push_back(fields[4].bytes.size());
            uint32_t rootPage =
                fields[3].kind == ValueKind::Text ? RootPageFromDigits(fields[3].bytes) : 0;
            collector.Add(fields[4].bytes, rootPage, kFormat2);
        } else if (fields[4].damaged) {
            CellPayload cell = ReadCellPayload(pages, bytes, offset, byteOrder_, overflow);
            AddDamagedRecord(collector, AsText(cell.data), *this);
        }
        // A sound record without sql is an automatic index: nothing to list.
        return true;
    };
    walk.Run(kSchemaRootPage, readRecord, [] { return true; });

    MarkDescendingIntegerKeys(tables);
    BuildObjectTree(*this, false);
}

}  // namespace pw::format2
