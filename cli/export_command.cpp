// pagewright-cli export FILE TABLE --csv [--out PATH]: a table's recovered rows as CSV,
// to PATH or to standard output.

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/object_lookup.h"
#include "writer/csv_export.h"

namespace pw::cli {

int ExportCommand(const Arguments& arguments) {
    if (!arguments.Has("--csv")) {
        std::fprintf(stderr, "usage: pagewright-cli export FILE TABLE --csv [--out PATH]\n");
        return kExitUsage;
    }
    OpenDatabaseFile file;
    ObjectRef table{};
    constexpr ObjectKind kTables[] = {ObjectKind::Table};
    if (int status = OpenAndFind(arguments, arguments.positional[1], kTables, file, table)) return status;

    const std::string path = arguments.Option("--out");
    std::FILE* stream = path.empty() ? stdout : std::fopen(path.c_str(), "wb");
    if (!stream) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitNotFound;
    }
    sqlite_base& engine = *file.opened.engine;
    std::vector<std::string> columns;
    for (const ColumnInfo& column : engine.tables[table.position].columns) columns.push_back(column.name);
    bool written;
    {
        CsvWriter csv(stream, columns);
        engine.progressPosition = 0;
        engine.LoadTableRows(engine.LoadFor(table.position), csv);
        written = csv.Finish();
    }
    if (stream != stdout && std::fclose(stream) != 0) written = false;
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", path.empty() ? "standard output" : path.c_str());
        return kExitNotFound;
    }
    return kExitOk;
}

}  // namespace pw::cli
