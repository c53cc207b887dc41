// Files dropped on the drop window: WM_DROPFILES sent to the real main window with the real
// launcher dialog behind it, and the registration's steps against a recording list.
#include "shell/main_window.h"

#include "base/error.h"
#include "base/sjis.h"
#include "base/tree_model.h"
#include "drop_support.h"
#include "file_test_support.h"
#include "framework/application.h"
#include "framework/label.h"
#include "framework/menu_item.h"
#include "framework/tree_view.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launcher_dialog.h"
#include "triggers/drop_files.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// "表" in code page 932 is 0x95 0x5C: its second byte is a backslash.
const std::string kHyou = "\x95\x5C";

// A top-level node as "name | File | Option | Dir | image/selected image".
std::string Item(const std::string& name, const std::string& file, const std::string& dir)
{
    return name + " | " + file + " |  | " + dir + " | 2/2";
}

std::string ShortPathOf(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = L"";
    GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return AnsiText(shortPath);
}

void Touch(const std::wstring& path)
{
    CloseHandle(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class DropTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        TakeShownBoxes();
        settings_.SetString(kSettingsSection, "HOOK", "0");
        settings_.SetString(kSettingsSection, "DispIcon", "0");
        settings_.SetString(kSettingsSection, "DragDrop", "1");
        list_ = folder_.Path() + "LAUNCH.INI";
    }
    void TearDown() override
    {
        dialog_.reset();
        launchList_.reset();
        main_.reset();
        DrainQuitMessages();
    }

    void Start()
    {
        main_ = std::make_unique<MainWindow>(application, settings_.Path());
        launchList_ = std::make_unique<LaunchList>(nullptr, main_->LauncherSubmenu(), nullptr, list_);
        main_->SetLaunchList(launchList_.get());
        dialog_ = std::make_unique<LauncherDialog>(application, launchList_.get());
        main_->SetLauncherDialog(dialog_.get());
    }

    // Sends the drop in the form of the test's parameter; true when the handle was released.
    bool Drop(const std::vector<std::string>& paths) { return DropWide(Wide(paths)); }
    bool DropWide(const std::vector<std::wstring>& paths)
    {
        HDROP drop = MakeDrop(paths, GetParam());
        SendMessageA(main_->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        return Released(drop);
    }
    static std::vector<std::wstring> Wide(const std::vector<std::string>& paths)
    {
        std::vector<std::wstring> wide;
        for (const std::string& path : paths) {
            wide.push_back(WideText(path));
        }
        return wide;
    }

    std::vector<std::string> TopItems() const
    {
        std::vector<std::string> items;
        const TreeModel& tree = dialog_->TreeView()->Items();
        for (int i = 0; i < tree.TopCount(); ++i) {
            const TreeNode* node = tree.Top(i);
            const LaunchEntry* e = EntryOf(node);
            items.push_back(node->Text() + " | " +
                            (e ? e->File + " | " + e->Option + " | " + e->Dir : "(folder)") + " | " +
                            std::to_string(node->ImageIndex()) + "/" + std::to_string(node->SelectedIndex()));
        }
        return items;
    }
    std::string Message() const { return main_->DropMessage()->Caption(); }
    std::string Dir() const { return folder_.Path(); }

    ScratchFolder folder_;
    ScratchKey settings_;
    std::string list_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<LaunchList> launchList_;
    std::unique_ptr<LauncherDialog> dialog_;
};

INSTANTIATE_TEST_SUITE_P(Forms, DropTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Wide" : "Ansi";
                         });

TEST_P(DropTest, FilesBecomeItemsAtTheEndInTheShellsOrderWhateverTheDialogHasSelected)
{
    ASSERT_TRUE(WriteWholeFile(list_, "[FOLDER]\r\nITEM0=1\r\nITEM1=0\r\n[PARENT]\r\nNODE1=-1\r\n"
                                      "[ExecInfo0]\r\nNAME=Tools\r\n[ExecInfo1]\r\nNAME=in\r\nFILE=x\r\n"));
    ASSERT_TRUE(WriteWholeFile(Dir() + "c.txt", ""));
    ASSERT_TRUE(WriteWholeFile(Dir() + "A.EXE", ""));
    ASSERT_TRUE(WriteWholeFile(Dir() + "予定" + kHyou + ".lnk", ""));   // a shortcut is registered as itself
    Start();
    TreeView* tree = dialog_->TreeView();
    tree->Synchronize();
    SendMessageA(tree->Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree->ItemHandle(tree->Items().Top(0))));
    ASSERT_EQ(tree->Items().Top(0), tree->Selected());

    // Spelled otherwise than stored: the node takes the entry's spelling, the file the drop's.
    EXPECT_TRUE(Drop({Dir() + "c.txt", Dir() + "a.exe", Dir() + "予定" + kHyou + ".lnk"}));

    const std::vector<std::string> expected = {
        "Tools | (folder) | 0/1",
        Item("c.txt", Dir() + "c.txt", Dir()),
        Item("A.EXE", Dir() + "a.exe", Dir()),
        Item("予定" + kHyou + ".lnk", Dir() + "予定" + kHyou + ".lnk", Dir()),
    };
    EXPECT_EQ(expected, TopItems());
    EXPECT_EQ("予定" + kHyou + ".lnkを登録しました", Message());
    EXPECT_TRUE(TakeShownBoxes().empty());

    // Saved: a fresh load gives the same list, and the submenu was built from it.
    LaunchList reloaded(nullptr, nullptr, nullptr, list_);
    reloaded.Load();
    EXPECT_EQ(5, reloaded.Items().Count());
    EXPECT_EQ("予定" + kHyou + ".lnk", reloaded.Items().Top(3)->Text());
    ASSERT_EQ(4, main_->LauncherSubmenu()->Count());
    EXPECT_EQ("予定" + kHyou + ".lnk", main_->LauncherSubmenu()->Items(3)->Caption());
}

