// The walk over the top-level windows that fills the task submenu and the pictures it
// shares with the launcher submenu.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class IconPictures;
class ImageList;

// Entries 0 and 1 of the shared pictures, which launcher folders and plain windows refer to.
constexpr int kFolderPicture = 0;
constexpr int kWindowPicture = 1;

// A window the task submenu lists; it is found again by class name and title, never by handle.
struct TaskWindow {
    std::string title;
    std::string className;
    int imageIndex;   // -1: the class has no icon
};

// Empties the list and puts the program's folder and window pictures at entries 0 and 1, drawn
// at the list's size.
void ResetTaskPictures(ImageList& images);

// Whether a window belongs in the task submenu: shown, titled, and not one of ours.
bool IsTaskWindow(HWND window, const std::string& title, const std::vector<HWND>& ownWindows);

// Visits parent's children in Z order, topmost first. Every visited window whose class has an
// icon adds a picture of it to images, listed or not, all in one step after the walk; each
// window that IsTaskWindow accepts is handed to `list` with the entry its class icon will have.
// The pictures of icons that an earlier walk met come from `pictures`, which serves `images`
// from walk to walk.
void WalkWindows(HWND parent, ImageList& images, IconPictures& pictures, const std::vector<HWND>& ownWindows,
                 const std::function<void(const TaskWindow&)>& list);
