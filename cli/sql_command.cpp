// pagewright-cli sql FILE TABLE: the insert statement of every row of a table, one
// per row, in the order the rows are decoded.

#include "cli/commands.h"
#include "cli/object_lookup.h"
#include "cli/output.h"
#include "core/row_statement.h"

namespace pw::cli {
namespace {

constexpr ObjectKind kTables[] = {ObjectKind::Table};

class StatementPrinter : public RowSink {
public:
    StatementPrinter(Output& out, std::string_view table) : out_(out), table_(table) {}
    void OnRow(const RowView& row) override {
        AppendRowStatement(out_.buffer(), table_, row);
        out_.buffer().push_back('\n');
        out_.Wrote();
    }

private:
    Output& out_;
    std::string_view table_;
};

}  // namespace

int SqlCommand(const Arguments& arguments) {
    OpenDatabaseFile file;
    ObjectRef table{};
    if (int status = OpenAndFind(arguments, arguments.positional[1], kTables, file, table))
        return status;
    sqlite_base& engine = *file.opened.engine;
    TableLoad load = engine.LoadFor(table.position);
    Output out;
    StatementPrinter printer(out, load.tableName);
    engine.progressPosition = 0;
    engine.LoadTableRows(load, printer);
    return kExitOk;
}

}  // namespace pw::cli
