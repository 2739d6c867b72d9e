#pragma once

#include <string>
#include <vector>

namespace pw::test {

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs pagewright-cli with the arguments (each quoted for the shell).
CommandResult RunCli(const std::vector<std::string>& arguments);

}  // namespace pw::test
