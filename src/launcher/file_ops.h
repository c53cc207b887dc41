// The few file operations that loading and saving LAUNCH.INI make, behind one interface, so
// that the rules built on them (backup generations, recovery of a damaged file) run natively
// in tests against files held in memory that fail or stop wherever a test says.
#pragma once

#include "base/ini_document.h"

#include <string>

// What a read of a whole file found.
struct FileContent {
    enum class State {
        Read,         // bytes holds the file
        Missing,      // no file (or no folder) of that name
        Busy,         // held open by another program that shares no reading: may pass
        Unreadable,   // denied, an I/O error, a folder in its place
    };
    State state = State::Missing;
    std::string bytes;
};

class FileOps {
public:
    virtual ~FileOps() = default;

    virtual FileContent Read(const std::string& path) = 0;
    // The file's size in bytes, or -1 when there is no file of that name.
    virtual long long Size(const std::string& path) = 0;
    // Creates a new file of its own beside `path`, writes the bytes and flushes them; returns
    // its name, or "" when that failed (nothing is left behind then).
    virtual std::string WriteTemporary(const std::string& path, const std::string& bytes) = 0;
    // Renames `from` to `to` in one step, replacing a file that has that name.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;
    // Gives the file `existing` the second name `name` without copying a byte (a hard link);
    // false where the file system has no such thing, or `name` is taken.
    virtual bool Link(const std::string& existing, const std::string& name) = 0;
    // Waits before a read is tried again.
    virtual void Pause(int milliseconds) = 0;
    // The document the file's bytes hold (the Win32 side converts a UTF-16 file first).
    virtual IniDocument Parse(const std::string& bytes) { return IniDocument::Parse(bytes); }
};
