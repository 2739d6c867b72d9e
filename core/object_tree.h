#pragma once
// The object tree without a window: items with text, item data and check boxes with
// smart checking. The console front end and the tests use it as their tree; the
// desktop program mirrors the same operations onto its tree widget.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"

namespace pw {

enum class CheckState { Unchecked, Checked, Mixed };

class ObjectTree {
public:
    struct Item {
        TreeItem parent = 0;
        std::string text;
        int64_t data = 0;
        std::vector<TreeItem> children;
        bool checked = false;
        bool expanded = false;
    };

    TreeItem Insert(TreeItem parent, std::string_view text, int64_t data, TreeInsert where);
    void Expand(TreeItem item);
    void Clear();

    const Item* Find(TreeItem item) const;
    const std::vector<TreeItem>& TopLevel() const { return topLevel_; }
    const std::vector<TreeItem>& Children(TreeItem item) const;

    // Checking an item gives its state to every descendant.
    void SetChecked(TreeItem item, bool checked);
    // An item with children is checked when all are, unchecked when none is, else mixed.
    CheckState State(TreeItem item) const;
    std::vector<int64_t> CheckedChildData(TreeItem parent) const;

private:
    Item* Mutable(TreeItem item);
    std::vector<Item> items_;  // item n lives at items_[n - 1]
    std::vector<TreeItem> topLevel_;
};

}  // namespace pw
