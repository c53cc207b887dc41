#include "launcher/launch_file.h"

#include "base/ini_document.h"
#include "base/integer.h"
#include "base/tree_model.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_menu_plan.h"
#include "launcher/launch_tree.h"

#include "launch_listing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

std::string Load(const std::string& file, bool expectComplete = true)
{
    TreeModel tree;
    EXPECT_EQ(expectComplete, LoadLaunchTree(IniDocument::Parse(file), tree));
    return Listing(tree);
}

// The tree of the format's worked example: a folder holding an item and a separator.
void BuildToolsTree(TreeModel& tree)
{
    TreeNode* tools = AddFolderNode(tree, nullptr, "Tools");
    LaunchEntry* notepad = EntryOf(AddItemNode(tree, tools, "NOTEPAD.EXE"));
    notepad->File = "C:\\WINDOWS\\NOTEPAD.EXE";
    notepad->Option = "C:\\MEMO.TXT";
    notepad->Dir = "C:\\WINDOWS\\";
    AddItemNode(tree, tools, kSeparatorName);
}

const char kToolsFile[] = "[PARENT]\r\n"
                          "NODE0=-2\r\n"
                          "NODE1=-1\r\n"
                          "NODE2=-1\r\n"
                          "[FOLDER]\r\n"
                          "ITEM0=1\r\n"
                          "ITEM1=0\r\n"
                          "ITEM2=0\r\n"
                          "[ExecInfo0]\r\n"
                          "NAME=Tools\r\n"
                          "[ExecInfo1]\r\n"
                          "NAME=NOTEPAD.EXE\r\n"
                          "FILE=C:\\WINDOWS\\NOTEPAD.EXE\r\n"
                          "OPTION=C:\\MEMO.TXT\r\n"
                          "DIR=C:\\WINDOWS\\\r\n"
                          "[ExecInfo2]\r\n"
                          "NAME=--------\r\n"
                          "FILE=\r\n"
                          "OPTION=\r\n"
                          "DIR=\r\n";

// A flat file of n nodes as the save writes them, with every fourth node a folder and
// every node after a folder its child.
std::string FlatFile(int n)
{
    std::string folder = "[FOLDER]\r\n", parent = "[PARENT]\r\n", names;
    for (int i = 0; i < n; ++i) {
        const std::string number = IntegerText(i);
        const bool isFolder = i % 4 == 0;
        folder += "ITEM" + number + "=" + (isFolder ? "1" : "0") + "\r\n";
        parent += "NODE" + number + "=" + (isFolder ? "-2" : IntegerText(i - i % 4 - 1)) + "\r\n";
        names += "[ExecInfo" + number + "]\r\nNAME=n" + number + "\r\n";
        if (!isFolder) {
            names += "FILE=f" + number + "\r\nOPTION=\r\nDIR=d\r\n";
        }
    }
    return folder + parent + names;
}

}   // namespace

TEST(LaunchFileTest, SavesTheWorkedExampleByteForByteAndLoadsItBack)
{
    TreeModel tree;
    BuildToolsTree(tree);
    IniDocument file;
    SaveLaunchTree(tree, file);
    EXPECT_EQ(kToolsFile, file.Serialize());

    EXPECT_EQ("Tools 0/1\n"
              "  NOTEPAD.EXE 2/2 [C:\\WINDOWS\\NOTEPAD.EXE|C:\\MEMO.TXT|C:\\WINDOWS\\]\n"
              "  -------- 2/2 [||]\n",
              Load(kToolsFile));
}

