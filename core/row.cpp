#include "core/row.h"

#include <cstring>

namespace pw {

char* RowScratch::Allocate(size_t count) {
    if (count > kBlockSize / 4) {
        large_.push_back(std::make_unique<char[]>(count ? count : 1));
        return large_.back().get();
    }
    if (block_ < blocks_.size() && used_ + count > kBlockSize) {
        ++block_;
        used_ = 0;
    }
    if (block_ == blocks_.size()) {
        blocks_.push_back(std::make_unique<char[]>(kBlockSize));
        used_ = 0;
    }
    char* room = blocks_[block_].get() + used_;
    used_ += count;
    return room;
}

std::string_view RowScratch::Commit(const std::string& text) {
    char* room = Allocate(text.size());
    std::memcpy(room, text.data(), text.size());
    return {room, text.size()};
}

}  // namespace pw
