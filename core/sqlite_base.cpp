#include "core/sqlite_base.h"

#include "core/column_types.h"

namespace pw {

bool sqlite_base::BuildRepairedDatabase(const std::string&) { return true; }
void sqlite_base::ScanSchema(const std::string&) {}
void sqlite_base::LoadTableRows(const TableLoad&, RowSink&) {}

// Every checked table of the tree, each counted from a zeroed counter (an engine
// counts into rowTotal or into progressPosition); the item data is the table's position.
uint64_t sqlite_base::CountCheckedTableRows() {
    uint64_t sum = 0;
    for (int64_t data : host->CheckedItemData(ObjectKind::Table)) {
        if (data < 0 || static_cast<uint64_t>(data) >= tables.size()) continue;
        rowTotal = 0;
        progressPosition = 0;
        sum += CountTableRows(host->file.path, tables[static_cast<size_t>(data)].rootPage);
    }
    return sum;
}
void sqlite_base::ExportTableRows(const TableLoad&, RowSink&) {}
uint64_t sqlite_base::CountTableRows(const std::string&, uint64_t) { return 0; }

// Both engines name and type columns the same way, so the shared versions live here.
std::string sqlite_base::MapColumnType(std::string type) const {
    return pw::MapColumnType(type);
}
bool sqlite_base::IsKnownColumnType(std::string type) const {
    return pw::IsKnownColumnType(type);
}
std::string sqlite_base::CleanIdentifier(std::string name) const {
    return pw::CleanIdentifier(name);
}

bool sqlite_base::DecodeRow(const TableInfo&, RowLocator, RowScratch&, RowView&) const {
    return false;
}

TableLoad sqlite_base::LoadFor(size_t tableIndex) const {
    TableLoad load;
    if (tableIndex >= tables.size()) return load;
    const TableInfo& table = tables[tableIndex];
    load.path = host->file.path;
    load.rootPage = table.rootPage;
    load.columnCount = static_cast<int>(table.columns.size());
    load.tableName = table.name;
    int alias = table.RowidAliasColumn();
    load.keyMark = alias >= 0 ? 10 + alias : 0;
    load.table = &table;
    return load;
}

const std::vector<std::string>& sqlite_base::SqlList(ObjectKind kind) const {
    switch (kind) {
        case ObjectKind::Table: return tableSql;
        case ObjectKind::Index: return indexSql;
        case ObjectKind::View: return viewSql;
        case ObjectKind::Trigger: break;
    }
    return triggerSql;
}

}  // namespace pw
