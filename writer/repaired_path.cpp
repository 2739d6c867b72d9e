#include "writer/repaired_path.h"

namespace pw {

std::string BuildRepairedPath(const std::string& sourcePath) {
    size_t slash = sourcePath.find_last_of("/\\");
    if (slash == std::string::npos) return "Repaired_" + sourcePath;
    return sourcePath.substr(0, slash + 1) + "Repaired_" + sourcePath.substr(slash + 1);
}

}  // namespace pw
