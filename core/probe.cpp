#include "core/probe.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pw {
namespace {

constexpr const char* kNotSupported = "File Format not supported, please select file again";
constexpr const char* kNotInForm = "The Database content is not in its appropriate form";
constexpr const char* kNoVersion = "Version cannot be detected.Please select the version to continue";

inline uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c; }

bool EqualsIgnoringCase(const uint8_t* bytes, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (Lower(bytes[i]) != Lower(static_cast<uint8_t>(text[i]))) return false;
    return true;
}

// Searches a window of bytes; offsets are relative to the window.
size_t SearchWindow(const uint8_t* bytes, size_t size, std::string_view text, size_t lastStart) {
    const uint8_t first = Lower(static_cast<uint8_t>(text[0]));
    const uint8_t firstUpper = (first >= 'a' && first <= 'z') ? static_cast<uint8_t>(first - 32) : first;
    for (size_t i = 0; i <= lastStart && i + text.size() <= size; ++i) {
        // Only a byte that could start the signature is compared in full.
        if ((bytes[i] == first || bytes[i] == firstUpper) && EqualsIgnoringCase(bytes + i, text))
            return i;
    }
    return SIZE_MAX;
}

}  // namespace

uint64_t FindIgnoringCase(const Reader& reader, std::string_view text, uint64_t from,
                          uint64_t limit) {
    const uint64_t length = reader.Length();
    if (text.empty() || length < text.size()) return UINT64_MAX;
    limit = std::min(limit, length - text.size() + 1);
    if (from >= limit) return UINT64_MAX;
    if (const uint8_t* data = reader.Data()) {
        size_t at = SearchWindow(data + from, static_cast<size_t>(length - from), text,
                                 static_cast<size_t>(limit - 1 - from));
        return at == SIZE_MAX ? UINT64_MAX : from + at;
    }
    // Direct reads: windows of 1 MiB that overlap by the signature's length.
    constexpr size_t kWindow = 1 << 20;
    std::vector<uint8_t> window(kWindow + text.size());
    for (uint64_t start = from; start < limit; start += kWindow) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(window.size(), length - start));
        if (!reader.ReadAt(start, window.data(), want)) return UINT64_MAX;
        size_t lastStart = static_cast<size_t>(std::min<uint64_t>(limit - 1 - start, kWindow - 1));
        size_t at = SearchWindow(window.data(), want, text, lastStart);
        if (at != SIZE_MAX) return start + at;
    }
    return UINT64_MAX;
}

SignatureMatch FindDatabaseSignature(const Reader& reader, const ShowBox& show) {
    const uint64_t length = reader.Length();
    if (length < 512) {
        show(MessageBox::Notice(kNotSupported));
        return {};
    }
    // Offset 0 is always tested; later offsets only while they lie 512 bytes before the end.
    uint64_t at = FindIgnoringCase(reader, kFormat3Signature, 0, std::max<uint64_t>(1, length - 512));
    if (at != UINT64_MAX) return {FileFormat::Format3, at};

    if (length < 1024) {
        show(MessageBox::Notice(kNotSupported));
        return {};
    }
    at = FindIgnoringCase(reader, kFormat2Signature, 0, std::max<uint64_t>(1, length - 1024));
    if (at != UINT64_MAX) return {FileFormat::Format2, at};
    show(MessageBox::Notice(kNotInForm));
    return {};
}

OpenSettings ProbeReader(const Reader& reader, const ShowBox& show) {
    OpenSettings settings;
    SignatureMatch match = FindDatabaseSignature(reader, show);
    settings.startOffset = match.offset;
    settings.format = match.format;
    if (match.format == FileFormat::None) {
        show(MessageBox::Notice(kNoVersion));
        return settings;
    }
    if (match.format == FileFormat::Format3) {
        uint8_t header[100] = {};
        reader.ReadAt(settings.startOffset, header, sizeof header);
        // Bytes 56..59 hold the text encoding: 1 UTF-8, 2 UTF-16le, 3 UTF-16be.
        switch (header[59]) {
            case 1: settings.utf8Text = true; break;
            case 2: settings.utf16Text = true; break;
            case 3:
                settings.utf16Text = true;
                settings.utf16BigEndian = true;
                break;
            default: break;
        }
        settings.pageSize = HeaderPageSize(header[16], header[17]);
    } else {
        settings.utf8Text = true;
        settings.pageSize = 1024;
    }
    const auto length = static_cast<int64_t>(reader.Length());
    settings.pageCount = settings.pageSize != 0 ? length / settings.pageSize : 0;
    return settings;
}

OpenSettings ProbeFile(const std::string& path, const ShowBox& show) {
    if (!StatPath(path)) {
        show(MessageBox::Notice("Please select valid database file."));
        return {};
    }
    std::unique_ptr<Reader> reader = OpenReader(path);
    if (!reader) {
        OpenSettings settings;
        settings.path = path;
        show(MessageBox::Notice("The database file is used by other process."));
        return settings;
    }
    OpenSettings settings = ProbeReader(*reader, show);
    settings.path = path;
    return settings;
}

}  // namespace pw
