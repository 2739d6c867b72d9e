// The schema scan of a format 3 file: the header check, the page header pass, and the
// walk of the schema b-tree from page 1 to any depth.

#include <array>

#include "core/schema_collector.h"
#include "core/tree_walk.h"
#include "format3/file_header.h"
#include "format3/sqlite_ver3.h"
#include "platform/text.h"

namespace pw::format3 {
namespace {

constexpr const char* kPageSizeInvalid = "The Database page_size is invalid";
constexpr const char* kNotInForm = "The Database content is not in its appropriate form";

// Schema record columns: type, name, tbl_name, rootpage, sql.
constexpr size_t kSchemaColumns = 5;

// Messages that a damaged schema could repeat for every record; each is shown once.
class OnceMessages {
public:
    explicit OnceMessages(Host& host) : host_(host) {}
    void Show(const MessageBox& box) {
        for (const std::string& text : shown_)
            if (text == box.text) return;
        shown_.push_back(box.text);
        host_.ShowMessage(box);
    }

private:
    Host& host_;
    std::vector<std::string> shown_;
};

}  // namespace

TextEncoding sqlite_ver3::Encoding() const {
    if (utf16Text) return utf16BigEndian ? TextEncoding::Utf16be : TextEncoding::Utf16le;
    if (utf8Text) return TextEncoding::Utf8;
    return TextEncoding::None;
}

void sqlite_ver3::ScanSchema(const std::string&) {
    progressPosition = 0;
    if (!CheckHeader()) return;
    if (!ReadPageHeaders()) return;
    if (Encoding() == TextEncoding::Utf8) host->AddLogLine("Searching File DDL ");
    WalkSchema();
}

// The header check. False ends the scan (the message has been shown).
bool sqlite_ver3::CheckHeader() {
    const DatabaseFile& file = host->file;
    std::array<uint8_t, 100> bytes{};
    file.reader->ReadAt(file.startOffset, bytes.data(), bytes.size());
    FileHeader header = ParseFileHeader(bytes);
    reservedBytes_ = header.reservedBytes;

    const uint64_t pageSize = file.pageSize;
    if ((pageSize & 0xFFFF) % 512 != 0 || pageSize > 65536 || pageSize < 512) {
        host->ShowMessage(MessageBox::Owned("File_Page_Size_Error", kPageSizeInvalid));
        return false;
    }
    const uint64_t length = file.reader->Length();
    const uint64_t databaseBytes = length > file.startOffset ? length - file.startOffset : 0;
    // A file cut inside a page still has its whole pages; only the partial one is lost.
    if (uint64_t partial = databaseBytes % pageSize) {
        host->AddLogLine("The file ends " + std::to_string(partial) + " bytes into page " +
                         std::to_string(databaseBytes / pageSize + 1) +
                         "; that page is not read");
    }

    if (!utf8Text && !utf16Text) {
        TextEncoding fromHeader = EncodingFromHeader(header.textEncoding);
        if (fromHeader == TextEncoding::None) {
            BuildObjectTree(*this, false);
            return false;
        }
        utf8Text = fromHeader == TextEncoding::Utf8;
        utf16Text = !utf8Text;
        utf16BigEndian = fromHeader == TextEncoding::Utf16be;
    }
    if (!header.signatureOk || header.pageSize == 0 || file.pageCount == 0) {
        host->ShowMessage(MessageBox::Owned("File_Corrupted", kNotInForm));
        return false;
    }
    // The reserved area must leave room for the smallest usable page SQLite allows.
    if (UsableSize() < 480) reservedBytes_ = 0;
    return true;
}

bool sqlite_ver3::ReadPageHeaders() {
    const DatabaseFile& file = host->file;
    const uint64_t pages = file.pageCount;
    const bool utf8 = Encoding() == TextEncoding::Utf8;
    if (utf8) {
        host->SetProgressRange(pages / 1000);
        host->AddLogLine("File page_header is reading");
    } else {
        host->AddLogLine("Reading File page header ");
    }
    OnceMessages once(*host);
    pageHeaders.clear();
    pageHeaders.reserve(pages);
    std::array<uint8_t, 112> bytes{};
    for (uint64_t i = 0; i < pages; ++i) {
        const uint64_t page = i + 1;
        file.reader->ReadAt(file.Pages().Offset(page), bytes.data(), bytes.size());
        PageHeader header = ReadPageHeader(bytes, page);
        // A type byte no page can have usually means a wrong page size; in a damaged
        // file it costs that page alone, so the pass goes on.
        if (utf8 && !IsAcceptedPageType(header.type))
            once.Show(MessageBox::Application("Error in page size or in file"));
        pageHeaders.push_back(header);
        if (utf8 && i % 1000 == 0) host->SetProgressPosition(i / 1000 + 1);
    }
    // The pass touched every page once; a mapped file need not keep them resident.
    file.Pages().ReleaseThrough(pages);
    return true;
}

void sqlite_ver3::WalkSchema() {
    const PageSource pages = Pages();
    const size_t usable = UsableSize();
    const TextEncoding encoding = Encoding();
    const bool utf16 = encoding != TextEncoding::Utf8;
    SchemaCollector collector(*this);
    OnceMessages once(*host);
    TreeWalk walk(pages.pageCount());
    PageBuffer pageBuffer;
    PayloadScratch payloadScratch;
    RowScratch scratch;
    std::vector<uint16_t> cells, freeblocks;
    std::vector<uint32_t> extents;

    auto processCell = [&](std::span<const uint8_t> bytes, uint32_t cell, uint32_t extent,
                           const SchemaDialect& dialect) {
        CellPayload payload =
            ReadCellPayload(pages, bytes, cell, extent, CellKind::TableLeaf, usable, payloadScratch);
        if (!payload.ok) return;
        if (!payload.complete) once.Show(MessageBox::Application("Error in reading"));
        scratch.Reset();
        RecordResult record = DecodeRecord(payload.bytes, payload.complete, encoding,
                                           kSchemaColumns, scratch);
        const auto& values = scratch.values;
        uint32_t rootPage = values.size() > 3 && values[3].kind == ValueKind::Integer
                                ? static_cast<uint32_t>(values[3].integer)
                                : 0;
        std::string_view text;
        std::string raw;
        if (record.ok && values.size() == kSchemaColumns && values[4].kind == ValueKind::Text) {
            text = values[4].bytes;
        } else if (record.ok && values.size() == kSchemaColumns && values[4].kind == ValueKind::Null &&
                   values[0].kind == ValueKind::Text && values[0].bytes == "index") {
            return;  // an automatic index: no statement to read
        } else {
            // A record whose header is damaged: search its whole body for a statement.
            const uint8_t* body = payload.bytes.data();
            if (utf16)
                AppendUtf16AsUtf8(raw, body, payload.bytes.size(), encoding == TextEncoding::Utf16be);
            else
                raw.assign(reinterpret_cast<const char*>(body), payload.bytes.size());
            text = raw;
        }
        schemaTextLength = text.size();
        switch (collector.Add(text, rootPage, dialect)) {
            case SchemaCollector::Outcome::NoKeyword:
                once.Show(MessageBox::Application("Endian descriptor is corrupted or file is corrupted"));
                break;
            case SchemaCollector::Outcome::Incomplete:
                once.Show(MessageBox::Application("File is corrupted"));
                break;
            default: break;
        }
    };

    auto visitPage = [&](uint64_t page, std::vector<uint64_t>& children, const SchemaDialect& dialect) {
        std::span<const uint8_t> bytes = pages.Page(page, pageBuffer);
        if (bytes.empty()) return true;
        PageHeader header = ReadPageHeader(bytes, page);
        host->SetProgressRange(header.cellCount);
        if (header.IsTableLeaf()) {
            ReadCellPointers(bytes, page, header, usable, cells);
            ReadFreeblocks(bytes, header, usable, freeblocks);
            CellExtents(cells, freeblocks, usable, extents);
            for (size_t k = 0; k < cells.size(); ++k) {
                processCell(bytes, cells[k], extents[k], dialect);
                host->SetProgressPosition(k + 1);
            }
        } else if (header.type == kInteriorTable) {
            ReadChildPages(bytes, page, header, usable, cells, children);
            // Left children outside the file are reported; page 1's right-most child has
            // a message of its own.
            for (size_t k = 0; k + 1 < children.size(); ++k)
                if (!pages.Contains(children[k]))
                    once.Show(MessageBox::Owned("File_Corrupted", kNotInForm));
        }
        return true;
    };

    // Page 1 itself, then each subtree below it. The subtree of page 1's right child is
    // the second pass of the scan; in a UTF-8 file it names tables slightly differently.
    const SchemaDialect& main = utf16 ? kFormat3Utf16 : kFormat3Utf8;
    const SchemaDialect& right = utf16 ? kFormat3Utf16 : kFormat3Utf8RightChild;
    std::vector<uint64_t> rootChildren;
    walk.MarkVisited(1);
    visitPage(1, rootChildren, main);
    if (!rootChildren.empty()) {
        uint64_t rightChild = rootChildren.back();
        rootChildren.pop_back();
        for (uint64_t child : rootChildren)
            walk.Run(child, [&](uint64_t p, std::vector<uint64_t>& c) { return visitPage(p, c, main); });
        if (!pages.Contains(rightChild))
            once.Show(MessageBox::Owned("File_Format_Not_Supported",
                                        "you choose the wrong file please choose again"));
        walk.Run(rightChild, [&](uint64_t p, std::vector<uint64_t>& c) { return visitPage(p, c, right); });
    }
    BuildObjectTree(*this, utf16);
}

}  // namespace pw::format3
