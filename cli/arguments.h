#pragma once
// The console front end's command line: a command, positional arguments, flags
// (--json) and options with a value (--out PATH).

#include <map>
#include <set>
#include <string>
#include <vector>

namespace pw::cli {

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::set<std::string> flags;
    std::map<std::string, std::string> options;

    bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
    std::string Option(const std::string& name) const {
        auto it = options.find(name);
        return it == options.end() ? std::string() : it->second;
    }
};

// Parses argv; options named in withValue take the next argument. False on a flag
// that needs a value and has none.
bool ParseArguments(int argc, char** argv, const std::set<std::string>& withValue, Arguments& out);

}  // namespace pw::cli
