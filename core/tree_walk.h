#pragma once
// The one b-tree walk both engines use. It visits pages depth first from a root, in the
// order each page lists its children, and visits every page at most once: a child that
// was already visited (a cycle, or two parents claiming one page) or that lies outside
// the database ends that branch. Any input therefore ends after at most pageCount
// visits, and the walk keeps its own stack, so a deep or damaged tree costs memory in
// proportion to the file, never call-stack depth.

#include <cstdint>
#include <vector>

namespace pw {

class TreeWalk {
public:
    explicit TreeWalk(uint64_t pageCount) : seen_(pageCount + 1, false), pageCount_(pageCount) {}

    // visit(page, children) reads one page and appends the pages below it, in order, to
    // children; it returns false to end the whole walk (a stop request).
    template <class Visit>
    void Run(uint64_t root, Visit&& visit) {
        stack_.assign(1, root);
        std::vector<uint64_t> children;
        while (!stack_.empty()) {
            uint64_t page = stack_.back();
            stack_.pop_back();
            if (page == 0 || page > pageCount_ || seen_[page]) {
                ++skipped_;
                continue;
            }
            seen_[page] = true;
            children.clear();
            if (!visit(page, children)) {
                stopped_ = true;
                break;
            }
            for (auto it = children.rbegin(); it != children.rend(); ++it) stack_.push_back(*it);
        }
        stack_.clear();
    }

    bool Visited(uint64_t page) const { return page <= pageCount_ && seen_[page]; }
    // Counts a page as visited without reading it (a root the caller reads itself).
    void MarkVisited(uint64_t page) {
        if (page <= pageCount_) seen_[page] = true;
    }
    // Children that ended their branch: already visited, 0, or past the last page.
    uint64_t skipped() const { return skipped_; }
    bool stopped() const { return stopped_; }

private:
    std::vector<bool> seen_;
    std::vector<uint64_t> stack_;
    uint64_t pageCount_;
    uint64_t skipped_ = 0;
    bool stopped_ = false;
};

}  // namespace pw
