// Watches a folder for changes on a thread of its own and tells a window when they have
// settled, with a posted message: the window's thread takes the change in, never this one.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <string>
#include <thread>

class FolderWatch {
public:
    // Changes of a file's name, size or write time in `folder` (not its subfolders). The
    // message is posted once the folder has been quiet for kQuietMilliseconds after a change,
    // or kLongestWaitMilliseconds after it at the latest, so that a file being written is
    // read whole. A folder that cannot be watched is not an error: nothing is posted.
    FolderWatch(const std::string& folder, HWND window, UINT message);
    // Stops the thread and waits for it.
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Watching() const { return thread_.joinable(); }

    static constexpr DWORD kQuietMilliseconds = 200;
    static constexpr DWORD kLongestWaitMilliseconds = 1000;

private:
    void Run(HANDLE change, HWND window, UINT message);

    UniqueKernelHandle stop_;   // owned: set to end the thread
    std::thread thread_;
};
