// The file operations of LAUNCH.INI on the platform's files.
#pragma once

#include "launcher/file_ops.h"

#include <windows.h>

class Win32FileOps : public FileOps {
public:
    // `keptAttributes` (hidden, system, archive) go to every file it writes, as a user may have
    // given them to the file it replaces.
    explicit Win32FileOps(DWORD keptAttributes = 0) : keptAttributes_(keptAttributes) {}

    // A file held by another program without shared reading (a sharing or lock violation) is
    // Busy; any other failure to open or read it, a folder in its place included, Unreadable.
    FileContent Read(const std::string& path) override;
    long long Size(const std::string& path) override;
    std::string WriteTemporary(const std::string& path, const std::string& bytes) override;
    bool Move(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    bool Link(const std::string& existing, const std::string& name) override;
    void Pause(int milliseconds) override;
    // A file that starts with the UTF-16LE byte order mark is converted to code page 932 first.
    IniDocument Parse(const std::string& bytes) override;

private:
    DWORD keptAttributes_;
};
