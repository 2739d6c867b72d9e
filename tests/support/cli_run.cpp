#include "tests/support/cli_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::vector<std::string> CliResult::OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

CliResult RunCli(const std::vector<std::string>& arguments) {
    TempDir dir;
    std::string errPath = dir.File("stderr");
    std::string command = ShellQuoted(PW_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    command += " 2>" + ShellQuoted(errPath) + " </dev/null";

    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath, std::ios::binary);
    result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return result;
}

}  // namespace pw::test
