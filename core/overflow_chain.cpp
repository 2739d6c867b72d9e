#include "core/overflow_chain.h"

#include <algorithm>

namespace pw {

uint64_t AppendOverflowChain(const PageSource& pages, uint32_t first, uint64_t wanted,
                             size_t usableSize, bool bigEndianLinks, OverflowScratch& scratch) {
    if (usableSize <= 4) return wanted;
    const size_t perPage = usableSize - 4;
    scratch.chain.Clear();
    uint32_t next = first;
    while (wanted > 0 && pages.Contains(next) && scratch.chain.Enter(next)) {
        std::span<const uint8_t> page = pages.Page(next, scratch.overflowPage);
        if (page.size() < usableSize) break;
        size_t chunk = static_cast<size_t>(std::min<uint64_t>(wanted, perPage));
        scratch.gathered.append(reinterpret_cast<const char*>(page.data() + 4), chunk);
        wanted -= chunk;
        next = bigEndianLinks ? (uint32_t{page[0]} << 24) | (uint32_t{page[1]} << 16) |
                                    (uint32_t{page[2]} << 8) | page[3]
                              : (uint32_t{page[3]} << 24) | (uint32_t{page[2]} << 16) |
                                    (uint32_t{page[1]} << 8) | page[0];
    }
    return wanted;
}

}  // namespace pw
