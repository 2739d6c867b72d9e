#pragma once
// A file opened for a test exactly as the open thread opens it, with a recording host.

#include <memory>
#include <string>
#include <vector>

#include "core/open_sequence.h"
#include "core/recording_host.h"
#include "tests/support/files.h"
#include "tests/support/sqlite_db.h"

namespace pw::test {

struct OpenedForTest {
    RecordingHost host;
    OpenSettings settings;
    OpenedFile opened;
    bool scanned = false;

    sqlite_base* engine() const { return opened.engine.get(); }
    // Texts of the items under a group, in tree order.
    std::vector<std::string> ItemTexts(ObjectKind kind) const;
    // Boxes shown, as "caption: text".
    std::vector<std::string> MessageTexts() const;
};

std::unique_ptr<OpenedForTest> OpenForTest(const std::string& path);
// The same over bytes in memory: probe, open and scan without a file.
std::unique_ptr<OpenedForTest> OpenBytesForTest(Bytes bytes);

// Collects the rows an engine delivers.
class CollectingSink : public RowSink {
public:
    void OnRow(const RowView& row) override;
    std::vector<OwnedRow> rows;
    std::vector<RowLocator> locators;
    std::vector<int64_t> rowids;
    std::vector<bool> damaged;
};

// Position of the table named name in the engine's tables (tables.size() when absent).
size_t TableIndex(const sqlite_base& engine, const std::string& name);
// Every row a grid load of the table delivers (progress starts afresh).
CollectingSink LoadTable(OpenedForTest& file, const std::string& name);

}  // namespace pw::test
