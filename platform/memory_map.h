#pragma once
// A read-only view of a whole file. If the file shrinks while it is mapped, a read of
// the lost part would raise SIGBUS; the view catches that, puts zero-filled memory in
// place of the lost pages and remembers that it happened, so a reader sees a damaged
// page instead of the process dying.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/file.h"

namespace pw {

class MemoryMap {
public:
    MemoryMap() = default;
    ~MemoryMap();
    MemoryMap(const MemoryMap&) = delete;
    MemoryMap& operator=(const MemoryMap&) = delete;

    // Maps length bytes of the open file; false when the length is 0 or mapping fails.
    bool Map(const File& file, uint64_t length);
    void Unmap();

    const uint8_t* Data() const { return data_; }
    uint64_t Size() const { return size_; }

    // True once some page of the view had to be replaced because the file lost it.
    bool LostPages() const;

    // Tells the system that the range is not needed soon, so its pages leave the
    // process's resident set; a later read brings them back from the file.
    void Release(uint64_t offset, uint64_t length) const;

private:
    const uint8_t* data_ = nullptr;
    uint64_t size_ = 0;
    int slot_ = -1;
};

}  // namespace pw
