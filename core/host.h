#pragma once
// What an engine reports through and reads from: the window of the desktop program,
// the console front end, or a recording host in the tests. An engine holds a plain
// reference to its host and reaches the user only through these operations.

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages.h"
#include "core/page_source.h"
#include "core/schema.h"

namespace pw {

class Reader;

using TreeItem = uint64_t;  // 0: none, or the tree's top level as a parent
enum class TreeInsert { First, Last };

// Item data of the tree's fixed items; objects carry their position in their list.
inline constexpr int64_t kRootItemData = -1;
inline constexpr int64_t GroupItemData(ObjectKind kind) { return -2 - static_cast<int64_t>(kind); }
inline constexpr const char* kGroupTexts[kObjectKinds] = {"TABLES  ", "INDEXES  ", "VIEWS  ",
                                                          "TRIGGERS  "};

// The opened file as the host holds it: the engines read these values.
struct DatabaseFile {
    std::string path;
    uint64_t startOffset = 0;
    uint64_t pageSize = 0;
    uint64_t pageCount = 0;
    const Reader* reader = nullptr;

    PageSource Pages() const {
        return PageSource(reader, startOffset, static_cast<uint32_t>(pageSize), pageCount);
    }
};

class Host {
public:
    virtual ~Host() = default;

    virtual void AddLogLine(std::string_view text) = 0;
    virtual void SetProgressRange(uint64_t maximum) = 0;
    virtual void SetProgressPosition(uint64_t position) = 0;
    virtual void ShowProgress(bool /*visible*/) {}
    // Shows the box and waits for the answer (a worker is blocked until then).
    virtual MessageAnswer ShowMessage(const MessageBox& box) = 0;

    // Object tree. parent 0 inserts at the top level.
    virtual TreeItem InsertTreeItem(TreeItem parent, std::string_view text, int64_t data,
                                    TreeInsert where) = 0;
    virtual void ExpandTreeItem(TreeItem item) = 0;
    // Item data of the checked children of a group, in tree order.
    virtual std::vector<int64_t> CheckedItemData(ObjectKind kind) const = 0;

    // The root and four group items of the opened file's tree (0 before they exist).
    TreeItem rootItem = 0;
    TreeItem groupItems[kObjectKinds] = {0, 0, 0, 0};
    TreeItem GroupItem(ObjectKind kind) const { return groupItems[static_cast<int>(kind)]; }

    // One map per group, object name to its positions in the engine's list: a tree item
    // is inserted only for a name new to its map.
    std::map<std::string, std::vector<int64_t>> nameMaps[kObjectKinds];
    std::map<std::string, std::vector<int64_t>>& NameMap(ObjectKind kind) {
        return nameMaps[static_cast<int>(kind)];
    }

    DatabaseFile file;
    std::atomic<bool> m_bStopRequested{false};
    bool StopRequested() const { return m_bStopRequested.load(std::memory_order_relaxed); }

    // Empties what the host keeps of the previous file.
    void ResetFileState() {
        rootItem = 0;
        for (auto& item : groupItems) item = 0;
        for (auto& map : nameMaps) map.clear();
        file = DatabaseFile();
    }
};

}  // namespace pw
