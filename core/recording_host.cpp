#include "core/recording_host.h"

namespace pw {

void RecordingHost::AddLogLine(std::string_view text) {
    log.emplace_back(text);
    OnLogLine(text);
}

void RecordingHost::SetProgressRange(uint64_t maximum) {
    progressMaximum = maximum;
    ++progressRangeCount;
}

void RecordingHost::SetProgressPosition(uint64_t position) {
    progressPosition = position;
    ++progressPositionCount;
}

MessageAnswer RecordingHost::ShowMessage(const MessageBox& box) {
    messages.push_back(box);
    OnMessage(box);
    if (box.buttons == MessageButtons::YesNo) return questionAnswer;
    return MessageAnswer::Ok;
}

TreeItem RecordingHost::InsertTreeItem(TreeItem parent, std::string_view text, int64_t data,
                                       TreeInsert where) {
    TreeItem item = tree.Insert(parent, text, data, where);
    if (checkNewItems) tree.SetChecked(item, true);
    return item;
}

std::vector<int64_t> RecordingHost::CheckedItemData(ObjectKind kind) const {
    return tree.CheckedChildData(GroupItem(kind));
}

}  // namespace pw
