// The launcher items' pictures: kept with the submenu from one opening to the next, and
// looked up again in the background when the list changes or a file does.
#include "shell/TTASKM.h"

#include "framework/popup_menu.h"
#include "framework/tree_view.h"
#include "launcher/TCONF.h"

void TTASKM::LauncherChanged()
{
    if (launcher_ && launch_ && launchPictures_) {
        launchPictures_->ListChanged(launcher_->TreeView()->Items(), *launch_);
        // The submenu's handle is made once start-up or the save is over, not within it.
        PostMessageA(Handle(), kLaunchPicturesMessage, 0, 0);
    }
}

void TTASKM::TakeLaunchPictures()
{
    if (launch_) {
        launchPictures_->TakeAnswers(*launch_);
        popupMenu_->PrepareKept(launch_);
    }
}
