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
    for (const auto& file : files.files) {
        text += file.first.find(".~") == std::string::npos ? "" : " +temporary";   // left behind
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

TEST(LaunchBackupTest, ASaveKeepsTheFiveMostRecentDistinctVersionsAndIsSafeToCutOffAnywhere)
{
    // The files before, the name after LAUNCH.INI onto which a move fails, the lists saved one
    // after the other, what each save gives and the files after: alike with and without links.
    static const struct {
        const char *files, *refused, *saves;
        SaveOutcome outcome;
        const char* after;
    } kCases[] = {
        // The same bytes again make no generation; the sixth drops off; a version kept already
        // moves to the front rather than standing twice, however often the user goes back.
        {"-", nullptr, "A A", SaveOutcome::Saved, "A | - - - - - -"},
        {"A", nullptr, "B C D E F G", SaveOutcome::Saved, "G | F E D C B -"},
        {"G F E D C B", nullptr, "D C D C", SaveOutcome::Saved, "C | D C G F E -"},
        {"OLD G1 G2 G3 G4 G5", nullptr, "NEW", SaveOutcome::Saved, "NEW | OLD G1 G2 G3 G4 -"},
        // A damaged file is set aside, over one whose newest backup a start loads instead.
        {"ZERO OLD G2 G3 G4 G5", nullptr, "NEW", SaveOutcome::Saved, "NEW | OLD G2 G3 G4 G5 0"},
        {"NONE B C", nullptr, "N", SaveOutcome::Saved, "N | B C - - - 0"},
        {"[junk B C", nullptr, "N", SaveOutcome::Saved, "N | B C - - - ?"},
        // Without a backup nothing is damage: what holds something becomes a generation.
        {"[Other", nullptr, "N", SaveOutcome::Saved, "N | ? - - - - -"},
        {"ZERO", nullptr, "N", SaveOutcome::Saved, "N | - - - - - -"},
        // A generation that cannot be kept never stops the save. Generation 3 refused: 2
        // cannot move, so 1 stays too; 1 refused: it moved first.
        {"A B C", ".3", "N", SaveOutcome::SavedWithoutBackup, "N | B C - - - -"},
        {"A B C", ".1", "N", SaveOutcome::SavedWithoutBackup, "N | - B C - - -"},
        {"denied", nullptr, "N", SaveOutcome::SavedWithoutBackup, "N | - - - - - -"},
        // The file itself refused: it keeps every byte.
        {"A", "", "N", SaveOutcome::Failed, "A | A - - - - -"},
    };
    for (const bool links : {true, false}) {
        for (const auto& c : kCases) {
            SCOPED_TRACE(std::string(c.files) + ", saving " + c.saves + (links ? "" : ", without links"));
            MemoryFiles files;
            files.links = links;
            Arrange(files, c.files);
            if (c.refused) {
                files.refused.insert(kPath + c.refused);
            }
            std::istringstream names(c.saves);
            for (std::string name; names >> name;) {
                // Step `step` never happens, as if the power went then: a start loads the list
                // it loaded before or the new one.
                const std::string before = Start(files).first;
                for (int step = 0;; ++step) {
                    MemoryFiles cut = files;
                    cut.crashAt = cut.steps + step;
                    try {
                        SaveKeepingGenerations(cut, kPath, Bytes(name));
                        break;
                    } catch (const MemoryFiles::Crash&) {
                    }
                    const std::string loaded = Start(cut).first;
                    EXPECT_TRUE(loaded == before || loaded == name)
                        << name << " cut off at " << step << ": " << loaded;
                }
                EXPECT_EQ(c.outcome, SaveKeepingGenerations(files, kPath, Bytes(name))) << name;
            }
            EXPECT_EQ(c.after, Generations(files));
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
