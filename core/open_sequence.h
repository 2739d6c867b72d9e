#pragma once
// Opening a probed file, as the open thread does it: a byte source, the page count,
// the top of the object tree, the engine of the file's format and its schema scan,
// then the completion notice. Both front ends run exactly this.

#include <memory>

#include "core/host.h"
#include "core/open_settings.h"
#include "core/reader.h"
#include "core/sqlite_base.h"

namespace pw {

inline constexpr const char* kScanCompleted =
    "Scanning process for selected file has been completed successfully.";

struct OpenedFile {
    std::unique_ptr<Reader> reader;
    std::unique_ptr<sqlite_base> engine;
};

// Runs the open steps on the calling thread. The host's previous file state must
// already be released. A reader already in opened (one the caller opened over the
// same file) is used instead of opening a new one. Returns true when a schema scan
// ran; opened keeps the reader (also when no engine could be made) and the engine.
bool OpenDatabase(Host& host, const OpenSettings& settings, OpenedFile& opened);

}  // namespace pw
