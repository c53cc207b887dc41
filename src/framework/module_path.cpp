#include "framework/module_path.h"

#include "base/sjis.h"

#include <windows.h>

std::string ModuleFileName()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::string();
        }
        // A full buffer means the path was cut: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ModuleDirectory()
{
    return ExtractFilePath(ModuleFileName());
}
