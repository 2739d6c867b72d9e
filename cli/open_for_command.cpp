#include "cli/commands.h"

#include "core/probe.h"

namespace pw::cli {

int OpenForCommand(const std::string& path, bool echo, bool answerYes, OpenDatabaseFile& file) {
    file.host = std::make_unique<ConsoleHost>(echo);
    ConsoleHost& host = *file.host;
    host.questionAnswer = answerYes ? MessageAnswer::Yes : MessageAnswer::No;
    file.settings = ProbeFile(path, [&](const MessageBox& box) { host.ShowMessage(box); });
    if (file.settings.path.empty()) return kExitNotFound;
    bool scanned = OpenDatabase(host, file.settings, file.opened);
    return scanned && file.opened.engine ? kExitOk : kExitNotFound;
}

}  // namespace pw::cli
