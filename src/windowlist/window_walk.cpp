#include "windowlist/window_walk.h"

#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/module_path.h"
#include "program_icons.h"

#include <shellapi.h>

#include <algorithm>

namespace {

// Titles and class names are read into buffers of this size: at most 255 bytes arrive.
constexpr int kTextBuffer = 256;

// The small image of the icon: the large one would be shrunk to 16 x 16 and blur.
void AddProgramIcon(ImageList& images, const std::string& path, int position)
{
    HICON small = nullptr;
    ExtractIconExA(path.c_str(), position, nullptr, &small, 1);
    UniqueIcon icon(small);   // owned: the list keeps its own copy of the image
    images.AddIcon(icon.Get());
}

// The class icon's entry in images, or -1. The class keeps its own icon; the list gets a copy.
int AddClassIcon(ImageList& images, HWND window)
{
    auto classIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCL_HICON));   // not owned
    if (!classIcon)
        return -1;
    UniqueIcon copy(CopyIcon(classIcon));
    return images.AddIcon(copy.Get());
}

}   // namespace

void ResetTaskPictures(ImageList& images)
{
    images.Clear();
    std::string path = ModuleFileName();
    AddProgramIcon(images, path, kClosedFolderIconPosition);
    AddProgramIcon(images, path, kWindowIconPosition);
}

bool IsTaskWindow(HWND window, const std::string& title, const std::vector<HWND>& ownWindows)
{
    return IsWindowVisible(window) && !title.empty() &&
           std::find(ownWindows.begin(), ownWindows.end(), window) == ownWindows.end();
}

void WalkWindows(HWND parent, ImageList& images, const std::vector<HWND>& ownWindows,
                 const std::function<void(const TaskWindow&)>& list)
{
    for (HWND window = GetWindow(parent, GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        char title[kTextBuffer] = "";
        char className[kTextBuffer] = "";
        GetWindowTextA(window, title, kTextBuffer);
        GetClassNameA(window, className, kTextBuffer);
        TaskWindow entry{title, className, AddClassIcon(images, window)};
        if (IsTaskWindow(window, entry.title, ownWindows))
            list(entry);
    }
}
