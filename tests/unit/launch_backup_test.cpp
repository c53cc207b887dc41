// Backup generations of LAUNCH.INI, damaged files and what a start loads in their place, and
// saves cut off at every step: on files held in memory.
#include "launcher/launch_damage.h"
#include "launcher/launch_file.h"
#include "launcher/launch_generations.h"
#include "launcher/launch_tree.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

const std::string kPath = "C:\\M\\LAUNCH.INI";

// Every change is a step; step `crashAt` never happens, as if the power went then.
class MemoryFiles : public FileOps {
public:
    struct Crash {};
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable, refused;   // names a move onto fails
    int busyReads = 0;                           // reads of kPath that find it held
    bool links = true;
    int crashAt = -1, steps = 0;

    FileContent Read(const std::string& path) override
    {
        if (unreadable.count(path) || (path == kPath && busyReads > 0 && busyReads--)) {
            return {unreadable.count(path) ? FileContent::State::Unreadable : FileContent::State::Busy, ""};
        }
        return files.count(path) ? FileContent{FileContent::State::Read, files[path]} : FileContent{};
    }
    long long Size(const std::string& path) override
    {
        return files.count(path) ? static_cast<long long>(files[path].size()) : -1;
    }
    std::string WriteTemporary(const std::string& path, const std::string& bytes) override
    {
        const std::string name = path + ".~" + std::to_string(steps);
        files[name] = bytes.substr(0, bytes.size() / 2);   // what a write cut off leaves
        Change();
        files[name] = bytes;
        return name;
    }
    bool Move(const std::string& from, const std::string& to) override
    {
        Change();
        if (refused.count(to) || !files.count(from)) {
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const std::string& path) override { files.erase(path); }
    bool Link(const std::string& existing, const std::string& name) override
    {
        if (!links || files.count(name) || refused.count(name)) {
            return false;
        }
        Change();
        files[name] = files[existing];
        return true;
    }
    void Pause(int) override {}

private:
    void Change()
    {
        if (steps++ == crashAt) {
            throw Crash{};
        }
    }
};

// A list of one item of that name as the save writes it; "EMPTIED" that list emptied and
// saved again; "ZERO" zero bytes, "NONE" no bytes; "[NAME" a file of just that section header.
std::string Bytes(const std::string& text)
{
    if (text == "ZERO" || text == "NONE" || text[0] == '[') {
        return text == "ZERO" ? std::string(100, '\0') : text == "NONE" ? "" : text + "]\r\n";
    }
    TreeModel tree;
    AddItemNode(tree, nullptr, text == "EMPTIED" ? "A" : text);
    IniDocument file;
    SaveLaunchTree(tree, file);
    if (text == "EMPTIED") {
        SaveLaunchTree(TreeModel(), file);
    }
    return file.Serialize();
}

// A file as its list's one name, "-" for none, "0" for nothing or only zero bytes.
std::string Short(const MemoryFiles& files, const std::string& name)
{
    const auto found = files.files.find(name);
    if (found == files.files.end()) {
        return "-";
    }
    return IsBlank(found->second) ? "0"
                                  : IniDocument::Parse(found->second).ReadString("ExecInfo0", "NAME", "?");
}

// The file | its generations 1 to 5, and the damaged file.
std::string Generations(const MemoryFiles& files)
{
    std::string text = Short(files, kPath) + " |";
    for (int generation = 1; generation <= kBackupGenerations; ++generation) {
        text += " " + Short(files, BackupName(kPath, generation));
    }
    return text + " " + Short(files, DamagedName(kPath));
}

// Files from "FILE GENERATION1 GENERATION2 ...", each as Bytes takes it, "-" for none; the
// file may be "held" (for good), "busy" (free in time) or "denied", a list named A.
void Arrange(MemoryFiles& files, const std::string& layout)
{
    std::istringstream words(layout);
    std::string word;
    for (int generation = 0; words >> word; ++generation) {
        const std::string name = generation == 0 ? kPath : BackupName(kPath, generation);
        const bool unread = word == "held" || word == "busy" || word == "denied";
        if (word != "-") {
            files.files[name] = Bytes(unread ? "A" : word);
        }
        files.busyReads = word == "held" ? 1000 : word == "busy" ? kBusyRetries : files.busyReads;
        if (word == "denied") {
            files.unreadable.insert(name);
        }
    }
}

// The one name of the list a start loads ("" for an empty list), and its notice.
std::pair<std::string, std::string> Start(MemoryFiles& files)
{
    const LaunchFileAtStart start = LoadLaunchFileAtStart(files, kPath);
    TreeModel tree;
    LoadLaunchTree(start.document, tree);
    return {tree.Count() ? tree.Node(0)->Text() : "", start.notice};
}

}   // namespace