TEST(LaunchFileTest, TheSampleListOfMakeRunLoadsWholeAndIsWrittenAsTheSaveWouldWriteIt)
{
    std::ifstream in(MIVTRA_SAMPLE_LAUNCH_INI, std::ios::binary);
    ASSERT_TRUE(in) << MIVTRA_SAMPLE_LAUNCH_INI;
    const std::string sample{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ("アクセサリ 0/1\n"
              "  メモ帳 2/2 [C:\\windows\\notepad.exe||C:\\windows\\]\n"
              "  電卓 2/2 [C:\\windows\\system32\\calc.exe||C:\\windows\\system32\\]\n"
              "-------- 2/2 [||]\n"
              "Windows フォルダ 2/2 [C:\\windows||C:\\]\n",
              Load(sample));
    TreeModel tree;
    IniDocument file = IniDocument::Parse(sample);
    LoadLaunchTree(file, tree);
    SaveLaunchTree(tree, file);
    EXPECT_EQ(sample, file.Serialize());
}

TEST(LaunchFileTest, SavingOverItsOwnFileGivesTheSameBytesAndAShorterListLeavesTheRestUnread)
{
    TreeModel tree;
    BuildToolsTree(tree);
    IniDocument file = IniDocument::Parse(kToolsFile);
    SaveLaunchTree(tree, file);
    EXPECT_EQ(kToolsFile, file.Serialize());

    tree.Delete(tree.Node(2));
    SaveLaunchTree(tree, file);
    EXPECT_EQ("--------", file.Read("ExecInfo2", "NAME"));
    EXPECT_EQ(std::nullopt, file.Read("FOLDER", "ITEM2"));
    EXPECT_EQ(std::nullopt, file.Read("PARENT", "NODE2"));
    EXPECT_EQ("C:\\WINDOWS\\", file.Read("ExecInfo1", "DIR"));
    EXPECT_EQ("Tools 0/1\n  NOTEPAD.EXE 2/2 [C:\\WINDOWS\\NOTEPAD.EXE|C:\\MEMO.TXT|C:\\WINDOWS\\]\n",
              Load(file.Serialize()));
}

TEST(LaunchFileTest, ReadsTheListUpToTheFirstMissingOrInvalidKindFlag)
{
    // No file at all: nothing, and no complaint.
    EXPECT_EQ("", Load(""));
    // Whatever else the file holds, no ITEM0 means no list.
    EXPECT_EQ("", Load("[FOLDER]\nITEM1=0\nITEM2=1\n[PARENT]\nNODE0=-2\n[ExecInfo0]\nNAME=x\n"));
    // A gap ends the list: ITEM3 is never read.
    EXPECT_EQ("n0 2/2 [||]\nn1 2/2 [||]\n",
              Load("[FOLDER]\nITEM0=0\nITEM1=0\nITEM3=0\n[ExecInfo0]\nNAME=n0\n[ExecInfo1]\nNAME=n1\n"
                   "[ExecInfo3]\nNAME=n3\n"));
    // Any number but 0 is a folder; a kind flag that is not a number ends the list.
    EXPECT_EQ("two 0/1\nhex 0/1\nminus 0/1\nzero 2/2 [||]\nhexzero 2/2 [||]\n",
              Load("[FOLDER]\nITEM0=2\nITEM1=0x1\nITEM2=-5\nITEM3=00\nITEM4=0x0\nITEM5=abc\nITEM6=1\n"
                   "[ExecInfo0]\nNAME=two\n[ExecInfo1]\nNAME=hex\n[ExecInfo2]\nNAME=minus\n"
                   "[ExecInfo3]\nNAME=zero\n[ExecInfo4]\nNAME=hexzero\n[ExecInfo6]\nNAME=after\n"));
    // -1 in any spelling is the end too.
    EXPECT_EQ("a 0/1\n", Load("[FOLDER]\nITEM0=1\nITEM1=0xFFFFFFFF\nITEM2=1\n[ExecInfo0]\nNAME=a\n"));
}

TEST(LaunchFileTest, GivesDefaultNamesAndEmptyTextsForMissingKeys)
{
    EXPECT_EQ("新規フォルダ 0/1\n新規項目 2/2 [||]\n 2/2 [||]\n 0/1\n",
              Load("[FOLDER]\nITEM0=1\nITEM1=0\nITEM2=0\nITEM3=1\n"
                   "[ExecInfo2]\nNAME=\n[ExecInfo3]\nNAME=\n"));
    // Folders never read the entry's keys.
    EXPECT_EQ("f 0/1\n", Load("[FOLDER]\nITEM0=1\n[ExecInfo0]\nNAME=f\nFILE=x\n"));
    // Names and texts as the profile functions read them: trimmed, one quote pair gone.
    EXPECT_EQ("quoted 2/2 [C:\\a b\\x.txt| -x |]\n",
              Load("[FOLDER]\nITEM0=0\n[ExecInfo0]\nNAME=  \"quoted\"  \nFILE=\"C:\\a b\\x.txt\"\n"
                   "OPTION=' -x '\n"));
}

TEST(LaunchFileTest, HangsEachNodeUnderItsStoredParent)
{
    // Links are offset by one: -1 is node 0, and anything that comes to -2 is the top level
    // (a missing or unreadable link, or a stored -3).
    EXPECT_EQ("a 0/1\n  b 0/1\n    c 2/2 [||]\n  d 2/2 [||]\ne 2/2 [||]\nf 2/2 [||]\ng 2/2 [||]\n",
              Load("[FOLDER]\nITEM0=1\nITEM1=1\nITEM2=0\nITEM3=0\nITEM4=0\nITEM5=0\nITEM6=0\n"
                   "[PARENT]\nNODE0=-2\nNODE1=-1\nNODE2=0\nNODE3=-1\nNODE5=-3\nNODE6=x\n"
                   "[ExecInfo0]\nNAME=a\n[ExecInfo1]\nNAME=b\n[ExecInfo2]\nNAME=c\n[ExecInfo3]\nNAME=d\n"
                   "[ExecInfo4]\nNAME=e\n[ExecInfo5]\nNAME=f\n[ExecInfo6]\nNAME=g\n"));
    // Items take children from the file, though the dialog never gives them any.
    EXPECT_EQ("i 2/2 [||]\n  j 2/2 [||]\n", Load("[FOLDER]\nITEM0=0\nITEM1=0\n[PARENT]\nNODE1=-1\n"
                                                 "[ExecInfo0]\nNAME=i\n[ExecInfo1]\nNAME=j\n"));
}

TEST(LaunchFileTest, ResolvesLinksAgainstTheTreeAsBuiltSoFar)
{
    // C goes under A, which makes C position 1 when X comes: X joins C, not B.
    EXPECT_EQ("A 0/1\n  C 0/1\n    X 2/2 [||]\nB 0/1\n",
              Load("[FOLDER]\nITEM0=1\nITEM1=1\nITEM2=1\nITEM3=0\n"
                   "[PARENT]\nNODE0=-2\nNODE1=-2\nNODE2=-1\nNODE3=0\n"
                   "[ExecInfo0]\nNAME=A\n[ExecInfo1]\nNAME=B\n[ExecInfo2]\nNAME=C\n[ExecInfo3]\nNAME=X\n"));

    // Random links, each resolved by looking the position up in the tree itself after every
    // node, must give the same tree as the loader.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        const int n = 400;
        std::string folder = "[FOLDER]\n", parent = "[PARENT]\n", names;
        TreeModel expected;
        for (int i = 0; i < n; ++i) {
            const std::string number = IntegerText(i);
            const std::string name = "n" + number;
            const bool top = i == 0 || random() % 5 == 0;
            const int position = top ? -2 : static_cast<int>(random() % i);
            folder += "ITEM" + number + "=1\n";
            parent += "NODE" + number + "=" + IntegerText(top ? -2 : position - 1) + "\n";
            names += "[ExecInfo" + number + "]\nNAME=" + name + "\n";
            AddFolderNode(expected, top ? nullptr : expected.Node(position), name);
        }
        SCOPED_TRACE(seed);
        EXPECT_EQ(Listing(expected), Load(folder + parent + names));
    }
}

