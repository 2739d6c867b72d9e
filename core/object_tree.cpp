#include "core/object_tree.h"

namespace pw {

TreeItem ObjectTree::Insert(TreeItem parent, std::string_view text, int64_t data,
                            TreeInsert where) {
    Item item;
    item.parent = Find(parent) ? parent : 0;
    item.text = std::string(text);
    item.data = data;
    items_.push_back(std::move(item));
    TreeItem id = items_.size();
    std::vector<TreeItem>& siblings = parent && Find(parent) ? Mutable(parent)->children : topLevel_;
    if (where == TreeInsert::First)
        siblings.insert(siblings.begin(), id);
    else
        siblings.push_back(id);
    return id;
}

void ObjectTree::Expand(TreeItem item) {
    if (Item* found = Mutable(item)) found->expanded = true;
}

void ObjectTree::Clear() {
    items_.clear();
    topLevel_.clear();
}

const ObjectTree::Item* ObjectTree::Find(TreeItem item) const {
    return item >= 1 && item <= items_.size() ? &items_[item - 1] : nullptr;
}

ObjectTree::Item* ObjectTree::Mutable(TreeItem item) {
    return item >= 1 && item <= items_.size() ? &items_[item - 1] : nullptr;
}

const std::vector<TreeItem>& ObjectTree::Children(TreeItem item) const {
    static const std::vector<TreeItem> kNone;
    const Item* found = Find(item);
    return found ? found->children : kNone;
}

void ObjectTree::SetChecked(TreeItem item, bool checked) {
    std::vector<TreeItem> pending{item};
    while (!pending.empty()) {
        Item* current = Mutable(pending.back());
        pending.pop_back();
        if (!current) continue;
        current->checked = checked;
        pending.insert(pending.end(), current->children.begin(), current->children.end());
    }
}

CheckState ObjectTree::State(TreeItem item) const {
    const Item* found = Find(item);
    if (!found) return CheckState::Unchecked;
    if (found->children.empty()) return found->checked ? CheckState::Checked : CheckState::Unchecked;
    bool any = false, all = true;
    for (TreeItem child : found->children) {
        CheckState state = State(child);
        any = any || state != CheckState::Unchecked;
        all = all && state == CheckState::Checked;
    }
    return all ? CheckState::Checked : any ? CheckState::Mixed : CheckState::Unchecked;
}

std::vector<int64_t> ObjectTree::CheckedChildData(TreeItem parent) const {
    std::vector<int64_t> data;
    for (TreeItem child : Children(parent))
        if (State(child) == CheckState::Checked) data.push_back(Find(child)->data);
    return data;
}

}  // namespace pw
