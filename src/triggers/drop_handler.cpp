#include "triggers/drop_handler.h"

#include "framework/label.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launch_tree.h"
#include "triggers/drop_files.h"

#include <string>
#include <utility>

namespace {

// The launcher list as a drop sees it: items appended at its top level, its save, the message.
class LauncherDrop : public DropRegistry {
public:
    LauncherDrop(LaunchList& list, Label& message) : list_(list), message_(message) {}

    void AddEntry(const DropEntry& entry) override
    {
        // A file changed on disk since the list last read or wrote it is the list the entry
        // joins; what the list held unsaved goes to the rescue copy first.
        if (list_.ChangedOnDisk()) {
            list_.RescueUnsaved(true);
            list_.Reload();
        }
        // At the end of the top level, whatever the dialog has selected; the window picture.
        LaunchEntry* node = EntryOf(list_.AddItemNode(kTopLevel, entry.name));
        node->File = entry.file;
        node->Option.clear();
        node->Dir = entry.dir;
    }
    void ShowMessage(const std::string& text) override { message_.SetCaption(text); }
    void Save() override { list_.Save(); }

private:
    LaunchList& list_;
    Label& message_;
};

}   // namespace

void HandleDroppedFiles(HDROP drop, LaunchList* list, Label* message)
{
    UniqueDrop owned(drop);
    if (!list || !message) {
        return;
    }
    LauncherDrop registry(*list, *message);
    RegisterDrop(std::move(owned), registry);
}