TEST(LaunchFileTest, StopsAtALinkThatNamesNoNodeKeepingTheNodesBeforeIt)
{
    const std::string head = "[FOLDER]\nITEM0=1\nITEM1=0\nITEM2=0\nITEM3=0\n[ExecInfo0]\nNAME=a\n"
                             "[ExecInfo1]\nNAME=b\n[ExecInfo3]\nNAME=d\n[PARENT]\nNODE1=-1\nNODE3=-1\n";
    // Node 2 names position 2 itself (stored 1), which does not exist yet.
    EXPECT_EQ("a 0/1\n  b 2/2 [||]\n", Load(head + "NODE2=1\n", false));
    // Below -2 after the offset.
    EXPECT_EQ("a 0/1\n  b 2/2 [||]\n", Load(head + "NODE2=-4\n", false));
    // The largest stored number, where adding one must not wrap around.
    EXPECT_EQ("a 0/1\n  b 2/2 [||]\n", Load(head + "NODE2=2147483647\n", false));
    EXPECT_EQ("", Load("[FOLDER]\nITEM0=1\n[PARENT]\nNODE0=-1\n", false));
}

TEST(LaunchFileTest, SaveRewritesTheListAndLeavesEverythingElse)
{
    IniDocument file = IniDocument::Parse(FlatFile(5) + "[Other]\r\nkey=value\r\n");
    TreeModel tree;
    ASSERT_TRUE(LoadLaunchTree(file, tree));
    ASSERT_EQ(5, tree.Count());
    // Two nodes left, the second now a folder: its old entry keys must go.
    tree.Delete(tree.Node(2));
    tree.Delete(tree.Node(2));
    tree.Delete(tree.Node(2));
    tree.Delete(tree.Node(1));
    AddFolderNode(tree, nullptr, "folder");
    SaveLaunchTree(tree, file);

    EXPECT_FALSE(file.Read("FOLDER", "ITEM2"));
    EXPECT_FALSE(file.Read("PARENT", "NODE2"));
    EXPECT_FALSE(file.Read("ExecInfo1", "FILE"));
    EXPECT_EQ("folder", file.Read("ExecInfo1", "NAME"));
    for (const char* stale : {"ExecInfo2", "ExecInfo3", "ExecInfo4"}) {
        EXPECT_TRUE(file.Read(stale, "NAME")) << stale;
    }
    EXPECT_EQ("value", file.Read("Other", "key"));

    TreeModel reloaded;
    EXPECT_TRUE(LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded));
    EXPECT_EQ("n0 0/1\nfolder 0/1\n", Listing(reloaded));
}

