#include "cli/console_host.h"

#include <cstdio>

namespace pw::cli {

void ConsoleHost::OnLogLine(std::string_view text) {
    if (echo_) std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void ConsoleHost::OnMessage(const MessageBox& box) {
    if (!echo_) return;
    std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
}

}  // namespace pw::cli
