// pagewright-cli text FILE NAME: the CREATE statement of an index, view or trigger as
// the file stores it (and of a table, when NAME names one).

#include <cstdio>

#include "cli/commands.h"
#include "cli/object_lookup.h"

namespace pw::cli {
namespace {

constexpr ObjectKind kTextKinds[] = {ObjectKind::Index, ObjectKind::View, ObjectKind::Trigger,
                                     ObjectKind::Table};

}  // namespace

int TextCommand(const Arguments& arguments) {
    OpenDatabaseFile file;
    ObjectRef object{};
    if (int status = OpenAndFind(arguments, arguments.positional[1], kTextKinds, file, object))
        return status;
    const std::string& text = file.opened.engine->SqlList(object.kind)[object.position];
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    return kExitOk;
}

}  // namespace pw::cli
