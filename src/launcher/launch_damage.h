// A damaged LAUNCH.INI and what is loaded in its place: the newest backup generation that
// loads. Decided from the bytes alone, so that a start and a save judge a file alike.
#pragma once

#include "base/ini_document.h"
#include "launcher/file_ops.h"

#include <string>

enum class Damage {
    None,                 // a sound file, or a missing one (an empty list, as always)
    Unreadable,           // it cannot be read, even after waiting for another program
    Empty,                // no bytes at all
    Zeroed,               // nothing but zero bytes, as a hard power-off can leave a file
    NoLauncherSections,   // no trace of a launcher list while a backup holds one
};

// How long a read waits, all told, for another program that holds the file without sharing.
inline constexpr int kBusyRetryPause = 100;   // milliseconds
inline constexpr int kBusyRetries = 20;

// Reads the file; while another program holds it, tries again every kBusyRetryPause
// milliseconds, kBusyRetries times.
FileContent ReadPatiently(FileOps& ops, const std::string& path);

// Whether the document holds the sections of a launcher list: "FOLDER", "PARENT" or
// "ExecInfo0". A list the user emptied still has them: the save empties "FOLDER" and
// "PARENT" but leaves the nodes' own sections, and an empty list written where none stood
// before keeps an empty "FOLDER" section (SaveIniFile). So a file without any of them
// did not come from a save of the list.
bool HoldsLauncherSections(const IniDocument& document);

// Empty or nothing but zero bytes: a file that holds nothing at all.
bool IsBlank(const std::string& bytes);

// What the file's content is, not counting backups: Unreadable for Busy and Unreadable,
// NoLauncherSections for any readable file without launcher sections (see DamageOf).
Damage ClassifyContent(const FileContent& content, const IniDocument& document);

// The document to use for the list at `path`, and why.
struct LaunchDocument {
    IniDocument document;
    Damage damage = Damage::None;   // of the file at `path`
    int generation = 0;             // the backup loaded in its place, 0 for none
};

// A sound or missing file gives its own document. A damaged one gives the newest backup
// generation that is sound itself; when none is, an empty document, except that a file that
// only lacks launcher sections gives its own, with damage None (a backup would have to hold
// some for that to count as damage).
LaunchDocument ChooseLaunchDocument(FileOps& ops, const std::string& path, const FileContent& content);

// The damage of a file a save is about to replace, read as `bytes`, judged as
// ChooseLaunchDocument judges it but quick for a file that plainly holds a launcher list (a
// save stays fast): damage that counts only when a backup loads in its place, so None unless
// one does.
Damage DamageOf(FileOps& ops, const std::string& path, const std::string& bytes);

// The notice of a start that found the file damaged, naming the file and the backup loaded,
// or saying that none could be; empty when there is nothing to say.
std::string RecoveryNotice(const std::string& path, const LaunchDocument& chosen);

// The list to start with: the document ChooseLaunchDocument gives for the file at `path`
// (read with ReadPatiently) and its RecoveryNotice. Nothing on disk changes.
struct LaunchFileAtStart {
    IniDocument document;
    std::string notice;
};
LaunchFileAtStart LoadLaunchFileAtStart(FileOps& ops, const std::string& path);
