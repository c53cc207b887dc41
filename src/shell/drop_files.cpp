// The drop window's WM_DROPFILES: dropped paths become items at the end of the launcher list.
#include "shell/TTASKM.h"

#include "framework/label.h"
#include "launcher/TCONF.h"
#include "launcher/launch_tree.h"
#include "launcher/tnode.h"
#include "triggers/drop_files.h"

namespace {

// The launcher list as the drop sees it: the settings dialog's tree, its save, and Label3.
class LauncherDrop : public DropRegistry {
public:
    LauncherDrop(TCONF& launcher, Label& message) : launcher_(launcher), message_(message) {}

    void AddEntry(const DropEntry& entry) override
    {
        // At the end of the top level, whatever the dialog has selected; the window picture.
        TNode* node = EntryOf(launcher_.AddItemNode(kTopLevel, entry.name));
        node->File = entry.file;
        node->Option.clear();
        node->Dir = entry.dir;
    }
    void ShowMessage(const std::string& text) override { message_.SetCaption(text); }
    void Save() override { launcher_.Button6Click(nullptr); }

private:
    TCONF& launcher_;
    Label& message_;
};

}   // namespace

void TTASKM::WMDropFiles(HDROP drop)
{
    UniqueDrop owned(drop);
    if (!launcher_ || !label3_) {
        return;
    }
    LauncherDrop registry(*launcher_, *label3_);
    RegisterDrop(std::move(owned), registry);
}
