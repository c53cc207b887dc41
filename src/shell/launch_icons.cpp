// The launcher items' pictures: kept with the submenu from one opening to the next, and
// looked up again in the background when the list changes or a file does.
#include "shell/main_window.h"

#include "framework/popup_menu.h"
#include "launcher/launch_list.h"

void MainWindow::LauncherChanged()
{
    if (launchList_ && launcherSubmenu_ && launchPictures_) {
        launchPictures_->ListChanged(launchList_->Items(), *launcherSubmenu_);
        // The submenu's handle is made once start-up or the save is over, not within it.
        PostMessageA(Handle(), kLaunchPicturesMessage, 0, 0);
    }
}

void MainWindow::TakeLaunchPictures()
{
    if (launcherSubmenu_) {
        launchPictures_->TakeAnswers(*launcherSubmenu_);
        menu_->PrepareKept(launcherSubmenu_);
    }
}
