#include "shell/main_window.h"

#include "base/sjis.h"
#include "base/tree_model.h"
#include "file_test_support.h"
#include "framework/application.h"
#include "framework/button.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "framework/shell_open.h"
#include "framework/tree_view.h"
#include "launcher/ini_file.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launch_menu_item.h"
#include "launcher/launch_menu_plan.h"
#include "launcher/launch_tree.h"
#include "launcher/launcher_dialog.h"
#include "shell/file_icons.h"
#include "shell/launch_pictures.h"
#include "solid_icon.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string ModuleDirectory()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ExtractFilePath(path);
}

// The format's worked example as the save writes it.
const char kToolsFile[] = "[PARENT]\r\nNODE0=-2\r\nNODE1=-1\r\nNODE2=-1\r\n"
                          "[FOLDER]\r\nITEM0=1\r\nITEM1=0\r\nITEM2=0\r\n"
                          "[ExecInfo0]\r\nNAME=Tools\r\n"
                          "[ExecInfo1]\r\nNAME=NOTEPAD.EXE\r\nFILE=C:\\WINDOWS\\NOTEPAD.EXE\r\n"
                          "OPTION=C:\\MEMO.TXT\r\nDIR=C:\\WINDOWS\\\r\n"
                          "[ExecInfo2]\r\nNAME=--------\r\nFILE=\r\nOPTION=\r\nDIR=\r\n";

// n top-level items "n<i>" with the texts "f<i>", "o<i>", "d<i>".
std::string ItemsFile(int n)
{
    std::string folder = "[FOLDER]\r\n", texts;
    for (int i = 0; i < n; ++i) {
        const std::string number = std::to_string(i);
        folder += "ITEM" + number + "=0\r\n";
        texts += "[ExecInfo" + number + "]\r\nNAME=n" + number + "\r\nFILE=f" + number + "\r\nOPTION=o" +
                 number + "\r\nDIR=d" + number + "\r\n";
    }
    return folder + texts;
}

// Stands for a file that cannot be read (access denied).
HANDLE WINAPI RefuseToOpen(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

struct LaunchCall {
    std::string file, parameters, verb, directory;
    int show;
};

class LauncherTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeShownBoxes();
        fileName_ = folder_.Path() + "LAUNCH.INI";
        // The main window's part of the menu: Launch with its placeholder.
        host_ = std::make_unique<Component>(nullptr);
        launch_ = new MenuItem(host_.get());
        launch_->SetName("LauncherSubmenu");
        placeholder_ = new MenuItem(host_.get());
        placeholder_->SetName("LauncherPlaceholder");
        placeholder_->SetCaption("(なし)");
        placeholder_->SetEnabled(false);
        launch_->Add(placeholder_);
    }
    void TearDown() override
    {
        dialog_.reset();
        list_.reset();
        host_.reset();
        DrainQuitMessages();
    }

    LauncherDialog& Start()
    {
        list_ = std::make_unique<LaunchList>(
            nullptr, launch_,
            [this](const std::string& file, const std::string& parameters, const std::string& verb,
                   const std::string& directory, int show) {
                calls_.push_back({file, parameters, verb, directory, show});
                return returned_;
            },
            fileName_);
        dialog_ = std::make_unique<LauncherDialog>(application, list_.get());
        return *dialog_;
    }

    // The submenu's item of the node with that number.
    MenuItem* Item(int nodeIndex) const { return list_->MenuItemOf(nodeIndex); }

    // The submenu under Launch, one line per item, indented by depth: the node's number (the
    // placeholder's name), caption, and whether it launches; items that Launch does not own
    // are marked.
    std::string Submenu() const
    {
        std::string text;
        struct Frame {
            MenuItem* item;
            int depth;
        };
        std::vector<Frame> stack;
        for (int i = launch_->Count() - 1; i >= 0; --i) {
            stack.push_back({launch_->Items(i), 0});
        }
        while (!stack.empty()) {
            Frame frame = stack.back();
            stack.pop_back();
            const auto* item = dynamic_cast<const LaunchMenuItem*>(frame.item);
            text += std::string(frame.depth * 2, ' ') +
                    (item ? "#" + std::to_string(item->NodeIndex()) : frame.item->Name()) + " \"" +
                    frame.item->Caption() + "\"" + (item && item->Launches() ? " launches" : "") +
                    (frame.item->Owner() == launch_ ? "" : " (not owned)") + "\n";
            for (int i = frame.item->Count() - 1; i >= 0; --i) {
                stack.push_back({frame.item->Items(i), frame.depth + 1});
            }
        }
        return text;
    }

    // Clicks "決定" the way the button does, through the dialog's window.
    void ClickSave(LauncherDialog& dialog, bool post = false)
    {
        auto* button = dynamic_cast<Button*>(dialog.FindComponent("OkButton"));
        ASSERT_NE(nullptr, button);
        const WPARAM command = MAKEWPARAM(0, BN_CLICKED);
        const auto control = reinterpret_cast<LPARAM>(button->Handle());
        if (post) {
            PostMessageA(dialog.Handle(), WM_COMMAND, command, control);
        } else {
            SendMessageA(dialog.Handle(), WM_COMMAND, command, control);
        }
    }

    int ControlCount(LauncherDialog& dialog) const
    {
        return static_cast<int>(SendMessageA(dialog.TreeView()->Handle(), TVM_GETCOUNT, 0, 0));
    }

    ScratchFolder folder_;
    std::string fileName_;
    std::unique_ptr<Component> host_;
    MenuItem* launch_ = nullptr;
    MenuItem* placeholder_ = nullptr;
    std::unique_ptr<LaunchList> list_;
    std::unique_ptr<LauncherDialog> dialog_;
    std::vector<LaunchCall> calls_;
    HANDLE returned_ = nullptr;
};

}   // namespace

