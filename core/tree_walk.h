#pragma once
// The one b-tree walk both engines use. It visits pages depth first from a root, in the
// order each page lists its children, and visits every page at most once: a child that
// was already visited (a cycle, or two parents claiming one page) or that lies outside
// the database ends that branch. Any input therefore ends after at most pageCount
// visits, and the walk keeps its own stack, so a deep or damaged tree costs memory in
// proportion to the file, never call-stack depth.
//
// Run visits pages only (format 3, where records live in leaves). RunInOrder also hands
// back entries of a page between its children, for b-trees whose interior cells hold
// records as well (format 2): a page lists "child L1, cell 1, child L2, cell 2, ...,
// right child", and cell k comes back after the whole subtree of L_k, which is key order.

#include <cstdint>
#include <vector>

namespace pw {

// One step of an in-order walk: a page to descend into, or an entry (a cell) of the page
// just read, handed back once every step listed before it is done.
struct WalkStep {
    uint64_t page = 0;
    uint32_t entry = 0;
    bool isEntry = false;

    static WalkStep Child(uint64_t page) { return {page, 0, false}; }
    static WalkStep Entry(uint64_t page, uint32_t entry) { return {page, entry, true}; }
};

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
            if (!Enter(page)) continue;
            children.clear();
            if (!visit(page, children)) {
                stopped_ = true;
                break;
            }
            for (auto it = children.rbegin(); it != children.rend(); ++it) stack_.push_back(*it);
        }
        stack_.clear();
    }

    // visit(page, steps) reads one page and appends its steps in order; entry(page, entry)
    // handles one entry. Either returns false to end the whole walk.
    template <class Visit, class Entry>
    void RunInOrder(uint64_t root, Visit&& visit, Entry&& entry) {
        std::vector<WalkStep> stack(1, WalkStep::Child(root));
        std::vector<WalkStep> steps;
        while (!stack.empty()) {
            WalkStep step = stack.back();
            stack.pop_back();
            bool go = true;
            if (step.isEntry) {
                go = entry(step.page, step.entry);
            } else if (Enter(step.page)) {
                steps.clear();
                go = visit(step.page, steps);
                stack.insert(stack.end(), steps.rbegin(), steps.rend());
            }
            if (!go) {
                stopped_ = true;
                break;
            }
        }
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
    // False, and the branch ends, for 0, a page past the last one, or one already visited.
    bool Enter(uint64_t page) {
        if (page == 0 || page > pageCount_ || seen_[page]) {
            ++skipped_;
            return false;
        }
        seen_[page] = true;
        return true;
    }

    std::vector<bool> seen_;
    std::vector<uint64_t> stack_;
    uint64_t pageCount_;
    uint64_t skipped_ = 0;
    bool stopped_ = false;
};

}  // namespace pw