TEST(LaunchBackupTest, KeepsTheFiveMostRecentDistinctVersionsNewestFirst)
{
    // Saving the same bytes again makes no generation; the sixth drops off; a version kept
    // already moves to the front rather than standing twice, however often the user goes back.
    static const char* const kSaves[][2] = {
        {"A A", "A | - - - - - -"}, {"B C D E F G", "G | F E D C B -"}, {"D C D C", "C | D C G F E -"}};
    MemoryFiles files;
    for (const auto& saves : kSaves) {
        std::istringstream names(saves[0]);
        for (std::string name; names >> name;) {
            EXPECT_EQ(SaveOutcome::Saved, SaveKeepingGenerations(files, kPath, Bytes(name)));
        }
        EXPECT_EQ(saves[1], Generations(files)) << "after saving " << saves[0];
    }
    EXPECT_EQ(1u + kBackupGenerations, files.files.size()) << "a temporary file was left behind";
}

TEST(LaunchBackupTest, ADamagedFileIsSetAsideAndAGenerationThatCannotBeKeptNeverStopsTheSave)
{
    static const struct {
        const char* files;
        const char* refused;   // the name after LAUNCH.INI onto which a move fails
        SaveOutcome outcome;
        const char* after;
    } kCases[] = {
        {"NONE B C", nullptr, SaveOutcome::Saved, "N | B C - - - 0"},
        {"ZERO B C", nullptr, SaveOutcome::Saved, "N | B C - - - 0"},
        {"[junk B C", nullptr, SaveOutcome::Saved, "N | B C - - - ?"},
        // Without a backup nothing is damage: what holds something becomes a generation.
        {"[Other", nullptr, SaveOutcome::Saved, "N | ? - - - - -"},
        {"ZERO", nullptr, SaveOutcome::Saved, "N | - - - - - -"},
        // Generation 3 refused: 2 cannot move, so 1 stays too; 1 refused: it moved first.
        {"A B C", ".3", SaveOutcome::SavedWithoutBackup, "N | B C - - - -"},
        {"A B C", ".1", SaveOutcome::SavedWithoutBackup, "N | - B C - - -"},
        {"denied", nullptr, SaveOutcome::SavedWithoutBackup, "N | - - - - - -"},
        // The file itself refused: it keeps every byte.
        {"A", "", SaveOutcome::Failed, "A | A - - - - -"},
    };
    for (const auto& c : kCases) {
        MemoryFiles files;
        files.links = false;
        Arrange(files, c.files);
        if (c.refused) {
            files.refused.insert(kPath + c.refused);
        }
        EXPECT_EQ(c.outcome, SaveKeepingGenerations(files, kPath, Bytes("N"))) << c.files;
        EXPECT_EQ(c.after, Generations(files)) << c.files;
    }
}

TEST(LaunchBackupTest, ASaveCutOffAtAnyStepLeavesTheOldListOrTheNewOneToLoad)
{
    // Over a sound file, and over a zeroed one whose newest backup the start loaded instead;
    // with and without hard links.
    for (const char* layout : {"OLD G1 G2 G3 G4 G5", "ZERO OLD G2 G3 G4 G5"}) {
        for (const bool links : {true, false}) {
            bool finished = false;
            for (int crashAt = 0; !finished; ++crashAt) {
                MemoryFiles files;
                Arrange(files, layout);
                files.links = links;
                files.crashAt = crashAt;
                try {
                    SaveKeepingGenerations(files, kPath, Bytes("NEW"));
                    finished = true;
                } catch (const MemoryFiles::Crash&) {
                }
                const std::string loaded = Start(files).first;
                EXPECT_TRUE(loaded == "NEW" || (!finished && loaded == "OLD"))
                    << "cut off at step " << crashAt << ": " << loaded << ", " << layout;
            }
        }
    }
}

TEST(LaunchBackupTest, AStartLoadsTheNewestBackupThatLoadsInPlaceOfADamagedFileAndChangesNothing)
{
    static const struct {
        const char* files;
        const char* loaded;
        int named;   // the backup the notice names; -1 for a notice that none loads
    } kCases[] = {
        {"ZERO B1 B2", "B1", 1},
        {"NONE B1 B2", "B1", 1},
        {"ZERO ZERO B2", "B2", 2},
        {"denied B1", "B1", 1},
        {"held B1", "B1", 1},
        {"busy B1", "A", 0},
        {"[Other [Other B2", "B2", 2},
        // An emptied list saved on purpose, and an empty list saved where none stood.
        {"EMPTIED B1 B2", "", 0},
        {"[FOLDER B1 B2", "", 0},
        {"[Other", "", 0},
        {"- B1 B2", "", 0},
        {"ZERO", "", -1},
        {"denied ZERO", "", -1},
    };
    for (const auto& c : kCases) {
        MemoryFiles files;
        Arrange(files, c.files);
        const std::map<std::string, std::string> before = files.files;
        const auto [loaded, notice] = Start(files);
        EXPECT_EQ(c.loaded, loaded) << c.files;
        EXPECT_EQ(before, files.files) << "a start changed a file: " << c.files;
        const std::string said = c.named > 0 ? "バックアップ " + BackupName(kPath, c.named) + " から一覧を"
                                 : c.named < 0 ? "読み込めるバックアップがない"
                                               : "";
        EXPECT_EQ(c.named == 0 ? "" : kPath + " を読み込めません", notice.substr(0, notice.find("（")))
            << notice;
        EXPECT_NE(std::string::npos, notice.find(said)) << notice;
    }
}
