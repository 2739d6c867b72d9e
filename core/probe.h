#pragma once
// The probe that runs when a file is chosen: where the database signature begins,
// which format it is, its text encoding and page size.

#include <functional>
#include <string>

#include "core/messages.h"
#include "core/open_settings.h"
#include "core/reader.h"

namespace pw {

inline constexpr std::string_view kFormat3Signature = "SQLite format 3";
inline constexpr std::string_view kFormat2Signature =
    "** This file contains an SQLite 2.1 database **";

using ShowBox = std::function<void(const MessageBox&)>;

// Runs the probe over path and returns the settings it found; every failure is shown
// through show (one box, or the two boxes of a failed signature search) and leaves
// the settings as far as the probe got: format None, pageSize 0.
OpenSettings ProbeFile(const std::string& path, const ShowBox& show);

struct SignatureMatch {
    FileFormat format = FileFormat::None;
    uint64_t offset = 0;
};

// The probe over a reader that is already open (path is left empty).
OpenSettings ProbeReader(const Reader& reader, const ShowBox& show);

// The signature search alone, over an open reader; messages go through show.
SignatureMatch FindDatabaseSignature(const Reader& reader, const ShowBox& show);

// First offset in [from, limit) at which text matches ignoring ASCII case, or
// UINT64_MAX. The text must lie wholly inside the reader's data.
uint64_t FindIgnoringCase(const Reader& reader, std::string_view text, uint64_t from,
                          uint64_t limit);

// Page size from header bytes 16..17, where 1 stands for 65536.
inline int64_t HeaderPageSize(uint8_t high, uint8_t low) {
    int64_t stored = (int64_t{high} << 8) | low;
    return stored == 1 ? 65536 : stored;
}

}  // namespace pw