TEST_F(LauncherTest, LoadingBuildsTheSubmenuInPlaceOfThePlaceholder)
{
    ASSERT_TRUE(WriteWholeFile(
        fileName_, std::string(kToolsFile) + "[FOLDER]\r\nITEM3=1\r\nITEM4=0\r\n[PARENT]\r\nNODE4=-2\r\n" +
                       "[ExecInfo3]\r\nNAME=空\r\n[ExecInfo4]\r\nNAME=メモ\r\nFILE=C:\\MEMO.TXT\r\n"));
    LauncherDialog& dialog = Start();
    // A second [FOLDER] is never read: nodes 3 and 4 do not exist.
    EXPECT_EQ(3, dialog.TreeView()->Items().Count());
    EXPECT_EQ("#0 \"Tools\"\n"
              "  #1 \"NOTEPAD.EXE\" launches\n"
              "  #2 \"-\" launches\n",
              Submenu());
    EXPECT_TRUE(Item(0)->IsSubmenu());
    EXPECT_TRUE(Item(2)->IsSeparator());
    EXPECT_EQ(-1, Item(1)->ImageIndex());
    EXPECT_EQ(3, launch_->ComponentCount());
    // The placeholder is out of the menu but not destroyed: the main window owns it.
    EXPECT_EQ(nullptr, placeholder_->Parent());
    EXPECT_EQ(placeholder_, host_->FindComponent("LauncherPlaceholder"));
    EXPECT_TRUE(TakeShownBoxes().empty());

    EXPECT_EQ(3, dialog.TreePictures()->Count());
    EXPECT_EQ(0, dialog.TreeView()->Items().Node(0)->ImageIndex());
    EXPECT_EQ(1, dialog.TreeView()->Items().Node(0)->SelectedIndex());
    EXPECT_EQ(2, dialog.TreeView()->Items().Node(2)->ImageIndex());
    EXPECT_EQ("ランチャ設定", [&] {
        char caption[64] = "";
        GetWindowTextA(dialog.Handle(), caption, sizeof caption);
        return std::string(caption);
    }());
}

