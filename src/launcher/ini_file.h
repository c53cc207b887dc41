// LAUNCH.INI on disk: read once into an IniDocument, written back once, all or nothing, with
// the backup generations of the versions it replaces.
#pragma once

#include "base/ini_document.h"
#include "launcher/launch_damage.h"

#include <windows.h>

#include <string>

// The document of the file at the full path `path` (ParseIniFileBytes). A missing file, or one
// that cannot be opened or read, is an empty document: the profile functions read such a file
// as all defaults.
IniDocument LoadIniFile(const std::string& path);

// The list to start with (LoadLaunchFileAtStart): the file's document, or, when the file is
// damaged, the newest backup generation that loads and the notice that says so.
LaunchFileAtStart LoadLaunchFileAtStart(const std::string& path);

// The document a save starts from, to keep every section it does not write. A file that
// another program holds is waited for (ReadPatiently); one that still cannot be read (held,
// denied, a folder in its place) throws Error("<path> に書き込めません"): starting from an
// empty document would replace the file with one that lost all it held. A damaged file gives
// the backup the start loaded in its place (ChooseLaunchDocument), so that nothing of it is
// carried into the new file.
IniDocument LoadIniFileForSave(const std::string& path);
IniDocument LoadIniFileForSave(FileOps& ops, const std::string& path);

// Replaces the file with the document's bytes (SaveKeepingGenerations): they go to a temporary
// file in the same folder, are flushed, and the temporary file then takes the place of the old
// one in a single rename, after the version it replaces was kept as a backup generation. A file
// that is UTF-16LE now stays UTF-16LE (with its byte order mark), as the profile functions keep
// a file's encoding; anything else, and a new file, is written as code page 932. An empty
// document is written as an empty "FOLDER" section: an empty list saved on purpose, never a
// file of no bytes. On any failure, including a read-only file that the profile functions could
// not open for writing either, the temporary file is removed, the old file keeps every byte,
// and Error("<path> に書き込めません") is thrown. A version that could not be kept does not stop
// the save: the user is told (BackupFailureNotice), once until a save keeps its version again.
void SaveIniFile(const std::string& path, const IniDocument& document);

// How the file is opened for reading: CreateFileA's signature. Tests replace it to stand for a
// file that another program holds (Wine cannot make a file unreadable to its owner); returns
// the one used before.
using IniFileOpenFunction = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                            HANDLE);
IniFileOpenFunction SetIniFileOpenForReading(IniFileOpenFunction open);
