#pragma once
// One running copy per user: a lock file in the runtime folder, named after the
// instance name, held for the life of the process. The system drops the lock when
// the process ends, however it ends, so a later start always works.

#include <string>

namespace pw {

class InstanceLock {
public:
    explicit InstanceLock(const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock ("already exists").
    bool Acquired() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// The lock file's path for an instance name: characters that cannot stand in a file
// name are replaced, and the folder is $XDG_RUNTIME_DIR (or the temporary folder).
std::string InstanceLockPath(const std::string& name);

}  // namespace pw