TEST_F(LauncherTest, FoldersWithoutChildrenAreItemsThatLaunchNothing)
{
    ASSERT_TRUE(WriteWholeFile(
        fileName_, "[FOLDER]\r\nITEM0=1\r\nITEM1=1\r\nITEM2=1\r\nITEM3=0\r\n[PARENT]\r\nNODE2=0\r\n"
                   "[ExecInfo0]\r\nNAME=空\r\n[ExecInfo1]\r\nNAME=外\r\n[ExecInfo2]\r\nNAME=--------\r\n"
                   "[ExecInfo3]\r\nNAME=x\r\n"));
    Start();
    EXPECT_EQ("#0 \"空\"\n#1 \"外\"\n  #2 \"-\"\n#3 \"x\" launches\n", Submenu());
    EXPECT_FALSE(Item(0)->IsSubmenu());
    Item(0)->Click();
    EXPECT_TRUE(calls_.empty());
}

TEST_F(LauncherTest, WithoutAFileTheSubmenuIsEmptyAndTheFirstSaveCreatesIt)
{
    LauncherDialog& dialog = Start();
    EXPECT_EQ(0, dialog.TreeView()->Items().Count());
    EXPECT_EQ(0, launch_->Count());
    EXPECT_TRUE(TakeShownBoxes().empty());

    // The worked example, made as the dialog makes it.
    TreeModel& tree = dialog.TreeView()->Items();
    AddFolderNode(tree, nullptr, "Tools");
    LaunchEntry* entry = EntryOf(list_->AddItemNode(0, "NOTEPAD.EXE"));
    entry->File = "C:\\WINDOWS\\NOTEPAD.EXE";
    entry->Option = "C:\\MEMO.TXT";
    entry->Dir = "C:\\WINDOWS\\";
    list_->AddItemNode(0, "--------")->SetImageIndex(kNoImage);
    dialog.SaveAndClose();
    EXPECT_EQ(kToolsFile, ReadWholeFile(fileName_));
    EXPECT_EQ("#0 \"Tools\"\n  #1 \"NOTEPAD.EXE\" launches\n  #2 \"-\" launches\n", Submenu());
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_F(LauncherTest, ABadParentLinkIsReportedAndLeavesThePlaceholderUntilTheNextSave)
{
    ASSERT_TRUE(WriteWholeFile(
        fileName_, "[FOLDER]\r\nITEM0=1\r\nITEM1=0\r\nITEM2=0\r\n[PARENT]\r\nNODE1=-1\r\nNODE2=5\r\n"
                   "[ExecInfo0]\r\nNAME=a\r\n[ExecInfo1]\r\nNAME=b\r\n[ExecInfo2]\r\nNAME=c\r\n"));
    LauncherDialog& dialog = Start();
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("不正なインデックス.", boxes[0].text);
    EXPECT_EQ("Mivtra", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(2, dialog.TreeView()->Items().Count());
    EXPECT_EQ("LauncherPlaceholder \"(なし)\" (not owned)\n", Submenu());

    dialog.SaveAndClose();
    EXPECT_EQ("#0 \"a\"\n  #1 \"b\" launches\n", Submenu());
    EXPECT_EQ(nullptr, placeholder_->Parent());
}

TEST_F(LauncherTest, ASaveRebuildsTheSubmenuAndClosesTheDialog)
{
    ASSERT_TRUE(WriteWholeFile(fileName_, ItemsFile(10)));
    LauncherDialog& dialog = Start();
    ASSERT_EQ(10, launch_->ComponentCount());
    Item(0)->SetHint("built at start");
    TreeModel& tree = dialog.TreeView()->Items();
    for (int index : {9, 7, 5, 3, 1, 0}) {
        tree.Delete(tree.Node(index));
    }
    ClickSave(dialog, true);
    dialog.ShowModal();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(TakeShownBoxes().empty());
    EXPECT_EQ("#0 \"n2\" launches\n#1 \"n4\" launches\n#2 \"n6\" launches\n#3 \"n8\" launches\n", Submenu());
    EXPECT_EQ(4, launch_->ComponentCount());
    EXPECT_EQ("", launch_->Items(0)->Hint()) << "the items of the first build are still there";
    // The list is rewritten; the sections of nodes 4 to 9 stay behind unread.
    const std::string saved = ReadWholeFile(fileName_);
    EXPECT_NE(std::string::npos, saved.find("[FOLDER]\r\nITEM0=0\r\nITEM1=0\r\nITEM2=0\r\nITEM3=0\r\n["));
    EXPECT_NE(std::string::npos, saved.find("[ExecInfo9]\r\nNAME=n9\r\n"));
}

TEST_F(LauncherTest, AFailedSaveChangesNoByteAndKeepsTheDialogOpen)
{
    const std::string file = std::string(kToolsFile) + "[Other]\r\nKEEP=1\r\n";
    ASSERT_TRUE(WriteWholeFile(fileName_, file));
    LauncherDialog& dialog = Start();
    MenuItem* first = Item(0);
    list_->AddItemNode(-2, "new");
    dialog.Show();
    ASSERT_TRUE(SetFileAttributesA(fileName_.c_str(), FILE_ATTRIBUTE_READONLY));
    ClickSave(dialog);
    SetFileAttributesA(fileName_.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(fileName_ + " に書き込めません.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(file, ReadWholeFile(fileName_));
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(first, Item(0));
    EXPECT_EQ(nullptr, Item(3));

    // A file that cannot be read: a save that started from an empty document
    // would replace the file with one that lost its other sections. A close request after the
    // failure closes the dialog; the list waits for the next save.
    SetIniFileOpenForReading(RefuseToOpen);
    ClickSave(dialog);
    SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    SetIniFileOpenForReading(nullptr);
    EXPECT_EQ(2u, TakeShownBoxes().size());
    EXPECT_EQ(file, ReadWholeFile(fileName_));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(list_->Unsaved());
    dialog.Show();
    ClickSave(dialog);
    EXPECT_FALSE(list_->Unsaved());
    EXPECT_NE(std::string::npos, ReadWholeFile(fileName_).find("[Other]\r\nKEEP=1\r\n"));
    EXPECT_NE(nullptr, Item(3));
    // The session ends while the dialog shows edits not saved yet: they go to the rescue copy.
    dialog.Show();
    list_->SetRescueFileName(folder_.Path() + "rescue.ini");
    list_->RescueUnsaved(false);
    EXPECT_EQ("(missing)", ReadWholeFile(folder_.Path() + "rescue.ini")) << "nothing was edited";
    list_->AddItemNode(-2, "late");
    list_->RescueUnsaved(false);
    EXPECT_NE(std::string::npos, ReadWholeFile(folder_.Path() + "rescue.ini").find("NAME=late\r\n"));
}

TEST_F(LauncherTest, SavingOverAFileChangedOutsideAsksAndEachAnswerDoesWhatItSays)
{
    const std::string outside = ItemsFile(2);
    // Yes takes the file's version, No writes the dialog's list over it, Cancel goes back.
    struct Case {
        int answer, nodes;
        bool closed, overwritten;
    } const cases[] = {{IDYES, 2, true, false}, {IDNO, 4, true, true}, {IDCANCEL, 4, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ASSERT_TRUE(WriteWholeFile(fileName_, kToolsFile));
        LauncherDialog& dialog = Start();
        list_->AddItemNode(-2, "mine");
        dialog.Show();
        ASSERT_TRUE(WriteWholeFile(fileName_, outside));
        AnswerBoxes([&](const ShownBox&) { return c.answer; });
        ClickSave(dialog);
        AnswerBoxes(nullptr);
        const std::vector<ShownBox> boxes = TakeShownBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(kOutsideChangeQuestion, boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3), boxes[0].type);
        EXPECT_EQ(c.closed, !dialog.Visible());
        EXPECT_EQ(c.nodes, list_->Items().Count());
        EXPECT_EQ(c.overwritten, ReadWholeFile(fileName_) != outside);
        dialog.Hide();
    }
}

TEST_F(LauncherTest, AnOutsideEditReachesTheSubmenuWhileTheDialogIsClosedAndOwnSavesAreNoChange)
{
    ASSERT_TRUE(WriteWholeFile(fileName_, kToolsFile));
    LauncherDialog& dialog = Start();
    // As the main window does on the folder watch's word (the watch runs in e2e "outside").
    dialog.Show();
    ClickSave(dialog);   // the list's own save
    MenuItem* built = Item(0);
    list_->FollowFile();
    EXPECT_EQ(built, Item(0)) << "its own save was taken for an outside change";

    ASSERT_TRUE(WriteWholeFile(fileName_, ItemsFile(2)));
    list_->FollowFile();
    EXPECT_EQ("#0 \"n0\" launches\n#1 \"n1\" launches\n", Submenu());

    // While the dialog shows the list, an edit waits for the dialog's end ("決定" asks then).
    dialog.Show();
    ASSERT_TRUE(WriteWholeFile(fileName_, ItemsFile(3)));
    list_->FollowFile();
    EXPECT_EQ(2, list_->Items().Count());
    dialog.Hide();
    DeleteFileA(fileName_.c_str());
    list_->FollowFile();
    EXPECT_EQ(2, list_->Items().Count()) << "a file that is gone emptied the list";
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_F(LauncherTest, ALauncherItemStartsTheEntryItsNumberNamesAtTheMomentOfTheClick)
{
    ASSERT_TRUE(WriteWholeFile(fileName_, ItemsFile(8) + "[FOLDER]\r\n"));
    LauncherDialog& dialog = Start();
    LaunchEntry* seventh = EntryOf(dialog.TreeView()->Items().Node(7));
    seventh->File = "C:\\Program Files\\edited.exe";
    returned_ = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &returned_, 0,
                                FALSE, DUPLICATE_SAME_ACCESS));
    Item(7)->Click();
    ASSERT_EQ(1u, calls_.size());
    EXPECT_EQ("C:\\Program Files\\edited.exe", calls_[0].file);
    EXPECT_EQ("o7", calls_[0].parameters);
    EXPECT_EQ("open", calls_[0].verb);
    EXPECT_EQ("d7", calls_[0].directory);
    EXPECT_EQ(SW_SHOW, calls_[0].show);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(returned_, &flags)) << "the process handle was not closed";
    returned_ = nullptr;

    // The tree shrinks in the dialog; the menu keeps its numbers until the next save.
    TreeModel& tree = dialog.TreeView()->Items();
    tree.Delete(tree.Node(7));
    tree.Delete(tree.Node(6));
    MenuItem* stale = Item(7);
    ASSERT_NE(nullptr, stale);
    GuardCallback(0, [&] {
        stale->Click();
        return 0;
    });
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("不正なインデックス.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(1u, calls_.size());

    // Once the list is gone, the items it left in the menu start nothing.
    MenuItem* first = Item(0);
    dialog_.reset();
    list_.reset();
    first->Click();
    EXPECT_EQ(1u, calls_.size());
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_F(LauncherTest, TheTreeControlIsFilledWhenTheDialogShowsAndFollowsTheTreeThen)
{
    ASSERT_TRUE(WriteWholeFile(fileName_, kToolsFile));
    LauncherDialog& dialog = Start();
    EXPECT_EQ(0, ControlCount(dialog));
    dialog.Show();
    EXPECT_EQ(3, ControlCount(dialog));
    TreeModel& tree = dialog.TreeView()->Items();
    TreeNode* added = list_->AddItemNode(-2, "added");
    EXPECT_EQ(4, ControlCount(dialog));
    HTREEITEM item = dialog.TreeView()->ItemHandle(added);
    EXPECT_EQ(added, TreeView::NodeOf(dialog.TreeView()->Handle(), item));
    tree.MoveToFirstChild(added, tree.Node(0));
    tree.Delete(tree.Node(2));
    EXPECT_EQ(3, ControlCount(dialog));
    // The first child of the folder's item is the moved node's.
    HTREEITEM folder = dialog.TreeView()->ItemHandle(tree.Node(0));
    auto child = reinterpret_cast<HTREEITEM>(SendMessageA(dialog.TreeView()->Handle(), TVM_GETNEXTITEM,
                                                          TVGN_CHILD, reinterpret_cast<LPARAM>(folder)));
    EXPECT_EQ(added, TreeView::NodeOf(dialog.TreeView()->Handle(), child));
    dialog.Hide();
}

TEST_F(LauncherTest, AListNestedAHundredThousandLevelsDeepNeitherCrashesNorHangs)
{
    constexpr int kDepth = 100000;
    std::string folder = "[FOLDER]\r\n", parent = "[PARENT]\r\n";
    for (int i = 0; i < kDepth; ++i) {
        folder += "ITEM" + std::to_string(i) + "=1\r\n";
        parent += "NODE" + std::to_string(i) + "=" + std::to_string(i - 2) + "\r\n";
    }
    ASSERT_TRUE(WriteWholeFile(fileName_, folder + parent));
    // The menu as the main window has it, so that its handle is made and taken apart.
    auto* menu = new PopupMenu(host_.get());
    launch_->SetSubmenu(true);
    menu->Items()->Add(launch_);
    LauncherDialog& dialog = Start();
    EXPECT_EQ(kDepth, dialog.TreeView()->Items().Count());
    // The submenu and the tree control stop at their depths; the list itself is whole.
    EXPECT_EQ(kMaxLaunchMenuDepth, launch_->ComponentCount());
    menu->BuildHandle();
    dialog.Show();
    EXPECT_EQ(TreeView::kMaxDepth, ControlCount(dialog));
    dialog.SaveAndClose();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(kMaxLaunchMenuDepth, launch_->ComponentCount());
    EXPECT_TRUE(TakeShownBoxes().empty());
    dialog_.reset();
}

namespace {

class ShellExecuteTest : public testing::Test {
protected:
    void SetUp() override
    {
        program_ = folder_.Path() + "record.exe";
        ASSERT_TRUE(CopyFileA((ModuleDirectory() + "record_args.exe").c_str(), program_.c_str(), FALSE));
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        previousDirectory_ = current;
    }
    void TearDown() override { SetCurrentDirectoryA(previousDirectory_.c_str()); }

    // The started program's command line and working directory.
    std::vector<std::string> Run(const std::string& parameters, const std::string& directory)
    {
        HANDLE process = ShellOpen(program_, parameters, "open", directory, SW_SHOW);
        EXPECT_NE(nullptr, process);
        if (!process) {
            return {};
        }
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 20000));
        CloseHandle(process);
        std::string record = ReadWholeFile(folder_.Path() + "record.txt");
        std::vector<std::string> lines;
        for (std::size_t end; (end = record.find("\r\n")) != std::string::npos; record.erase(0, end + 2)) {
            lines.push_back(record.substr(0, end));
        }
        return lines;
    }

    ScratchFolder folder_;
    std::string program_;
    std::string previousDirectory_;
};

// Confirms every message box of the thread, counting them.
BOOL CALLBACK AnswerShellBox(HWND window, LPARAM count)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window)) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        ++*reinterpret_cast<std::atomic<int>*>(count);
    }
    return TRUE;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

}   // namespace

