#include "launcher/system_paths.h"

#include "framework/module_path.h"

#include <windows.h>

namespace {

std::optional<std::string> EnvironmentVariable(const std::string& name)
{
    std::string value(MAX_PATH, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length =
            GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            return std::nullopt;
        }
        // Too small a buffer gives the size the value needs.
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}

}   // namespace

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

PathLookups SystemPathLookups()
{
    return PathLookups{ModuleDirectory(), EnvironmentVariable, PathExists};
}
