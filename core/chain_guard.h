#pragma once
// Remembers the pages of one chain (an overflow chain, a freelist) so that a link back
// to a page already on it ends the chain. Short chains, the common case, are checked
// by a scan of a few entries; long ones switch to a hash set.

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace pw {

class ChainGuard {
public:
    void Clear() {
        recent_.clear();
        many_.clear();
    }
    // False when the page was already on the chain.
    bool Enter(uint64_t page) {
        if (many_.empty()) {
            if (std::find(recent_.begin(), recent_.end(), page) != recent_.end()) return false;
            recent_.push_back(page);
            if (recent_.size() > kShort) many_.insert(recent_.begin(), recent_.end());
            return true;
        }
        return many_.insert(page).second;
    }

private:
    static constexpr size_t kShort = 32;
    std::vector<uint64_t> recent_;
    std::unordered_set<uint64_t> many_;
};

}  // namespace pw
