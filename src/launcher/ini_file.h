// LAUNCH.INI on disk: read once into an IniDocument, written back once, all or nothing.
#pragma once

#include "base/ini_document.h"

#include <windows.h>

#include <string>

// The document of the file at the full path `path`. A missing file, or one that cannot be
// opened or read, is an empty document: the profile functions read such a file as all
// defaults. A file that starts with the UTF-16LE byte order mark (FF FE), which Windows reads
// as Unicode, is converted to code page 932 first; characters that code page lacks become a
// look-alike or '?', as they do when the A functions return them. Any other file is taken as
// code page 932 bytes, including one that starts with the UTF-8 byte order mark.
IniDocument LoadIniFile(const std::string& path);

// The document a save starts from, to keep every section it does not write. As LoadIniFile,
// but a file that exists and cannot be read (held open without shared reading, denied, a
// folder in its place) throws Error("<path> に書き込めません"): starting from an empty
// document would replace the file with one that lost all it held.
IniDocument LoadIniFileForSave(const std::string& path);

// Replaces the file with the document's bytes: they go to a temporary file in the same folder,
// are flushed, and the temporary file then takes the place of the old one in a single rename.
// A file that is UTF-16LE now stays UTF-16LE (with its byte order mark), as the profile
// functions keep a file's encoding; anything else, and a new file, is written as code page 932.
// On any failure, including a read-only file that the profile functions could not open for
// writing either, the temporary file is removed, the old file keeps every byte, and
// Error("<path> に書き込めません") is thrown.
void SaveIniFile(const std::string& path, const IniDocument& document);

// How the file is opened for reading: CreateFileA's signature. Tests replace it to stand for a
// file that another program holds (Wine cannot make a file unreadable to its owner); returns
// the one used before.
using IniFileOpenFunction = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                            HANDLE);
IniFileOpenFunction SetIniFileOpenForReading(IniFileOpenFunction open);
