#include "launcher/ini_file.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/message_box.h"
#include "launcher/ini_text.h"
#include "launcher/launch_generations.h"
#include "launcher/win32_file_ops.h"

#include <windows.h>

// Whether the file starts with the UTF-16LE byte order mark: its first two bytes only.
static bool IsUtf16File(const std::string& path)
{
    const HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return false;
    }
    const UniqueKernelHandle file(opened);
    char mark[2];
    DWORD read = 0;
    return ReadFile(file.Get(), mark, sizeof mark, &read, nullptr) &&
           StartsWithUtf16Mark(std::string(mark, read));
}

static Error WriteFailure(const std::string& path)
{
    return Error(FormatMessageText("%s に書き込めません", path));
}

IniDocument LoadIniFile(const std::string& path)
{
    Win32FileOps ops;
    const FileContent content = ops.Read(path);
    return content.state == FileContent::State::Read ? ops.Parse(content.bytes) : IniDocument();
}

LaunchFileAtStart LoadLaunchFileAtStart(const std::string& path)
{
    Win32FileOps ops;
    return LoadLaunchFileAtStart(ops, path);
}

IniDocument LoadIniFileForSave(FileOps& ops, const std::string& path)
{
    const FileContent content = ReadPatiently(ops, path);
    switch (content.state) {
    case FileContent::State::Read:
        return ChooseLaunchDocument(ops, path, content).document;
    case FileContent::State::Missing:
        return IniDocument();
    case FileContent::State::Busy:
    case FileContent::State::Unreadable:
        break;
    }
    throw WriteFailure(path);
}

IniDocument LoadIniFileForSave(const std::string& path)
{
    Win32FileOps ops;
    return LoadIniFileForSave(ops, path);
}

// Set once the user has been told that a save kept no backup, until one keeps it again.
static bool backupFailureTold = false;

static void TellBackupFailure(const std::string& path)
{
    if (backupFailureTold) {
        return;
    }
    backupFailureTold = true;
    ShowTaskModalMessageBox(application ? application->Handle() : nullptr, BackupFailureNotice(path),
                            application ? application->Title() : std::string("Mivtra"),
                            MB_OK | MB_ICONWARNING);
}

void SaveIniFile(const std::string& path, const IniDocument& document)
{
    const Error failure = WriteFailure(path);
    std::string bytes = document.Serialize();
    if (bytes.empty()) {
        bytes = "[FOLDER]\r\n";
    }

    const DWORD attributes = GetFileAttributesA(path.c_str());
    DWORD kept = 0;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A rename may well replace a read-only file; the profile functions would fail to
        // open it for writing, and so does this.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            throw failure;
        }
        // The new file takes over the attributes a user may have given the old one (hidden).
        kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        if (IsUtf16File(path)) {
            std::string wide;
            if (!IniTextToUtf16(bytes, wide)) {
                throw failure;
            }
            bytes = std::move(wide);
        }
    }

    Win32FileOps ops(kept);
    switch (SaveKeepingGenerations(ops, path, bytes)) {
    case SaveOutcome::Saved:
        backupFailureTold = false;
        return;
    case SaveOutcome::SavedWithoutBackup:
        TellBackupFailure(path);
        return;
    case SaveOutcome::Failed:
        break;
    }
    throw failure;
}
