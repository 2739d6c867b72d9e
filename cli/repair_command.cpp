// pagewright-cli repair FILE [--yes] [--out PATH]: the rebuilt database of every
// object, and what went into it.

#include <cstdio>

#include "cli/commands.h"

namespace pw::cli {

int RepairCommand(const Arguments& arguments) {
    OpenDatabaseFile file;
    if (int status = OpenForCommand(arguments.positional[0], true, arguments.Has("--yes"), file))
        return status;
    sqlite_base& engine = *file.opened.engine;
    engine.BuildRepairedDatabase(arguments.Option("--out"));
    const RepairReport& report = engine.repairReport;
    if (report.declined) {
        std::fprintf(stderr, "%s exists; not replaced (--yes replaces it)\n", report.outputPath.c_str());
        return kExitNotFound;
    }
    if (!report.error.empty()) return kExitNotFound;
    if (!report.completed) {
        std::printf("nothing checked: no output written\n");
        return kExitOk;
    }
    std::printf("output: %s\n", report.outputPath.c_str());
    for (const RepairReport::Table& table : report.tables) {
        std::printf("%s\t%llu rows", table.name.c_str(), static_cast<unsigned long long>(table.rowsWritten));
        if (table.rowsFailed) std::printf(" (%llu not written)", static_cast<unsigned long long>(table.rowsFailed));
        if (!table.created) std::printf(" (table not created)");
        std::printf("\n");
    }
    std::printf("total\t%llu rows\n", static_cast<unsigned long long>(report.RowsWritten()));
    return kExitOk;
}

}  // namespace pw::cli
