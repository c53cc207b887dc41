// The launcher items' pictures: the shell's icon of each entry's file, added afresh at every
// opening of the menu, and asked of the shell again only when the file changed.
#include "shell/TTASKM.h"

#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "launcher/launch_list.h"
#include "launcher/launch_menu_plan.h"
#include "launcher/tnode.h"
#include "windowlist/window_walk.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}   // namespace

void TTASKM::GetLaunchIcon()
{
    if (!launchList_ || !launch_) {
        return;
    }
    // The items Launch owns, by name as a component look-up compares names (ignoring case,
    // the first of a name winning), gathered once rather than searched once per node.
    std::unordered_map<std::string, MenuItem*> items;
    for (int i = 0; i < launch_->ComponentCount(); ++i) {
        if (auto* item = dynamic_cast<MenuItem*>(launch_->Components(i))) {
            items.emplace(UpperCase(item->Name()), item);
        }
    }
    const TreeModel& tree = launchList_->Items();
    // One picture per item whose file has an icon, all added in one step after the loop.
    std::vector<const Picture*> pictures;
    const int first = imageList_->Count();
    for (int i = 0; i < tree.Count(); ++i) {
        const auto found = items.find(LaunchMenuItemName(i));
        MenuItem* item = found == items.end() ? nullptr : found->second;
        const TNode* entry = EntryOf(tree.Node(i));
        if (!entry) {
            if (item) {
                item->SetImageIndex(kFolderPicture);
            }
            continue;
        }
        int index = -1;
        if (const Picture* picture = launchIcons_.Find(entry->File, *imageList_)) {
            index = first + static_cast<int>(pictures.size());
            pictures.push_back(picture);
        }
        if (item) {
            item->SetImageIndex(index);
        }
    }
    imageList_->AddPictures(pictures);
    launchIcons_.EndRound();
}
