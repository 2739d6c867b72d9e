#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pw::test {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
std::string FixturePath(const std::string& name);

}  // namespace pw::test