TEST_F(ShellExecuteTest, StartsInTheCurrentDirectoryWhenNoneIsGivenAndPassesOptionsAsTheyAre)
{
    const std::string current = folder_.Path() + "current";
    CreateDirectoryA(current.c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
    const std::string options = "C:\\MEMO FILE.TXT -x \"q r\"";
    std::vector<std::string> lines = Run(options, "");
    ASSERT_EQ(2u, lines.size());
    const std::string& commandLine = lines[0];
    ASSERT_GE(commandLine.size(), options.size() + 1);
    EXPECT_EQ(" " + options, commandLine.substr(commandLine.size() - options.size() - 1)) << commandLine;
    EXPECT_TRUE(SamePath(current, lines[1])) << lines[1];

    const std::string given = folder_.Path() + "given";
    CreateDirectoryA(given.c_str(), nullptr);
    lines = Run("", given);
    ASSERT_EQ(2u, lines.size());
    EXPECT_TRUE(SamePath(given, lines[1])) << lines[1];
}

TEST_F(ShellExecuteTest, AMissingFileGivesTheShellsOwnMessageAndNoProcess)
{
    // The shell's box runs on this thread; a helper answers it.
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::atomic<int> answered{0};
    std::thread closer([&] {
        while (!done) {
            EnumThreadWindows(thread, AnswerShellBox, reinterpret_cast<LPARAM>(&answered));
            Sleep(50);
        }
    });
    HANDLE process = ShellOpen(folder_.Path() + "missing.exe", "", "open", "", SW_SHOW);
    done = true;
    closer.join();
    EXPECT_EQ(nullptr, process);
    EXPECT_GE(answered.load(), 1) << "the shell showed no message";
    EXPECT_TRUE(TakeShownBoxes().empty());
}

namespace {

// Stands in for the shell on the worker's threads: every question counted, every answer an
// icon, none for a file that does not exist; a file on a share waits until the test lets it go.
std::atomic<int> g_iconQuestions{0};
std::atomic<int> g_sizeAsked{0};
HANDLE g_shareAnswers = nullptr;   // owned by the test

HICON CountedIcon(const std::string& file, int size)
{
    ++g_iconQuestions;
    g_sizeAsked = size;
    if (file.rfind("\\\\", 0) == 0) {
        WaitForSingleObject(g_shareAnswers, INFINITE);
    }
    return GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES && file[0] != '\\'
               ? nullptr
               : SolidIcon(RGB(0, 0, 255));
}

}   // namespace

TEST(LaunchIconTest, ItemsShowTheirKindsPictureUntilTheWorkerHasTheirFileAndAShareHoldsUpOnlyItself)
{
    ScratchFolder folder;
    ScratchKey settings;
    FakeShell shell;
    settings.SetString(kSettingsSection, "HOOK", "0");
    const std::string program = ModuleDirectory() + "record_args.exe", memo = folder.Path() + "memo.txt";
    ASSERT_TRUE(WriteWholeFile(memo, "one"));
    ASSERT_TRUE(WriteWholeFile(
        folder.Path() + "LAUNCH.INI",
        "[FOLDER]\r\nITEM0=1\r\nITEM1=0\r\nITEM2=1\r\nITEM3=0\r\nITEM4=0\r\nITEM5=0\r\nITEM6=0\r\n"
        "[PARENT]\r\nNODE1=-1\r\nNODE2=-1\r\n[ExecInfo1]\r\nFILE=" +
            program + "\r\n[ExecInfo3]\r\nFILE=" + folder.Path() + "missing.exe\r\n" +
            "[ExecInfo4]\r\nFILE=" + program + "\r\n[ExecInfo5]\r\nFILE=" + memo +
            "\r\n[ExecInfo6]\r\nFILE=\\\\host\\share\\tool.exe\r\n"));
    g_iconQuestions = 0;
    g_shareAnswers = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto main = std::make_unique<MainWindow>(application, settings.Path());
    main->SetLaunchIconSource(CountedIcon, 0);
    auto list = std::make_unique<LaunchList>(nullptr, main->LauncherSubmenu(), &ShellOpen,
                                             folder.Path() + "LAUNCH.INI");
    main->SetLaunchList(list.get());
    list->Load();
    auto image = [&](int nodeIndex) { return list->MenuItemOf(nodeIndex)->ImageIndex(); };
    auto settle = [&] { return PumpUntil([&] { return main->LaunchPicturesSettled(); }, 20000); };

    // Before any answer is taken in: the kind's picture, told from the name alone.
    const int generic[] = {LaunchPictures::kFolder,  LaunchPictures::kProgram, LaunchPictures::kFolder,
                           LaunchPictures::kProgram, LaunchPictures::kProgram, LaunchPictures::kDocument,
                           LaunchPictures::kProgram};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(generic[i], image(i)) << i;
    }
    // Every other file is answered while the share's look-up waits; then the share's too.
    EXPECT_TRUE(PumpUntil([&] { return image(5) > LaunchPictures::kProgram; }, 20000));
    EXPECT_EQ(LaunchPictures::kProgram, image(6));
    SetEvent(g_shareAnswers);
    ASSERT_TRUE(settle());
    // The files' pictures after the folder picture and the three generic ones; one per file.
    EXPECT_EQ((std::set<int>{4, 5, 6}), (std::set<int>{image(1), image(5), image(6)}));
    EXPECT_EQ(image(1), image(4));
    EXPECT_EQ(-1, image(3)) << "no icon for a missing file";
    EXPECT_EQ(LaunchPictures::kFolder, image(2));
    EXPECT_EQ(4, g_iconQuestions);

    // Openings have the files looked at again; the shell is asked only about one that
    // changed, whose item gets the new picture. An item gone from the menu is skipped.
    const int programPicture = image(1);
    main->RecheckLaunchPictures();
    ASSERT_TRUE(settle());
    EXPECT_EQ(4, g_iconQuestions);
    delete list->MenuItemOf(1);
    ASSERT_TRUE(WriteWholeFile(memo, "written again"));
    main->RecheckLaunchPictures();
    ASSERT_TRUE(settle());
    EXPECT_EQ(5, g_iconQuestions);
    EXPECT_EQ(7, image(5));
    EXPECT_EQ(programPicture, image(4));
    // A file changed again and again: the list starts afresh rather than growing for ever.
    for (int i = 0; i < 70; ++i) {
        ASSERT_TRUE(WriteWholeFile(memo, std::string(i + 20, 'x')));
        main->RecheckLaunchPictures();
        ASSERT_TRUE(settle());
    }
    EXPECT_LT(main->LaunchImages()->Count(), 70);
    EXPECT_GE(image(5), 4);

    // An outside edit followed: the list builds its submenu anew, and its pictures follow it at
    // once, the known ones kept, a new file's its kind's until the worker has it.
    const int memoPicture = image(5), programNow = image(4);
    const auto outside = [&](const char* second) {
        ASSERT_TRUE(WriteWholeFile(folder.Path() + "LAUNCH.INI",
                                   "[FOLDER]\r\nITEM0=0\r\nITEM1=" + std::string(second) +
                                       "\r\nITEM2=0\r\n[ExecInfo0]\r\nFILE=" + memo +
                                       "\r\n[ExecInfo1]\r\nFILE=\\\\host\\share\\new.exe\r\n"
                                       "[ExecInfo2]\r\nFILE=" +
                                       program + "\r\n"));
        list->FollowFile();
    };
    ResetEvent(g_shareAnswers);
    const int asked = g_iconQuestions;
    const auto firstThree = [&] { return std::vector<int>{image(0), image(1), image(2)}; };
    outside("0");
    EXPECT_EQ((std::vector<int>{memoPicture, LaunchPictures::kProgram, programNow}), firstThree());
    EXPECT_EQ(nullptr, list->MenuItemOf(3));
    // While the share's look-up waits, the list changes again: its item is a folder now, and
    // the answer about the list before reaches no item.
    ASSERT_TRUE(PumpUntil([&] { return g_iconQuestions > asked; }, 20000));
    outside("1");
    SetEvent(g_shareAnswers);
    ASSERT_TRUE(settle());
    EXPECT_EQ((std::vector<int>{memoPicture, LaunchPictures::kFolder, programNow}), firstThree());
    EXPECT_TRUE(TakeShownBoxes().empty());

    // At another DPI the files are asked for again at its size, their kinds' pictures meanwhile.
    const int before = g_iconQuestions;
    main->UsePictureSize(24);
    EXPECT_EQ(LaunchPictures::kDocument, image(0));
    ASSERT_TRUE(settle());
    EXPECT_EQ(std::pair(before + 2, 24), std::pair(g_iconQuestions.load(), g_sizeAsked.load()));
    EXPECT_GT(image(0), LaunchPictures::kProgram);

    list.reset();
    main->Close();
    main.reset();
    DrainQuitMessages();
    CloseHandle(g_shareAnswers);
}
