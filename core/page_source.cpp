#include "core/page_source.h"

namespace pw {

std::span<const uint8_t> PageSource::Page(uint64_t page, PageBuffer& scratch) const {
    if (!reader_ || pageSize_ == 0 || !Contains(page)) return {};
    uint64_t offset = Offset(page);
    if (offset + pageSize_ > reader_->Length()) return {};
    if (const uint8_t* data = reader_->Data()) return {data + offset, pageSize_};
    scratch.resize(pageSize_);
    if (!reader_->ReadAt(offset, scratch.data(), pageSize_)) return {};
    return {scratch.data(), pageSize_};
}

void PageSource::ReleaseThrough(uint64_t page) const {
    if (reader_ && page >= 1) reader_->Release(startOffset_, page * uint64_t{pageSize_});
}

}  // namespace pw
