// pagewright-cli: the console front end. It opens a file exactly as the desktop
// program does and prints what the engines find.

#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"

namespace {

using pw::cli::Command;

const Command kCommands[] = {
    {"probe", "FILE [--json]", 1, "--json", pw::cli::ProbeCommand},
    {"tree", "FILE [--json]", 1, "--json --yes", pw::cli::TreeCommand},
    {"rows", "FILE TABLE [--json [--typed]]", 2, "--json --typed --yes", pw::cli::RowsCommand},
    {"text", "FILE NAME", 2, "--yes", pw::cli::TextCommand},
    {"sql", "FILE TABLE", 2, "--yes", pw::cli::SqlCommand},
    {"repair", "FILE [--yes] [--out PATH]", 1, "--yes --out", pw::cli::RepairCommand},
    {"export", "FILE TABLE --csv [--out PATH]", 2, "--csv --out --yes", pw::cli::ExportCommand},
};

void PrintUsage() {
    std::fprintf(stderr, "usage: pagewright-cli COMMAND ...\n\ncommands:\n");
    for (const Command& command : kCommands)
        std::fprintf(stderr, "  pagewright-cli %s %s\n", command.name, command.usage);
    std::fprintf(stderr,
                 "\nexit status: 0 the operation ran (even if it reported damage), 1 the file\n"
                 "cannot be opened or the object is not found, 2 bad usage\n");
}

bool Accepts(const Command& command, const std::string& flag) {
    std::string list = std::string(" ") + command.flags + " ";
    return list.find(" " + flag + " ") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    pw::cli::Arguments arguments;
    if (!pw::cli::ParseArguments(argc, argv, {"--out"}, arguments)) {
        PrintUsage();
        return pw::cli::kExitUsage;
    }
    for (const Command& command : kCommands) {
        if (arguments.command != command.name) continue;
        bool usable = arguments.positional.size() == command.positionalCount;
        for (const std::string& flag : arguments.flags) usable = usable && Accepts(command, flag);
        for (const auto& option : arguments.options) usable = usable && Accepts(command, option.first);
        if (!usable) {
            std::fprintf(stderr, "usage: pagewright-cli %s %s\n", command.name, command.usage);
            return pw::cli::kExitUsage;
        }
        return command.run(arguments);
    }
    PrintUsage();
    return pw::cli::kExitUsage;
}
