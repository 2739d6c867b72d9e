#include <cstdio>

#include "cli/commands.h"
#include "cli/json.h"

namespace pw::cli {
namespace {

std::string TreeJson(const ConsoleHost& host) {
    const ObjectTree& tree = host.tree;
    const ObjectTree::Item* root = tree.Find(host.rootItem);
    std::string out = "{\"root\": " + JsonString(root ? root->text : "") + ", \"groups\": [";
    if (root) {
        for (size_t g = 0; g < root->children.size(); ++g) {
            const ObjectTree::Item* group = tree.Find(root->children[g]);
            if (g) out += ", ";
            out += "{\"text\": " + JsonString(group->text) +
                   ", \"data\": " + std::to_string(group->data) + ", \"items\": [";
            for (size_t i = 0; i < group->children.size(); ++i) {
                const ObjectTree::Item* item = tree.Find(group->children[i]);
                if (i) out += ", ";
                out += "{\"text\": " + JsonString(item->text) +
                       ", \"data\": " + std::to_string(item->data) + "}";
            }
            out += "]}";
        }
    }
    out += "], \"messages\": [";
    for (size_t i = 0; i < host.messages.size(); ++i) {
        if (i) out += ", ";
        out += "{\"caption\": " + JsonString(host.messages[i].caption) +
               ", \"text\": " + JsonString(host.messages[i].text) + "}";
    }
    out += "], \"log\": [";
    for (size_t i = 0; i < host.log.size(); ++i) {
        if (i) out += ", ";
        out += JsonString(host.log[i]);
    }
    out += "]}\n";
    return out;
}

void PrintItem(const ObjectTree& tree, TreeItem id, int depth, std::string& out) {
    const ObjectTree::Item* item = tree.Find(id);
    out.append(2 * depth, ' ');
    out += item->text;
    if (item->data >= 0) out += "  [" + std::to_string(item->data) + "]";
    out += "\n";
    for (TreeItem child : item->children) PrintItem(tree, child, depth + 1, out);
}

}  // namespace

int TreeCommand(const Arguments& arguments) {
    const bool json = arguments.Has("--json");
    OpenDatabaseFile file;
    int status = OpenForCommand(arguments.positional[0], !json, arguments.Has("--yes"), file);
    if (json) {
        std::fputs(TreeJson(*file.host).c_str(), stdout);
    } else {
        std::string out;
        for (TreeItem top : file.host->tree.TopLevel()) PrintItem(file.host->tree, top, 0, out);
        std::fputs(out.c_str(), stdout);
    }
    return status;
}

}  // namespace pw::cli
