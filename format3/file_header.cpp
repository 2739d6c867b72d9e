#include "format3/file_header.h"

#include "core/byte_cursor.h"
#include "core/probe.h"
#include "core/sql_tokenizer.h"

namespace pw::format3 {

FileHeader ParseFileHeader(std::span<const uint8_t> bytes) {
    FileHeader header;
    if (bytes.size() < 100) return header;
    header.signatureOk = EqualsIgnoringCase(AsText(bytes.first(15)), kFormat3Signature);
    header.pageSize = static_cast<uint32_t>(HeaderPageSize(bytes[16], bytes[17]));
    header.reservedBytes = bytes[20];
    ByteCursor cursor(bytes, 56);
    header.textEncoding = cursor.U32BE();
    return header;
}

TextEncoding EncodingFromHeader(uint32_t field) {
    switch (field) {
        case 1: return TextEncoding::Utf8;
        case 2: return TextEncoding::Utf16le;
        case 3: return TextEncoding::Utf16be;
        default: return TextEncoding::None;
    }
}

}  // namespace pw::format3
