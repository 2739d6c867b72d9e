// Table loading of the format 3 engine.

#include "format3/sqlite_ver3.h"

namespace pw::format3 {

bool sqlite_ver3::BuildRepairedDatabase(const std::string& path) {
    return sqlite_base::BuildRepairedDatabase(path);
}

void sqlite_ver3::LoadTableRows(const TableLoad&, RowSink&) {}

uint64_t sqlite_ver3::CountCheckedTableRows() { return 0; }

bool sqlite_ver3::DecodeRow(const TableInfo&, RowLocator, RowScratch&, RowView&) const {
    return false;
}

}  // namespace pw::format3
