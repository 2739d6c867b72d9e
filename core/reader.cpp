#include "core/reader.h"

#include <cstring>
#include <new>

namespace pw {

bool Reader::Read(void* destination, uint32_t count) {
    if (!data || count >= length) return false;
    if (position >= length) return false;
    uint64_t available = length - position;
    uint64_t n = count <= available ? count : available;
    std::memcpy(destination, data + position, static_cast<size_t>(n));
    position += n;
    return n == count;
}

bool Reader::Seek(uint64_t offset) {
    if (!data || offset >= length) return false;
    position = offset;
    return true;
}

bool Reader::Open(const std::string&, uint32_t) { return true; }

bool Reader::ReadAt(uint64_t offset, void* destination, size_t count) const {
    const uint8_t* bytes = Data();
    if (!bytes || offset >= length) {
        std::memset(destination, 0, count);
        return count == 0;
    }
    uint64_t available = length - offset;
    size_t n = count <= available ? count : static_cast<size_t>(available);
    std::memcpy(destination, bytes + offset, n);
    if (n < count) std::memset(static_cast<uint8_t*>(destination) + n, 0, count - n);
    return n == count;
}

bool Reader_Buffer::Open(const std::string& filePath, uint32_t) {
    File file = File::OpenExclusive(filePath);
    if (!file.IsOpen()) return false;
    uint64_t size = file.Length();
    if (size == 0 || size >= kLimit) return false;
    try {
        buffer_.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (file.ReadAt(0, buffer_.data(), buffer_.size()) != buffer_.size()) {
        buffer_.clear();
        return false;
    }
    path = filePath;
    length = size;
    data = buffer_.data();
    position = 0;
    return true;
}

bool Reader_MemoryMapped::Open(const std::string& filePath, uint32_t) {
    File file = File::OpenExclusive(filePath);
    if (!file.IsOpen()) return false;
    uint64_t size = file.Length();
    if (!map_.Map(file, size)) return false;
    // The mapping keeps the bytes readable; the descriptor stays open only to hold the
    // lock, so that no other process opens the file while we read it.
    file_ = std::move(file);
    path = filePath;
    length = size;
    data = map_.Data();
    position = 0;
    return true;
}

bool Reader_Disk::Open(const std::string& filePath, uint32_t) {
    File file = File::OpenExclusive(filePath);
    if (!file.IsOpen()) return false;
    file_ = std::move(file);
    path = filePath;
    length = file_.Length();
    position = 0;
    return StatPath(filePath).has_value();
}

bool Reader_Disk::StillThere() const { return file_.IsOpen() && StatPath(path).has_value(); }

bool Reader_Disk::Read(void* destination, uint32_t count) {
    if (!StillThere()) return false;
    size_t n = file_.ReadAt(position, destination, count);
    position += n;
    return n == count;
}

bool Reader_Disk::Seek(uint64_t offset) {
    if (!StillThere()) return false;
    position = offset;
    return true;
}

uint64_t Reader_Disk::Close() {
    file_.Close();
    return 0;
}

bool Reader_Disk::ReadAt(uint64_t offset, void* destination, size_t count) const {
    size_t n = StillThere() ? file_.ReadAt(offset, destination, count) : 0;
    if (n < count) std::memset(static_cast<uint8_t*>(destination) + n, 0, count - n);
    return n == count;
}

bool Reader_Disk::DataLost() const { return !StillThere() || file_.Length() < length; }

std::unique_ptr<Reader> OpenReader(const std::string& path, ReaderKind kind) {
    std::unique_ptr<Reader> reader;
    switch (kind) {
        case ReaderKind::Buffer: reader = std::make_unique<Reader_Buffer>(); break;
        case ReaderKind::MemoryMapped: reader = std::make_unique<Reader_MemoryMapped>(); break;
        case ReaderKind::Disk: reader = std::make_unique<Reader_Disk>(); break;
    }
    if (!reader->Open(path, 0)) return nullptr;
    return reader;
}

std::unique_ptr<Reader> OpenReader(const std::string& path) {
    for (ReaderKind kind : {ReaderKind::Buffer, ReaderKind::MemoryMapped, ReaderKind::Disk}) {
        if (auto reader = OpenReader(path, kind)) return reader;
    }
    return nullptr;
}

}  // namespace pw
