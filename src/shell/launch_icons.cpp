// The launcher items' pictures: kept with the submenu from one opening to the next, and
// looked up again in the background when the list changes or a file does.
#include "shell/TTASKM.h"

#include "framework/popup_menu.h"
#include "launcher/launch_list.h"

void TTASKM::LauncherChanged()
{
    if (launchList_ && launch_ && launchPictures_) {
        launchPictures_->ListChanged(launchList_->Items(), *launch_);
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