TEST(LaunchFileTest, ASaveNeverLetsALaterFolderSectionAddNodes)
{
    // A hand-edited file with the kind flags twice: erasing the first section uncovers the
    // second, whose ITEM1 and ITEM2 would turn into nodes nobody saved.
    IniDocument file = IniDocument::Parse("[FOLDER]\nITEM0=1\n[FOLDER]\nITEM0=0\nITEM1=0\n[FOLDER]\nITEM2=0\n"
                                          "[ExecInfo0]\nNAME=a\n");
    TreeModel tree;
    ASSERT_TRUE(LoadLaunchTree(file, tree));
    ASSERT_EQ(1, tree.Count());
    SaveLaunchTree(tree, file);
    TreeModel reloaded;
    ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded));
    EXPECT_EQ(Listing(tree), Listing(reloaded));
    tree.Clear();
    SaveLaunchTree(tree, file);
    ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded));
    EXPECT_EQ(0, reloaded.Count());
}

TEST(LaunchFileTest, SaveThenLoadGivesTheSameTree)
{
    TreeModel tree;
    TreeNode* top = AddFolderNode(tree, nullptr, "ツール");
    TreeNode* inner = AddFolderNode(tree, top, "内側");
    AddFolderNode(tree, inner, "空のフォルダ");
    LaunchEntry* entry = EntryOf(AddItemNode(tree, inner, "表示"));
    entry->File = "C:\\DOCS\\表.txt";
    entry->Option = "/a /b C:\\x y";
    entry->Dir = "C:\\DOCS\\";
    AddItemNode(tree, top, kSeparatorName);
    AddItemNode(tree, nullptr, "");
    EntryOf(AddItemNode(tree, nullptr, "last"))->File = "D:\\tool.exe";
    // A separator made by the dialog shows no picture; the file does not keep that.
    tree.Node(4)->SetImageIndex(kNoImage);
    tree.Node(4)->SetSelectedIndex(kNoImage);

    IniDocument file;
    SaveLaunchTree(tree, file);
    TreeModel reloaded;
    ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded));
    tree.Node(4)->SetImageIndex(kItemImage);
    tree.Node(4)->SetSelectedIndex(kItemImage);
    EXPECT_EQ(Listing(tree), Listing(reloaded));
    // Loading replaces what the tree held.
    ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded));
    EXPECT_EQ(tree.Count(), reloaded.Count());
}