TEST_P(DropTest, FoldersRootsAndEntriesGoneKeepARealNameAndLongPathsStayWhole)
{
    CreateDirectoryA((Dir() + "Tools").c_str(), nullptr);
    CreateDirectoryA((Dir() + "Tools\\Bin").c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(Dir() + "here.txt", ""));
    // 258 bytes, past the 254 a fixed buffer would keep, with a trail byte 0x5C near the end.
    std::string deep = Dir();
    while (deep.size() < 240) {
        deep += std::string(std::min<size_t>(40, 240 - deep.size()), 'd') + "\\";
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    const std::string longPath = deep + std::string(258 - deep.size() - 6, 'n') + kHyou + ".txt";
    ASSERT_TRUE(WriteWholeFile(longPath, ""));
    ASSERT_EQ(258u, longPath.size());
    Start();

    EXPECT_TRUE(Drop({Dir() + "Tools\\Bin", "C:\\", Dir() + "here.txt", Dir() + "gone.txt", longPath}));

    const std::vector<std::string> expected = {
        Item("Bin", Dir() + "Tools\\Bin", Dir() + "Tools\\"),
        Item("C:\\", "C:\\", "C:\\"),
        Item("here.txt", Dir() + "here.txt", Dir()),
        // Not the name of the path before it.
        Item("gone.txt", Dir() + "gone.txt", Dir()),
        Item(longPath.substr(deep.size()), longPath, deep),
    };
    EXPECT_EQ(expected, TopItems());
}

TEST_P(DropTest, ANameShiftJisCannotHoldIsRegisteredByItsShortPathOrNotAtAll)
{
    const std::wstring korean = WideText(Dir()) + L"\xD55C\xAD6D\xC5B4.txt";
    const std::wstring emoji = WideText(Dir()) + L"\xD83D\xDE00 smile.txt";
    Touch(korean);
    Touch(emoji);
    Start();

    EXPECT_TRUE(DropWide({korean, emoji}));
    const std::string koreanShort = ShortPathOf(korean);
    const std::string emojiShort = ShortPathOf(emoji);
    if (GetParam()) {
        ASSERT_NE(std::string::npos, koreanShort.find('~')) << koreanShort;
        // The short path shortens every component that has a short name, the folder's too.
        const std::vector<std::string> expected = {
            Item(ExtractFileName(koreanShort), koreanShort, ExtractFilePath(koreanShort)),
            Item(ExtractFileName(emojiShort), emojiShort, ExtractFilePath(emojiShort)),
        };
        EXPECT_EQ(expected, TopItems());
    } else {
        // The ANSI form arrives with "?" in place of the characters: nothing leads to the file.
        EXPECT_TRUE(TopItems().empty());
        EXPECT_EQ(kUnregistrableMessage, Message());
    }

    // Gone before the look-up: there is no short path either, and nothing is saved.
    const std::string before = ReadWholeFile(list_);
    main_->DropMessage()->SetCaption("");
    EXPECT_TRUE(DropWide({WideText(Dir()) + L"\xC5C6\xC74C.txt"}));
    EXPECT_EQ(GetParam() ? 2u : 0u, TopItems().size());
    EXPECT_EQ(kUnregistrableMessage, Message());
    // The longest message shows whole in the drop window.
    const RECT label = main_->DropMessage()->BoundsRect();
    EXPECT_GE(label.right - label.left, TextWidth(main_->DropMessage()->Handle(), Message()));
    EXPECT_EQ(before, ReadWholeFile(list_));
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_P(DropTest, AFailingSaveIsReportedOncePerDropAndLosesNoPath)
{
    ASSERT_TRUE(WriteWholeFile(list_, "[FOLDER]\r\nITEM0=0\r\n[ExecInfo0]\r\nNAME=old\r\n"));
    const std::string before = ReadWholeFile(list_);
    Start();
    ASSERT_TRUE(SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(Drop({Dir() + "one", Dir() + "two", Dir() + "three"}));
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(list_ + " に書き込めません.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(4u, TopItems().size());
    EXPECT_EQ("threeを登録しました", Message());
    EXPECT_EQ(before, ReadWholeFile(list_));

    // The next drop that can save writes the whole list.
    SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Drop({Dir() + "four"}));
    EXPECT_TRUE(TakeShownBoxes().empty());
    LaunchList reloaded(nullptr, nullptr, nullptr, list_);
    reloaded.Load();
    EXPECT_EQ(5, reloaded.Items().Count());

    // A drop that names nothing changes nothing, and its handle is released too.
    SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Drop({}));
    EXPECT_TRUE(TakeShownBoxes().empty());
    EXPECT_EQ("fourを登録しました", Message());
    SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_P(DropTest, ADropJoinsAFileChangedOutsideAndAListThatNeverReachedItsFileIsRescuedAtTheEnd)
{
    ASSERT_TRUE(WriteWholeFile(list_, "[FOLDER]\r\nITEM0=0\r\n[ExecInfo0]\r\nNAME=old\r\n"));
    Start();
    // Edited by hand while the program runs: the drop appends to that list, not to the old one.
    ASSERT_TRUE(WriteWholeFile(list_, "[FOLDER]\r\nITEM0=1\r\nITEM1=0\r\n[ExecInfo0]\r\nNAME=hand\r\n"
                                      "[ExecInfo1]\r\nNAME=made\r\n[Other]\r\nKEEP=1\r\n"));
    EXPECT_TRUE(Drop({Dir() + "one"}));
    EXPECT_EQ((std::vector<std::string>{"hand | (folder) | 0/1", Item("made", "", ""),
                                        Item("one", Dir() + "one", Dir())}),
              TopItems());

    // The file refuses the next drop's save; the program ends with the list unsaved.
    ASSERT_TRUE(SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(Drop({Dir() + "two"}));
    const std::string rescue = Dir() + "rescue.ini";
    launchList_->SetRescueFileName(rescue);
    TakeShownBoxes();
    main_->Close();
    SetFileAttributesA(list_.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(list_ + " に書き込めなかったランチャの変更を、" + rescue + " に保存しました。", boxes[0].text);
    LaunchList rescued(nullptr, nullptr, nullptr, rescue);
    rescued.Load();
    ASSERT_EQ(4, rescued.Items().Count());
    EXPECT_EQ("two", rescued.Items().Top(3)->Text());
    EXPECT_NE(std::string::npos, ReadWholeFile(rescue).find("[Other]\r\nKEEP=1\r\n"));
}

// The steps of one drop, as a list that records them.
class RecordingRegistry : public DropRegistry {
public:
    void AddEntry(const DropEntry& entry) override { log.push_back("add " + entry.name); }
    void ShowMessage(const std::string& text) override { log.push_back("show " + text); }
    void Save() override
    {
        log.push_back("save");
        if (failures > 0) {
            --failures;
            throw Error("save " + std::to_string(log.size()));
        }
    }
    std::vector<std::string> log;
    int failures = 0;
};

TEST(RegisterDropTest, EachPathIsAddedShownAndSavedBeforeTheNextAndOnlyAnUnsavedEndIsAnError)
{
    const std::vector<std::wstring> paths = {L"C:\\x\\a", L"C:\\x\\\xD55C", L"C:\\x\\b"};
    RecordingRegistry registry;
    registry.failures = 1;   // the first save fails, the last one writes everything
    HDROP drop = MakeDrop(paths, true);
    RegisterDrop(UniqueDrop(drop), registry);
    EXPECT_TRUE(Released(drop));
    EXPECT_EQ((std::vector<std::string>{"add a", "show aを登録しました", "save",
                                        std::string("show ") + kUnregistrableMessage, "add b",
                                        "show bを登録しました", "save"}),
              registry.log);

    RecordingRegistry failing;
    failing.failures = 2;
    drop = MakeDrop(paths, true);
    try {
        RegisterDrop(UniqueDrop(drop), failing);
        ADD_FAILURE() << "an unsaved drop raised nothing";
    } catch (const Error& e) {
        EXPECT_STREQ("save 7", e.what());   // the last save's error, once
    }
    EXPECT_TRUE(Released(drop));
    EXPECT_EQ(7u, failing.log.size());
}

}   // namespace
