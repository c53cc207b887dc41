#include "launcher/launch_damage.h"

#include "base/sjis.h"
#include "launcher/launch_generations.h"

#include <algorithm>
#include <string_view>

FileContent ReadPatiently(FileOps& ops, const std::string& path)
{
    FileContent content = ops.Read(path);
    for (int retry = 0; retry < kBusyRetries && content.state == FileContent::State::Busy; ++retry) {
        ops.Pause(kBusyRetryPause);
        content = ops.Read(path);
    }
    return content;
}

bool HoldsLauncherSections(const IniDocument& document)
{
    return document.HasSection("FOLDER") || document.HasSection("PARENT") || document.HasSection("ExecInfo0");
}

bool IsBlank(const std::string& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return byte == '\0'; });
}

Damage ClassifyContent(const FileContent& content, const IniDocument& document)
{
    switch (content.state) {
    case FileContent::State::Missing:
        return Damage::None;
    case FileContent::State::Busy:
    case FileContent::State::Unreadable:
        return Damage::Unreadable;
    case FileContent::State::Read:
        break;
    }
    if (content.bytes.empty()) {
        return Damage::Empty;
    }
    if (IsBlank(content.bytes)) {
        return Damage::Zeroed;
    }
    return HoldsLauncherSections(document) ? Damage::None : Damage::NoLauncherSections;
}

// A backup that is sound itself: readable, not blank, and holding a launcher list.
static bool LoadSoundBackup(FileOps& ops, const std::string& name, IniDocument& document)
{
    const FileContent content = ops.Read(name);
    if (content.state != FileContent::State::Read || IsBlank(content.bytes)) {
        return false;
    }
    document = ops.Parse(content.bytes);
    return HoldsLauncherSections(document);
}

// The newest sound backup generation into `document`, or 0.
static int LoadNewestSoundBackup(FileOps& ops, const std::string& path, IniDocument& document)
{
    for (int generation = 1; generation <= kBackupGenerations; ++generation) {
        if (LoadSoundBackup(ops, BackupName(path, generation), document)) {
            return generation;
        }
    }
    return 0;
}

LaunchDocument ChooseLaunchDocument(FileOps& ops, const std::string& path, const FileContent& content)
{
    LaunchDocument chosen;
    if (content.state == FileContent::State::Read) {
        chosen.document = ops.Parse(content.bytes);
    }
    chosen.damage = ClassifyContent(content, chosen.document);
    if (chosen.damage == Damage::None) {
        return chosen;
    }
    IniDocument backup;
    chosen.generation = LoadNewestSoundBackup(ops, path, backup);
    if (chosen.generation != 0) {
        chosen.document = std::move(backup);
    } else if (chosen.damage == Damage::NoLauncherSections) {
        chosen.damage = Damage::None;
    } else {
        // Zero bytes are nothing to carry into the next save.
        chosen.document = IniDocument();
    }
    return chosen;
}

// Whether the bytes may hold one of the launcher's sections: a quick look for "[FOLDER",
// "[PARENT" or "[ExecInfo0" anywhere, in any case, without parsing the file. It may find one
// inside a value too; a save then keeps such a file as a generation, which loses nothing.
static bool MentionsLauncherSection(std::string_view bytes)
{
    static constexpr std::string_view kNames[] = {"folder", "parent", "execinfo0"};
    for (std::size_t at = bytes.find('['); at != std::string_view::npos; at = bytes.find('[', at + 1)) {
        const std::string_view rest = bytes.substr(at + 1);
        for (const std::string_view name : kNames) {
            if (rest.size() >= name.size() &&
                std::equal(name.begin(), name.end(), rest.begin(),
                           [](char expected, char byte) { return expected == FoldAscii(byte); })) {
                return true;
            }
        }
    }
    return false;
}

Damage DamageOf(FileOps& ops, const std::string& path, const std::string& bytes)
{
    if (!IsBlank(bytes) && MentionsLauncherSection(bytes)) {
        return Damage::None;
    }
    const LaunchDocument chosen = ChooseLaunchDocument(ops, path, {FileContent::State::Read, bytes});
    return chosen.generation != 0 ? chosen.damage : Damage::None;
}

static const char* Reason(Damage damage)
{
    switch (damage) {
    case Damage::Unreadable:
        return "ファイルを読み取れません。ほかのプログラムが開いているか、読み取りが許可されていません";
    case Damage::Empty:
        return "ファイルが空です";
    case Damage::Zeroed:
        return "ファイルの中身がすべて 0 のバイトです";
    case Damage::NoLauncherSections:
        return "ランチャの一覧が含まれていません";
    case Damage::None:
        break;
    }
    return "";
}

std::string RecoveryNotice(const std::string& path, const LaunchDocument& chosen)
{
    if (chosen.damage == Damage::None) {
        return {};
    }
    const std::string head = path + " を読み込めません（" + Reason(chosen.damage) + "）。\n";
    if (chosen.generation != 0) {
        return head + "バックアップ " + BackupName(path, chosen.generation) +
               " から一覧を読み込みました。\n" +
               "読み込めなかったファイルには手を付けず、次に保存するときに " + DamagedName(path) +
               " という名前で残します。";
    }
    // A file that holds nothing loses nothing; one that cannot be read, or was zeroed, does.
    if (chosen.damage == Damage::Empty) {
        return {};
    }
    return head + "読み込めるバックアップがないため、ランチャの一覧は空のまま始めます。";
}

LaunchFileAtStart LoadLaunchFileAtStart(FileOps& ops, const std::string& path)
{
    LaunchDocument chosen = ChooseLaunchDocument(ops, path, ReadPatiently(ops, path));
    LaunchFileAtStart start;
    start.notice = RecoveryNotice(path, chosen);
    start.document = std::move(chosen.document);
    return start;
}
