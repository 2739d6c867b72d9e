#include "platform/instance_lock.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pw {

std::string InstanceLockPath(const std::string& name) {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    if (!folder || !*folder) folder = std::getenv("TMPDIR");
    if (!folder || !*folder) folder = "/tmp";
    std::string file;
    for (char c : name) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '_' || c == '-' || c == '.' || c == '{' || c == '}';
        file.push_back(plain ? c : '_');
    }
    return std::string(folder) + "/" + file + ".lock";
}

InstanceLock::InstanceLock(const std::string& name) : path_(InstanceLockPath(name)) {
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace pw
