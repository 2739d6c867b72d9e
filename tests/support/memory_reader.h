#pragma once
// A reader over bytes in memory, so that tests can open thousands of damaged copies
// without writing files.

#include <memory>

#include "core/reader.h"
#include "tests/support/files.h"

namespace pw::test {

class MemoryReader final : public Reader {
public:
    explicit MemoryReader(Bytes bytes) : bytes_(std::move(bytes)) {
        data = bytes_.empty() ? nullptr : bytes_.data();
        length = bytes_.size();
        path = "memory";
    }
    const uint8_t* Data() const override { return data; }
    const char* KindName() const override { return "memory"; }

private:
    Bytes bytes_;
};

}  // namespace pw::test
