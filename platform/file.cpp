#include "platform/file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw {

std::optional<FileStatus> StatPath(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    FileStatus status;
    status.size = static_cast<uint64_t>(st.st_size);
    status.regular = S_ISREG(st.st_mode);
    status.directory = S_ISDIR(st.st_mode);
    return status;
}

File::~File() { Close(); }

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

File File::OpenExclusive(const std::string& path, OpenError* error) {
    auto fail = [&](OpenError e) {
        if (error) *error = e;
        return File();
    };
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return fail(OpenError::NotFound);
        if (errno == EACCES || errno == EPERM) return fail(OpenError::Denied);
        return fail(OpenError::Other);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(OpenError::NotRegular);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return fail(OpenError::Locked);
    }
    // O_NONBLOCK only kept a FIFO or device from blocking the open; reads want it off.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    File file;
    file.fd_ = fd;
    file.path_ = path;
    if (error) *error = OpenError::None;
    return file;
}

uint64_t File::Length() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<uint64_t>(st.st_size);
}

size_t File::ReadAt(uint64_t offset, void* destination, size_t count) const {
    if (fd_ < 0) return 0;
    auto* out = static_cast<char*>(destination);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void File::Close() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace pw
