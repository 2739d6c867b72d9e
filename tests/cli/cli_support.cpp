#include "tests/cli/cli_support.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/support/temp_dir.h"

namespace pw::test {
namespace {

std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CommandResult RunCli(const std::vector<std::string>& arguments) {
    TempDir dir;
    std::string command = ShellQuote(PW_CLI_PATH);
    for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
    command += " >" + ShellQuote(dir.File("out")) + " 2>" + ShellQuote(dir.File("err"));
    CommandResult result;
    int status = std::system(command.c_str());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Slurp(dir.File("out"));
    result.err = Slurp(dir.File("err"));
    return result;
}

}  // namespace pw::test