TEST(LaunchFileTest, TextsLoadExactlyAsTypedWithBlanksAndQuotes)
{
    // Reading trims blanks around a value and takes off one pair of matching quotes; each of
    // these would come back changed if it were written as it is.
    const std::string texts[] = {"\"C:\\My Docs\\memo.txt\"", " lead", "trail\t", "'single'", "\"\"",
                                 "\"--------\"", "-------- ", " ", "\"\"x\"\"",
                                 // And these come back as they are, so they are written bare.
                                 "\"open", "'mixed\"", "\"", "a \"b\" c", "\x81\x40全角の空白\x81\x40"};
    TreeModel tree;
    for (const std::string& text : texts) {
        LaunchEntry* entry = EntryOf(AddItemNode(tree, nullptr, text));
        entry->File = text;
        entry->Option = text;
        entry->Dir = text;
    }
    IniDocument file;
    SaveLaunchTree(tree, file);
    const std::string bytes = file.Serialize();
    EXPECT_NE(std::string::npos, bytes.find("OPTION=\"\"C:\\My Docs\\memo.txt\"\"\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("NAME=\"open\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("NAME=a \"b\" c\r\n"));
    TreeModel reloaded;
    ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(bytes), reloaded));
    EXPECT_EQ(Listing(tree), Listing(reloaded));
    EXPECT_FALSE(IsSeparator(*reloaded.Node(5)));
    EXPECT_FALSE(IsSeparator(*reloaded.Node(6)));

    // A text holds no line: it ends at a line break or a NUL, and what is left loads exactly.
    EXPECT_EQ("\"a \"", IniDocument::LiteralValue("a \r\nb"));
    EXPECT_EQ("\" x\"", IniDocument::LiteralValue(std::string(" x\0y", 4)));
    EXPECT_EQ("", IniDocument::LiteralValue(""));
}

TEST(LaunchFileTest, CopesWithHugeAndDeepLists)
{
    constexpr int kNodes = 100000;
    {
        TreeModel tree;
        ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(FlatFile(kNodes)), tree));
        ASSERT_EQ(kNodes, tree.Count());
        EXPECT_EQ(kNodes / 4, tree.TopCount());
        EXPECT_EQ("n99999", tree.Node(kNodes - 1)->Text());
        EXPECT_EQ("f99999", EntryOf(tree.Node(kNodes - 1))->File);
        EXPECT_EQ(tree.Node(kNodes - 4), tree.Node(kNodes - 1)->Parent());
    }
    {
        // Every node the child of the one before.
        std::string folder = "[FOLDER]\n", parent = "[PARENT]\n";
        for (int i = 0; i < kNodes; ++i) {
            folder += "ITEM" + IntegerText(i) + "=1\n";
            parent += "NODE" + IntegerText(i) + "=" + IntegerText(i == 0 ? -2 : i - 2) + "\n";
        }
        TreeModel tree;
        ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(folder + parent), tree));
        ASSERT_EQ(kNodes, tree.Count());
        EXPECT_EQ(tree.Node(kNodes - 2), tree.Node(kNodes - 1)->Parent());
        const std::vector<LaunchMenuEntry> plan = PlanLaunchMenu(tree);
        ASSERT_EQ(static_cast<std::size_t>(kMaxLaunchMenuDepth), plan.size());
        EXPECT_EQ(kMaxLaunchMenuDepth - 2, plan.back().parent);
        IniDocument file;
        SaveLaunchTree(tree, file);
        EXPECT_EQ("99997", file.Read("PARENT", "NODE99999"));
        tree.Delete(tree.Node(1));
        EXPECT_EQ(1, tree.Count());
    }
}

