#pragma once
// Files opened the way a recovery tool must open them: read-only, and exclusively,
// so that no other process changes the bytes while we read them and we never
// touch a file another process is writing.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pw {

struct FileStatus {
    uint64_t size = 0;
    bool regular = false;
    bool directory = false;
};

// Status of a path without opening it; nullopt when the path does not exist.
std::optional<FileStatus> StatPath(const std::string& path);

class File {
public:
    enum class OpenError { None, NotFound, NotRegular, Locked, Denied, Other };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens for reading and takes an exclusive advisory lock without waiting.
    // Only regular files open: a directory or a device is refused.
    static File OpenExclusive(const std::string& path, OpenError* error = nullptr);

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    const std::string& Path() const { return path_; }

    // Current length from the open descriptor (follows a file that shrinks).
    uint64_t Length() const;

    // Reads up to count bytes at offset; returns the number read (short at end of file,
    // 0 on error). Does not move any shared position, so it is safe from several threads.
    size_t ReadAt(uint64_t offset, void* destination, size_t count) const;

    void Close();

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace pw
