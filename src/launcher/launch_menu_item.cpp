#include "launcher/launch_menu_item.h"

#include "launcher/launch_list.h"

void LaunchMenuItem::Click()
{
    if (launches_ && list_) {
        list_->StartEntry(nodeIndex_);
    }
}
