#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace pw::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagewright-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace pw::test
