#include "cli/arguments.h"

namespace pw::cli {

bool ParseArguments(int argc, char** argv, const std::set<std::string>& withValue, Arguments& out) {
    bool onlyPositional = false;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (!onlyPositional && word == "--") {
            onlyPositional = true;
        } else if (!onlyPositional && word.size() > 2 && word.compare(0, 2, "--") == 0) {
            if (withValue.count(word)) {
                if (i + 1 >= argc) return false;
                out.options[word] = argv[++i];
            } else {
                out.flags.insert(word);
            }
        } else if (out.command.empty()) {
            out.command = word;
        } else {
            out.positional.push_back(word);
        }
    }
    return true;
}

}  // namespace pw::cli
