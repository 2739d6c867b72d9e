#include "tests/support/opened_file.h"

#include "core/probe.h"
#include "tests/support/memory_reader.h"

namespace pw::test {

std::vector<std::string> OpenedForTest::ItemTexts(ObjectKind kind) const {
    std::vector<std::string> texts;
    for (TreeItem item : host.tree.Children(host.GroupItem(kind))) texts.push_back(host.tree.Find(item)->text);
    return texts;
}

std::vector<std::string> OpenedForTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageBox& box : host.messages) texts.push_back(box.caption + ": " + box.text);
    return texts;
}

std::unique_ptr<OpenedForTest> OpenForTest(const std::string& path) {
    auto file = std::make_unique<OpenedForTest>();
    file->settings = ProbeFile(path, [&](const MessageBox& box) { file->host.ShowMessage(box); });
    file->scanned = OpenDatabase(file->host, file->settings, file->opened);
    return file;
}

std::unique_ptr<OpenedForTest> OpenBytesForTest(Bytes bytes) {
    auto file = std::make_unique<OpenedForTest>();
    auto reader = std::make_unique<MemoryReader>(std::move(bytes));
    file->settings = ProbeReader(*reader, [&](const MessageBox& box) { file->host.ShowMessage(box); });
    file->settings.path = "memory";
    file->opened.reader = std::move(reader);
    file->scanned = OpenDatabase(file->host, file->settings, file->opened);
    return file;
}

void CollectingSink::OnRow(const RowView& row) {
    OwnedRow owned;
    for (const Value& value : row.values) owned.push_back(OwnedValue::From(value));
    rows.push_back(std::move(owned));
    locators.push_back(row.where);
    rowids.push_back(row.rowid);
    damaged.push_back(row.damaged);
}

size_t TableIndex(const sqlite_base& engine, const std::string& name) {
    size_t i = 0;
    while (i < engine.tables.size() && engine.tables[i].name != name) ++i;
    return i;
}

CollectingSink LoadTable(OpenedForTest& file, const std::string& name) {
    CollectingSink sink;
    sqlite_base* engine = file.engine();
    if (!engine) return sink;
    size_t index = TableIndex(*engine, name);
    if (index == engine->tables.size()) return sink;
    engine->progressPosition = 0;
    engine->LoadTableRows(engine->LoadFor(index), sink);
    return sink;
}

}  // namespace pw::test
