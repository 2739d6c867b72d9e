#pragma once

#include <string>

namespace pw {

// The rebuilt database's path: the source's folder, then "Repaired_" and the source's
// file name. A path without a folder gives "Repaired_" followed by the whole path.
std::string BuildRepairedPath(const std::string& sourcePath);

}  // namespace pw
