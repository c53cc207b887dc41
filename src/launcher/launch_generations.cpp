#include "launcher/launch_generations.h"

#include "base/integer.h"
#include "launcher/launch_damage.h"

std::string BackupName(const std::string& path, int generation)
{
    return path + "." + IntegerText(generation);
}

std::string DamagedName(const std::string& path)
{
    return path + ".damaged";
}

// A copy of the bytes under `name`, written beside it first and renamed into place, so that
// `name` holds either its old bytes or all the new ones.
static bool WriteCopy(FileOps& ops, const std::string& name, const std::string& bytes)
{
    const std::string temporary = ops.WriteTemporary(name, bytes);
    if (temporary.empty()) {
        return false;
    }
    if (!ops.Move(temporary, name)) {
        ops.Remove(temporary);
        return false;
    }
    return true;
}

// The generation that holds these bytes already, or 0. Only a file of the same size is read.
static int GenerationHolding(FileOps& ops, const std::string& path, const std::string& bytes)
{
    for (int generation = 1; generation <= kBackupGenerations; ++generation) {
        const std::string name = BackupName(path, generation);
        if (ops.Size(name) != static_cast<long long>(bytes.size())) {
            continue;
        }
        const FileContent content = ops.Read(name);
        if (content.state == FileContent::State::Read && content.bytes == bytes) {
            return generation;
        }
    }
    return 0;
}

// Keeps `old`, the version the save replaces; false when it should have been kept and was not.
static bool KeepReplacedVersion(FileOps& ops, const std::string& path, const FileContent& old,
                                const std::string& bytes)
{
    switch (old.state) {
    case FileContent::State::Missing:
        return true;
    case FileContent::State::Busy:
    case FileContent::State::Unreadable:
        return false;
    case FileContent::State::Read:
        break;
    }
    if (old.bytes == bytes) {
        return true;
    }
    if (DamageOf(ops, path, old.bytes) != Damage::None) {
        return WriteCopy(ops, DamagedName(path), old.bytes);
    }
    if (IsBlank(old.bytes)) {
        return true;
    }
    const int held = GenerationHolding(ops, path, old.bytes);
    if (held == 1) {
        return true;
    }
    // The slot that drops off: the one holding this version already, else the oldest.
    const int dropped = held != 0 ? held : kBackupGenerations;
    for (int generation = dropped - 1; generation >= 1; --generation) {
        const std::string from = BackupName(path, generation);
        // A generation that cannot move stays where it is, and nothing may move onto it.
        if (ops.Size(from) >= 0 && !ops.Move(from, BackupName(path, generation + 1))) {
            return false;
        }
    }
    // A second name for the old file costs nothing; its bytes are copied only where that fails.
    return ops.Link(path, BackupName(path, 1)) || WriteCopy(ops, BackupName(path, 1), old.bytes);
}

SaveOutcome SaveKeepingGenerations(FileOps& ops, const std::string& path, const std::string& bytes)
{
    const std::string temporary = ops.WriteTemporary(path, bytes);
    if (temporary.empty()) {
        return SaveOutcome::Failed;
    }
    const bool kept = KeepReplacedVersion(ops, path, ops.Read(path), bytes);
    if (!ops.Move(temporary, path)) {
        ops.Remove(temporary);
        return SaveOutcome::Failed;
    }
    return kept ? SaveOutcome::Saved : SaveOutcome::SavedWithoutBackup;
}

std::string BackupFailureNotice(const std::string& path)
{
    return "ランチャの一覧は " + path + " に保存しましたが、それまでの版をバックアップ（" +
           BackupName(path, 1) + " など）として残せませんでした。";
}