TEST(LaunchFileTest, SurvivesJunkLongLinesAndCutFiles)
{
    // A value longer than the profile functions' buffer is cut to 2047 bytes.
    const std::string longName(100000, 'x');
    TreeModel tree;
    ASSERT_TRUE(
        LoadLaunchTree(IniDocument::Parse("[FOLDER]\nITEM0=0\n" + std::string(100000, 'j') +
                                          "\n[ExecInfo0]\nNAME=" + longName + "\nFILE=" + longName + "\n"),
                       tree));
    ASSERT_EQ(1, tree.Count());
    EXPECT_EQ(2047u, tree.Node(0)->Text().size());
    EXPECT_EQ(2047u, EntryOf(tree.Node(0))->File.size());

    // The worked example cut anywhere loads its first nodes, each in its place and of its
    // kind, with texts that are whole, cut short, or not yet read (the defaults).
    const std::string whole = kToolsFile;
    TreeModel full;
    ASSERT_TRUE(LoadLaunchTree(IniDocument::Parse(whole), full));
    auto cutOrDefault = [](const std::string& got, const std::string& want, const char* byDefault) {
        return want.compare(0, got.size(), got) == 0 || got == byDefault;
    };
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        SCOPED_TRACE(whole.substr(0, cut));
        TreeModel part;
        LoadLaunchTree(IniDocument::Parse(whole.substr(0, cut)), part);
        ASSERT_LE(part.Count(), full.Count());
        for (int i = 0; i < part.Count(); ++i) {
            const TreeNode *got = part.Node(i), *want = full.Node(i);
            EXPECT_EQ(want->Parent() ? want->Parent()->AbsoluteIndex() : -1,
                      got->Parent() ? got->Parent()->AbsoluteIndex() : -1);
            EXPECT_EQ(want->ImageIndex(), got->ImageIndex());
            const LaunchEntry* entry = EntryOf(got);
            EXPECT_TRUE(cutOrDefault(got->Text(), want->Text(), entry ? kNewItemName : kNewFolderName))
                << got->Text();
            if (entry) {
                for (auto text : {&LaunchEntry::File, &LaunchEntry::Option, &LaunchEntry::Dir}) {
                    EXPECT_TRUE(cutOrDefault(entry->*text, EntryOf(want)->*text, "")) << entry->*text;
                }
            }
        }
    }
    // Random bytes, NULs and all, seeded with a list's section names.
    std::mt19937 random(4);
    for (int round = 0; round < 50; ++round) {
        std::string junk = "[FOLDER]\nITEM0=1\nITEM1=0\n[PARENT]\nNODE1=-1\n";
        for (int i = 0; i < 20000; ++i) {
            junk += static_cast<char>(random() % 7 == 0 ? "\n=[]\0\r"[random() % 6] : random() % 256);
        }
        TreeModel junkTree;
        LoadLaunchTree(IniDocument::Parse(junk), junkTree);
        EXPECT_GE(junkTree.Count(), 2);
        // Whatever was read, a save keeps it: names and texts come back as they were.
        IniDocument file;
        SaveLaunchTree(junkTree, file);
        TreeModel reloaded;
        LoadLaunchTree(IniDocument::Parse(file.Serialize()), reloaded);
        EXPECT_EQ(Listing(junkTree), Listing(reloaded)) << "round " << round;
    }
}
