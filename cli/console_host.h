#pragma once
// The console front end's host: boxes and log lines go to standard error as they come
// (unless the command prints them in its own output), questions are answered No
// unless --yes was given.

#include "core/recording_host.h"

namespace pw::cli {

class ConsoleHost : public RecordingHost {
public:
    explicit ConsoleHost(bool echoToStderr) : echo_(echoToStderr) {}
    void OnLogLine(std::string_view text) override;
    void OnMessage(const MessageBox& box) override;

private:
    bool echo_;
};

}  // namespace pw::cli
