#pragma once
// What the probe finds out about a file before an engine starts: where the database
// begins, its format, text encoding and page size. Chosen anew for every file.

#include <cstdint>
#include <string>

namespace pw {

enum class FileFormat : int { None = 0, Format2 = 1, Format3 = 2 };

struct OpenSettings {
    std::string path;
    uint64_t startOffset = 0;
    FileFormat format = FileFormat::None;
    int64_t pageSize = 0;
    int64_t pageCount = 0;
    bool utf8Text = false;
    bool utf16Text = false;
    // With utf16Text: the file's UTF-16 is big-endian (header text encoding 3).
    bool utf16BigEndian = false;
};

}  // namespace pw
