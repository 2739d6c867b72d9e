#pragma once
// A host that keeps what an engine reports instead of showing it: the console front
// end prints it, the tests read it. Questions get the answer set in questionAnswer.

#include <string>
#include <vector>

#include "core/host.h"
#include "core/object_tree.h"

namespace pw {

class RecordingHost : public Host {
public:
    void AddLogLine(std::string_view text) override;
    void SetProgressRange(uint64_t maximum) override;
    void SetProgressPosition(uint64_t position) override;
    void ShowProgress(bool visible) override { progressVisible = visible; }
    MessageAnswer ShowMessage(const MessageBox& box) override;
    TreeItem InsertTreeItem(TreeItem parent, std::string_view text, int64_t data,
                            TreeInsert where) override;
    void ExpandTreeItem(TreeItem item) override { tree.Expand(item); }
    std::vector<int64_t> CheckedItemData(ObjectKind kind) const override;

    // Called for every line and box as it arrives (the console prints them at once).
    virtual void OnLogLine(std::string_view) {}
    virtual void OnMessage(const MessageBox&) {}

    ObjectTree tree;
    std::vector<std::string> log;
    std::vector<MessageBox> messages;
    MessageAnswer questionAnswer = MessageAnswer::No;
    // New tree items start checked, so that "every object" is the default selection.
    bool checkNewItems = true;

    uint64_t progressMaximum = 0;
    uint64_t progressPosition = 0;
    uint64_t progressRangeCount = 0;
    uint64_t progressPositionCount = 0;
    bool progressVisible = false;
};

}  // namespace pw
