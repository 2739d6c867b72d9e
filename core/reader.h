#pragma once
// The byte source over an opened file. Three kinds, tried in this order by
// OpenReader: the whole file read into memory, a memory mapping, and direct reads
// from disk for a file that can be neither.
//
// Two ways in: the positional Read/Seek pair (a single cursor, one thread at a time)
// and ReadAt/Data, which keep no state and may be used from several threads at once.
// The engines use ReadAt/Data, so the grid can decode rows on the UI thread while a
// worker walks the same file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/memory_map.h"

namespace pw {

class Reader {
public:
    virtual ~Reader() = default;

    // Copies count bytes from the position and advances it. Fails without copying when
    // the data is absent or count is not smaller than the length; a range that starts
    // inside the data and runs past its end copies what is there and fails.
    virtual bool Read(void* destination, uint32_t count);
    // Sets the position; an offset at or past the length is refused on the memory readers.
    virtual bool Seek(uint64_t offset);
    virtual bool Open(const std::string& path, uint32_t flags);
    virtual uint64_t GetPosition() const { return position; }
    virtual uint64_t Close() { return 0; }

    uint64_t Length() const { return length; }

    // The whole file in memory, or null for the disk reader.
    virtual const uint8_t* Data() const { return nullptr; }
    // Copies count bytes at offset without touching the position. False (and the
    // destination zero-filled past what could be read) when the range is not wholly
    // inside the file.
    virtual bool ReadAt(uint64_t offset, void* destination, size_t count) const;
    // A hint that the range will not be read again soon (see MemoryMap::Release).
    virtual void Release(uint64_t /*offset*/, uint64_t /*length*/) const {}
    // True once the file is known to have lost data while open (shrunk or vanished).
    virtual bool DataLost() const { return false; }

    virtual const char* KindName() const = 0;

protected:
    uint64_t position = 0;
    uint64_t length = 0;
    const uint8_t* data = nullptr;
    std::string path;
};

class Reader_Buffer final : public Reader {
public:
    // Files from this size up are mapped instead of copied into memory.
    static constexpr uint64_t kLimit = 150'000'000;

    bool Open(const std::string& filePath, uint32_t flags) override;
    const uint8_t* Data() const override { return buffer_.empty() ? nullptr : buffer_.data(); }
    const char* KindName() const override { return "buffer"; }

private:
    std::vector<uint8_t> buffer_;
};

class Reader_MemoryMapped final : public Reader {
public:
    bool Open(const std::string& filePath, uint32_t flags) override;
    const uint8_t* Data() const override { return map_.Data(); }
    void Release(uint64_t offset, uint64_t count) const override { map_.Release(offset, count); }
    bool DataLost() const override { return map_.LostPages(); }
    const char* KindName() const override { return "memory map"; }

private:
    File file_;
    MemoryMap map_;
};

class Reader_Disk final : public Reader {
public:
    bool Read(void* destination, uint32_t count) override;
    bool Seek(uint64_t offset) override;
    bool Open(const std::string& filePath, uint32_t flags) override;
    uint64_t Close() override;
    bool ReadAt(uint64_t offset, void* destination, size_t count) const override;
    bool DataLost() const override;
    const char* KindName() const override { return "disk"; }

private:
    bool StillThere() const;
    File file_;
};

enum class ReaderKind { Buffer, MemoryMapped, Disk };

// The first reader that opens the file, in the order buffer, mapping, disk; null when
// none does (the file is missing, held by another process, or not a regular file).
std::unique_ptr<Reader> OpenReader(const std::string& path);
// One reader of the given kind (for tests and for files the caller knows are large).
std::unique_ptr<Reader> OpenReader(const std::string& path, ReaderKind kind);

}  // namespace pw
