#include "shell/file_icons.h"

#include "framework/handles.h"
#include "framework/image_list.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

ULONGLONG Join(DWORD high, DWORD low)
{
    return (ULONGLONG{high} << 32) | low;
}

// How long every thread may be on one look-up before another takes on the files waiting, and
// how many may be stuck at once (each on a file that does not answer).
constexpr std::chrono::milliseconds kPatience{150};
constexpr int kMaxThreads = 4;

// IID_IImageList: the system image lists are handed out as this interface, which is the
// HIMAGELIST of the common controls.
constexpr GUID kImageListInterface = {
    0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};

}   // namespace

FileIcons::Stamp FileIcons::StampOf(const std::string& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) {
        return Stamp{};
    }
    // The creation time tells a file put in place of another (same size, same last write).
    return Stamp{data.dwFileAttributes, Join(data.nFileSizeHigh, data.nFileSizeLow),
                 Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                 Join(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime)};
}

HICON FileIcons::ShellIcon(const std::string& file, int size)
{
    // SHGetFileInfo gives the small and the large icon only: the index in the system image
    // lists reaches every size the shell keeps.
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(file.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX)) {
        return nullptr;
    }
    HIMAGELIST chosen = nullptr;
    int chosenSize = 0;
    for (int list : {SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE, SHIL_JUMBO}) {
        void* images = nullptr;   // not owned: the shell's own list, as long as the process runs
        int width = 0, height = 0;
        if (FAILED(SHGetImageList(list, kImageListInterface, &images)) || !images ||
            !ImageList_GetIconSize(static_cast<HIMAGELIST>(images), &width, &height)) {
            continue;
        }
        // The least that is not below the size; else the largest there is.
        const bool fits = width >= size, chosenFits = chosenSize >= size;
        if (!chosen || (fits && (!chosenFits || width < chosenSize)) ||
            (!fits && !chosenFits && width > chosenSize)) {
            chosen = static_cast<HIMAGELIST>(images);
            chosenSize = width;
        }
    }
    return chosen ? ImageList_GetIcon(chosen, info.iIcon, ILD_TRANSPARENT) : nullptr;
}

FileIcons::FileIcons(HWND notify, UINT message, IconSource source)
    : shared_(std::make_shared<Shared>()),
      pool_({[] {
                 // Behind the user-interface thread: the pictures may come a little later, the
                 // menu may not.
                 SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
                 CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
             },
             [] { CoUninitialize(); },
             [shared = shared_](Question& question) {
                 // Nothing may leave a thread's job: a failure costs the file its picture.
                 try {
                     const Stamp stamp = StampOf(question.file);
                     if (question.known && *question.known == stamp) {
                         return;
                     }
                     // owned: the source's new handle
                     UniqueIcon icon(shared->source(question.file, question.size));
                     Answer answer{question.round, std::move(question.file), stamp,
                                   ImageList::ReadPicture(icon.Get(), question.size, question.size)};
                     std::lock_guard<std::mutex> lock(shared->mutex);
                     shared->answers.push_back(std::move(answer));
                     if (shared->answers.size() == 1 && shared->notify) {
                         PostMessageA(shared->notify, shared->message, 0, 0);
                     }
                 } catch (...) {
                 }
             }},
            kPatience, kMaxThreads)
{
    shared_->notify = notify;
    shared_->message = message;
    shared_->source = source;
}

FileIcons::~FileIcons()
{
    // A look-up still under way finishes on its own, and tells nobody: the window may be gone.
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->notify = nullptr;
}

void FileIcons::Ask(std::vector<Question> questions)
{
    pool_.Replace(std::move(questions));
}

std::vector<FileIcons::Answer> FileIcons::TakeAnswers()
{
    std::vector<Answer> answers;
    std::lock_guard<std::mutex> lock(shared_->mutex);
    answers.swap(shared_->answers);
    return answers;
}

bool FileIcons::AnswersWaiting() const
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return !shared_->answers.empty();
}
