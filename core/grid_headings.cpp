#include "core/grid_headings.h"

#include <string_view>

#include "core/column_types.h"

namespace pw {
namespace {

// The descriptor is name "+" (label "~")... "#" root, and a label is the column's name,
// perhaps followed by the key mark. Names may hold "+", "~" or "#" themselves, so the
// labels are matched from the end against the names the parser found.
bool HeadingsFromDescriptor(std::string_view descriptor, const TableInfo& table,
                            std::vector<std::string>& headings) {
    size_t hash = descriptor.rfind('#');
    if (hash == std::string_view::npos) return false;
    std::string_view labels = descriptor.substr(0, hash);
    headings.assign(table.columns.size(), std::string());
    for (size_t i = table.columns.size(); i-- > 0;) {
        if (labels.empty() || labels.back() != '~') return false;
        labels.remove_suffix(1);
        const std::string& name = table.columns[i].name;
        std::string marked = name + std::string(kKeyMark);
        if (labels.ends_with(marked)) {
            headings[i] = marked;
        } else if (labels.ends_with(name)) {
            headings[i] = name;
        } else {
            return false;
        }
        labels.remove_suffix(headings[i].size());
    }
    return !labels.empty() && labels.back() == '+';
}

}  // namespace

std::vector<std::string> GridHeadings(const sqlite_base& engine, size_t tableIndex) {
    std::vector<std::string> headings;
    if (tableIndex >= engine.tables.size()) return headings;
    const TableInfo& table = engine.tables[tableIndex];
    if (tableIndex < engine.tableSpecs.size() &&
        HeadingsFromDescriptor(engine.tableSpecs[tableIndex], table, headings))
        return headings;
    headings.clear();
    for (const ColumnInfo& column : table.columns)
        headings.push_back(column.name + (column.rowidAlias ? std::string(kKeyMark) : ""));
    return headings;
}

}  // namespace pw
