#include "windowlist/window_walk.h"

#include "base/sjis.h"
#include "framework/handles.h"
#include "framework/icon.h"
#include "framework/icon_pictures.h"
#include "framework/image_list.h"
#include "framework/module_path.h"
#include "program_icons.h"

#include <shellapi.h>

#include <algorithm>

namespace {

// Titles and class names are read into buffers of this size: at most 255 bytes arrive.
constexpr int kTextBuffer = 256;

// The group's own image of the list's size: one shrunk or stretched to it would blur.
void AddProgramIcon(ImageList& images, const std::string& path, int position)
{
    images.AddIcon(ExtractIconOfSize(path, position, images.Width()).Get());
}

// The title the window holds, read without sending it a message (GetWindowText asks a window
// of our own process, and a thread of ours that hangs would hang the walk), cut to the bytes
// a buffer of kTextBuffer takes.
std::string TitleOf(HWND window)
{
    wchar_t wide[kTextBuffer] = L"";
    const int length = InternalGetWindowText(window, wide, kTextBuffer);
    char title[kTextBuffer * 2] = "";
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, title, sizeof title, nullptr, nullptr);
    return std::string(CutAtCharBoundary(std::string_view(title, bytes), kTextBuffer - 1));
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

void WalkWindows(HWND parent, ImageList& images, IconPictures& pictures, const std::vector<HWND>& ownWindows,
                 const std::function<void(const TaskWindow&)>& list)
{
    // Adding pictures one by one costs the platform far more than adding them all at once.
    std::vector<const Picture*> walked;
    const int first = images.Count();
    for (HWND window = GetWindow(parent, GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        const std::string title = TitleOf(window);
        char className[kTextBuffer] = "";
        GetClassNameA(window, className, kTextBuffer);
        // The class keeps its icon; the list gets a picture of it.
        auto classIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCL_HICON));   // not owned
        const Picture* picture = classIcon ? pictures.Find(classIcon, images) : nullptr;
        TaskWindow entry{title, className, -1};
        if (picture) {
            entry.imageIndex = first + static_cast<int>(walked.size());
            walked.push_back(picture);
        }
        if (IsTaskWindow(window, entry.title, ownWindows)) {
            list(entry);
        }
    }
    images.AddPictures(walked);
    pictures.EndRound();
}
