#include "framework/module_path.h"

#include "base/sjis.h"

#include <windows.h>

namespace {

template <typename Text, typename Function>
Text ModulePathText(Function getModuleFileName)
{
    Text path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = getModuleFileName(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return Text();
        }
        // A full buffer means the path was cut: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}   // namespace

std::string ModuleFileName()
{
    return ModulePathText<std::string>(GetModuleFileNameA);
}

std::wstring ModuleFileNameW()
{
    return ModulePathText<std::wstring>(GetModuleFileNameW);
}

std::string ModuleDirectory()
{
    return ExtractFilePath(ModuleFileName());
}
