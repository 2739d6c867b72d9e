#pragma once
// Runs pagewright-cli as a user would and keeps what it printed.

#include <string>
#include <vector>

namespace pw::test {

struct CliResult {
    int status = -1;  // exit status, -1 when it did not exit normally
    std::string out;
    std::string err;
    std::vector<std::string> OutLines() const;
};

CliResult RunCli(const std::vector<std::string>& arguments);

}  // namespace pw::test
