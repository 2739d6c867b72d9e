#pragma once
// Finding an object of the opened file by what the user typed: its text in the object
// tree (blanks around it ignored), its bare name, or "#N" for the object at position N
// of its list (the item data of its tree item).

#include <optional>
#include <span>
#include <string_view>

#include "cli/commands.h"
#include "core/recording_host.h"
#include "core/sqlite_base.h"

namespace pw::cli {

struct ObjectRef {
    ObjectKind kind;
    size_t position;  // in the engine's list of that kind
};

// Searches the kinds in the order given; the first match wins.
std::optional<ObjectRef> FindObject(const RecordingHost& host, const sqlite_base& engine,
                                    std::string_view what, std::span<const ObjectKind> kinds);

// Opens path for a command and finds what in it. Returns kExitOk with ref set, or the
// exit status after saying on standard error what went wrong.
int OpenAndFind(const Arguments& arguments, std::string_view what,
                std::span<const ObjectKind> kinds, OpenDatabaseFile& file, ObjectRef& ref);

}  // namespace pw::cli
