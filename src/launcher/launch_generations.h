// The backup generations of LAUNCH.INI: before a save replaces the file, the version it
// replaces is kept beside it, newest first, as "LAUNCH.INI.1" to "LAUNCH.INI.5".
#pragma once

#include "launcher/file_ops.h"

#include <string>

inline constexpr int kBackupGenerations = 5;

// "<path>.<generation>", generation 1 the newest.
std::string BackupName(const std::string& path, int generation);
// "<path>.damaged": where a save puts a damaged file rather than replacing it.
std::string DamagedName(const std::string& path);

enum class SaveOutcome {
    Saved,
    SavedWithoutBackup,   // the file was replaced, but the version it held could not be kept
    Failed,               // nothing changed: the old file keeps every byte
};

// Replaces the file at `path` with `bytes` in one rename, after the new bytes are written and
// flushed beside it, and keeps the version it replaces first:
// - the same bytes again, or a file that holds nothing (IsBlank), make no generation;
// - a damaged file (DamageOf) is copied to DamagedName unchanged instead, so that it neither
//   is lost nor pushes a sound generation out;
// - any other version becomes generation 1 and the others move one down; the fifth drops
//   off, or, when one of them holds these very bytes already, that one does, so that the five
//   are the five most recent distinct versions.
// Until the final rename the file at `path` is not touched, so a save cut off anywhere leaves
// the old list or the new one to load. A generation that cannot be kept never stops the save.
SaveOutcome SaveKeepingGenerations(FileOps& ops, const std::string& path, const std::string& bytes);

// The notice of a save that replaced the file without keeping the version it held.
std::string BackupFailureNotice(const std::string& path);
