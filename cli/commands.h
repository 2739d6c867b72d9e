#pragma once
// The commands of pagewright-cli. Each returns the exit status: 0 when the operation
// ran (even if it reported damage), 1 when the file cannot be opened or the object is
// not found, 2 for bad usage.

#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/console_host.h"
#include "core/open_sequence.h"

namespace pw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    const char* name;
    const char* usage;  // arguments after the command name
    size_t positionalCount;
    const char* flags;  // the flags and options it takes, space separated
    int (*run)(const Arguments&);
};

int ProbeCommand(const Arguments& arguments);
int TreeCommand(const Arguments& arguments);
int RowsCommand(const Arguments& arguments);
int TextCommand(const Arguments& arguments);
int SqlCommand(const Arguments& arguments);
int RepairCommand(const Arguments& arguments);
int ExportCommand(const Arguments& arguments);

// A file opened for a command the way the open thread opens it.
struct OpenDatabaseFile {
    std::unique_ptr<ConsoleHost> host;
    OpenSettings settings;
    OpenedFile opened;
};

// Probes and opens path. Messages go to standard error when echo is set. Returns
// kExitOk when an engine scanned the file, kExitNotFound otherwise.
int OpenForCommand(const std::string& path, bool echo, bool answerYes, OpenDatabaseFile& file);

}  // namespace pw::cli
