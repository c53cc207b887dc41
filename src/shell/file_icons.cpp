#include "shell/file_icons.h"

#include "framework/handles.h"
#include "framework/image_list.h"
#include "launcher/system_paths.h"

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

HICON FileIcons::ShellIcon(const std::string& file)
{
    SHFILEINFOA info{};
    SHGetFileInfoA(file.c_str(), 0, &info, sizeof info, SHGFI_ICON);
    return info.hIcon;
}

FileIcons::FileIcons(HWND notify, UINT message, int width, int height, IconSource source)
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
                     const std::string path = FirstPlace(question.file, PathExists);
                     const Stamp stamp = StampOf(path);
                     if (question.known && *question.known == stamp) {
                         return;
                     }
                     UniqueIcon icon(shared->source(path));   // owned: the source's new handle
                     Answer answer{question.round, std::move(question.file), stamp,
                                   ImageList::ReadPicture(icon.Get(), shared->width, shared->height)};
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
    shared_->width = width;
    shared_->height = height;
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
