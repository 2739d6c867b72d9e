#include "core/open_sequence.h"

#include "core/engine_factory.h"

namespace pw {

bool OpenDatabase(Host& host, const OpenSettings& settings, OpenedFile& opened) {
    host.file.path = settings.path;
    host.file.startOffset = settings.startOffset;
    host.file.pageSize = settings.pageSize > 0 ? static_cast<uint64_t>(settings.pageSize) : 0;

    if (!opened.reader) opened.reader = OpenReader(settings.path);
    if (!opened.reader) {
        host.ShowProgress(false);
        host.ShowMessage(MessageBox::Owned("File_LOCKED", "The Database file used in another prog"));
        return false;
    }
    host.file.reader = opened.reader.get();
    if (host.file.pageSize == 0) {
        host.ShowProgress(false);
        host.ShowMessage(
            MessageBox::Owned("Can't be parsed", "There is an error to open Database file"));
        return false;
    }
    uint64_t length = opened.reader->Length();
    host.file.pageCount =
        length > settings.startOffset ? (length - settings.startOffset) / host.file.pageSize : 0;

    host.rootItem = host.InsertTreeItem(0, settings.path, kRootItemData, TreeInsert::Last);
    for (int kind = 0; kind < kObjectKinds; ++kind) {
        host.groupItems[kind] = host.InsertTreeItem(host.rootItem, kGroupTexts[kind],
                                                    GroupItemData(static_cast<ObjectKind>(kind)),
                                                    TreeInsert::Last);
    }

    opened.engine = CreateEngine(settings.format, host);
    if (!opened.engine) {
        host.ShowProgress(false);
        return false;
    }
    opened.engine->utf8Text = settings.utf8Text;
    opened.engine->utf16Text = settings.utf16Text;
    opened.engine->utf16BigEndian = settings.utf16Text && settings.utf16BigEndian;
    host.AddLogLine(" File is Parsing ");
    opened.engine->ScanSchema(settings.path);

    host.ShowMessage(MessageBox::Notice(kScanCompleted));
    host.AddLogLine(kScanCompleted);
    host.ShowProgress(false);
    host.ExpandTreeItem(host.rootItem);
    return true;
}

}  // namespace pw
