// The launcher settings dialog through its real windows: the layout read back from them, and
// every handler driven the way the user drives it, through the controls' own messages.
#include "launcher/launcher_dialog.h"

#include "base/tree_model.h"
#include "components/browse_dialog.h"
#include "file_test_support.h"
#include "framework/application.h"
#include "framework/display_dpi.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/open_dialog.h"
#include "framework/popup_menu.h"
#include "framework/tree_view.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launch_menu_item.h"
#include "menu_test_support.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// F { a, b }, G { }, --------, t
const char kSampleFile[] =
    "[FOLDER]\r\nITEM0=1\r\nITEM1=0\r\nITEM2=0\r\nITEM3=1\r\nITEM4=0\r\nITEM5=0\r\n"
    "[PARENT]\r\nNODE0=-2\r\nNODE1=-1\r\nNODE2=-1\r\nNODE3=-2\r\nNODE4=-2\r\nNODE5=-2\r\n"
    "[ExecInfo0]\r\nNAME=F\r\n[ExecInfo1]\r\nNAME=a\r\nFILE=C:\\a.exe\r\nOPTION=-a\r\nDIR=C:\\\r\n"
    "[ExecInfo2]\r\nNAME=b\r\nFILE=C:\\b.exe\r\nOPTION=-b\r\nDIR=D:\\\r\n[ExecInfo3]\r\nNAME=G\r\n"
    "[ExecInfo4]\r\nNAME=--------\r\n[ExecInfo5]\r\nNAME=t\r\nFILE=C:\\t.exe\r\nOPTION=-t\r\nDIR=E:\\\r\n";

// The file dialog as the test answers it (a file, or a cancel without one), and what it got.
std::string g_chosenFile;
std::string g_filter;
OPENFILENAMEA g_given;

// The folder dialog as the test answers it (a folder, or a cancel without one), and the folder
// it was asked to open on.
std::optional<std::string> g_chosenFolder;
std::string g_openedOn;

PIDLIST_ABSOLUTE WINAPI AnswerBrowseDialog(LPBROWSEINFOA info)
{
    g_openedOn = reinterpret_cast<BrowseDialog*>(info->lParam)->Directory();
    // Any block from the shell's allocator stands for the chosen item; Execute frees it.
    return g_chosenFolder ? static_cast<PIDLIST_ABSOLUTE>(CoTaskMemAlloc(2)) : nullptr;
}

BOOL WINAPI PathOfChosenFolder(PCIDLIST_ABSOLUTE, LPSTR path)
{
    lstrcpynA(path, g_chosenFolder->c_str(), MAX_PATH);
    return TRUE;
}

BOOL WINAPI AnswerOpenDialog(LPOPENFILENAMEA info)
{
    g_given = *info;
    const char* end = info->lpstrFilter;
    while (end[0] || end[1]) {
        ++end;
    }
    g_filter.assign(info->lpstrFilter, end + 1);
    lstrcpynA(info->lpstrFile, g_chosenFile.c_str(), static_cast<int>(info->nMaxFile));
    return !g_chosenFile.empty();
}

class LauncherDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeShownBoxes();
        previousOpen_ = OpenDialog::SetGetOpenFileName(AnswerOpenDialog);
        launch_->SetName("LauncherSubmenu");
        Start(kSampleFile);
    }
    void TearDown() override
    {
        AnswerBoxes(nullptr);
        OpenDialog::SetGetOpenFileName(previousOpen_);
        dialog_.reset();
        DrainQuitMessages();
    }

    // Shown, the tree control mirrors the list; it takes the focus and, with nothing selected,
    // selects its first node, as a tree control does.
    void Start(const std::string& file, bool show = true)
    {
        dialog_.reset();
        ASSERT_TRUE(WriteWholeFile(path_, file));
        list_ = std::make_unique<LaunchList>(nullptr, launch_, nullptr, path_);
        dialog_ = std::make_unique<LauncherDialog>(application, list_.get());
        if (show) {
            dialog_->Show();
            SetForegroundWindow(dialog_->Handle());
        }
    }

    template <typename T = Control>
    T* Get(const char* name) const
    {
        return dynamic_cast<T*>(dialog_->FindComponent(name));
    }
    TreeView& Tree() const { return *dialog_->TreeView(); }
    HWND TreeHandle() const { return Tree().Handle(); }
    TreeNode* Node(const std::string& name) const
    {
        for (int i = 0; i < Tree().Items().Count(); ++i) {
            if (Tree().Items().Node(i)->Text() == name) {
                return Tree().Items().Node(i);
            }
        }
        return nullptr;
    }
    HTREEITEM Item(const std::string& name) const { return Tree().ItemHandle(Node(name)); }
    std::string Entry(const std::string& name) const
    {
        const LaunchEntry* entry = EntryOf(Node(name));
        return entry ? entry->File + "|" + entry->Option + "|" + entry->Dir : "(no entry)";
    }

    // The user's ways: select through the tree's message, click, type.
    void Select(const std::string& name)
    {
        SendMessageA(TreeHandle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Item(name)));
    }
    void Click(const char* button) { SendMessageA(Get(button)->Handle(), BM_CLICK, 0, 0); }
    void Type(const char* edit, const std::string& text)
    {
        SendMessageA(Get(edit)->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string Texts() const
    {
        return Get("FileEdit")->Caption() + "|" + Get("OptionEdit")->Caption() + "|" +
               Get("DirectoryEdit")->Caption();
    }
    std::string Selected() const { return Tree().Selected() ? Tree().Selected()->Text() : "(none)"; }

    // The nodes in absolute order, indented by depth.
    std::string Listing() const
    {
        std::string text;
        for (int i = 0; i < Tree().Items().Count(); ++i) {
            for (const TreeNode* p = Tree().Items().Node(i)->Parent(); p; p = p->Parent()) {
                text += "  ";
            }
            text += Tree().Items().Node(i)->Text() + "\n";
        }
        return text;
    }
    // Which of the nine item settings are enabled: "111111111" for all.
    std::string Settings() const
    {
        std::string states;
        for (const char* name :
             {"EntryGroup", "FileEdit", "OptionEdit", "DirectoryEdit", "FileLabel", "OptionLabel",
              "DirectoryLabel", "FileBrowseButton", "DirectoryBrowseButton"}) {
            states += Get(name)->Enabled() ? '1' : '0';
        }
        return states;
    }

    // A point on the node's name where the tree says so (its text rectangle is a bit wider).
    POINT LabelPoint(const std::string& name) const
    {
        RECT r{};
        HTREEITEM item = Item(name);
        std::memcpy(&r, &item, sizeof item);
        SendMessageA(TreeHandle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        for (TVHITTESTINFO hit{{r.left, (r.top + r.bottom) / 2}, 0, nullptr}; hit.pt.x < r.right;
             ++hit.pt.x) {
            SendMessageA(TreeHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.flags & TVHT_ONITEMLABEL) {
                return hit.pt;
            }
        }
        ADD_FAILURE() << "no label point for " << name;
        return {r.left, r.top};
    }
    // The real pointer goes where the test's messages say it is, and what the system still had
    // to report about it is handled now: a move it reports during the drag then says the same.
    void PointerAt(POINT client)
    {
        ClientToScreen(TreeHandle(), &client);
        SetCursorPos(client.x, client.y);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    // A press on the node's name and a move away, which the control watches for itself.
    void BeginDrag(const std::string& name)
    {
        const POINT start = LabelPoint(name);
        PointerAt(start);
        PostMessageA(TreeHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 30, start.y + 30));
        SendMessageA(TreeHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
        ASSERT_TRUE(Tree().Dragging()) << "no drag of " << name;
    }
    void MoveTo(POINT p)
    {
        PointerAt(p);
        SendMessageA(TreeHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void DragOnto(const std::string& from, POINT to)
    {
        BeginDrag(from);
        MoveTo(to);
        SendMessageA(TreeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        EXPECT_FALSE(Tree().Dragging());
    }
    HTREEITEM DropTarget() const
    {
        return reinterpret_cast<HTREEITEM>(SendMessageA(TreeHandle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    }
    HWND LabelEdit() const
    {
        return reinterpret_cast<HWND>(SendMessageA(TreeHandle(), TVM_GETEDITCONTROL, 0, 0));
    }

    ScratchFolder folder_;
    std::string path_ = folder_.Path() + "LAUNCH.INI";
    std::unique_ptr<Component> host_ = std::make_unique<Component>(nullptr);
    MenuItem* launch_ = new MenuItem(host_.get());
    std::unique_ptr<LaunchList> list_;
    std::unique_ptr<LauncherDialog> dialog_;
    OpenDialog::GetOpenFileNameFunction previousOpen_ = nullptr;
};

// At 96 and 144 DPI: made at the system's, laid out at the other on the system's message. The
// test fonts are the IPA ones.
class LauncherDialogLayoutTest : public LauncherDialogTest, public testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Dpi, LauncherDialogLayoutTest, testing::Values(96, 144));

}   // namespace

TEST_P(LauncherDialogLayoutTest, TheLayoutReadBackFromTheWindows)
{
    const int dpi = GetParam();
    Start(kSampleFile, false);
    EXPECT_EQ("(none)", Selected());
    EXPECT_EQ("011111111", Settings()) << "only the group is disabled at first";
    dialog_->Show();
    SetForegroundWindow(dialog_->Handle());
    const RECT frame = dialog_->BoundsRect();
    ChangeDpi(*dialog_, dpi);
    HWND form = dialog_->Handle();
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_NEAR(ScaleFromDesign(546, dpi), client.right, dpi == 96 ? 0 : 1);
    EXPECT_NEAR(ScaleFromDesign(350, dpi), client.bottom, dpi == 96 ? 0 : 1);
    // A fixed single border with a title and no title-bar buttons, centred on the screen.
    EXPECT_EQ(WS_CAPTION, GetWindowLongA(form, GWL_STYLE) &
                              (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN), frame.left + frame.right, 1);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN), frame.top + frame.bottom, 1);
    char caption[32] = "";
    GetWindowTextA(form, caption, sizeof caption);
    EXPECT_STREQ("ランチャ設定", caption);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Get("FileEdit")->Handle(), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_STREQ("ＭＳ Ｐゴシック", font.lfFaceName);
    EXPECT_EQ(-ScaleFromDesign(12, dpi), font.lfHeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, font.lfCharSet);

    struct Placed {
        const char* name;
        const char* parent;   // null: the form
        const char* className;
        RectDef bounds;
        const char* caption;
    };
    const Placed kPlaced[] = {
        {"ListLabel", nullptr, "Static", {16, 8, 69, 12}, "ランチャリスト"},
        {"TreeView", nullptr, "SysTreeView32", {8, 24, 401, 185}, ""},
        {"NewNodeGroup", nullptr, "Button", {416, 32, 121, 177}, "項目作成"},
        {"NewFolderButton", "NewNodeGroup", "Button", {16, 16, 89, 25}, "新規フォルダ"},
        {"NewItemButton", "NewNodeGroup", "Button", {16, 48, 89, 25}, "新規項目"},
        {"SeparatorButton", "NewNodeGroup", "Button", {16, 80, 89, 25}, "セパレータ"},
        {"DeselectButton", "NewNodeGroup", "Button", {16, 112, 89, 25}, "選択解除"},
        {"DeleteButton", "NewNodeGroup", "Button", {16, 144, 89, 25}, "項目削除"},
        {"EntryGroup", nullptr, "Button", {8, 216, 537, 97}, "項目設定"},
        {"FileLabel", "EntryGroup", "Static", {8, 24, 53, 12}, "ファイル名"},
        {"FileEdit", "EntryGroup", "Edit", {72, 20, 409, 20}, ""},
        {"FileBrowseButton", "EntryGroup", "Button", {488, 18, 43, 25}, "参照"},
        {"OptionLabel", "EntryGroup", "Static", {8, 48, 51, 12}, "オプション"},
        {"OptionEdit", "EntryGroup", "Edit", {72, 44, 409, 20}, ""},
        {"DirectoryLabel", "EntryGroup", "Static", {8, 72, 57, 12}, "ディレクトリ"},
        {"DirectoryEdit", "EntryGroup", "Edit", {72, 68, 409, 20}, ""},
        {"DirectoryBrowseButton", "EntryGroup", "Button", {488, 64, 41, 25}, "参照"},
        {"OkButton", nullptr, "Button", {232, 320, 75, 25}, "決定"},
    };
    for (const Placed& placed : kPlaced) {
        SCOPED_TRACE(placed.name);
        Control* control = Get(placed.name);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(placed.parent ? Get(placed.parent)->Handle() : form, GetParent(control->Handle()));
        char className[32] = "";
        GetClassNameA(control->Handle(), className, sizeof className);
        EXPECT_STRCASEEQ(placed.className, className);
        ExpectPlaced(*control, placed.bounds, dpi);
        EXPECT_EQ(placed.caption, control->Caption());
    }
    EXPECT_EQ(19, Tree().Indent());
    EXPECT_EQ(3, dialog_->TreePictures()->Count());
    // The indent, the pictures and the rows (as high as the pictures) at the DPI's sizes.
    EXPECT_EQ(ScaleFromDesign(19, dpi), SendMessageA(TreeHandle(), TVM_GETINDENT, 0, 0));
    EXPECT_EQ(SmallIconSize(dpi), dialog_->TreePictures()->Width());
    EXPECT_NEAR(ScaleFromDesign(16, dpi), SendMessageA(TreeHandle(), TVM_GETITEMHEIGHT, 0, 0), 1);
    ASSERT_NE(nullptr, Tree().PopupMenu());
    EXPECT_EQ("TreeMenu", Tree().PopupMenu()->Name());
    ASSERT_EQ(1, Tree().PopupMenu()->Items()->Count());
    EXPECT_EQ("名前を変更(&R)", Tree().PopupMenu()->Items()->Items(0)->Caption());

    // Tab order, with the item settings enabled so that Tab reaches them.
    dialog_->EnableItemSettings(true);
    std::string order = "TreeView";
    Get("TreeView")->SetFocus();
    for (int i = 0; i < 12; ++i) {
        MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(IsDialogMessageA(form, &msg));
        order += " " + (Control::FromHandle(GetFocus()) ? Control::FromHandle(GetFocus())->Name() : "?");
    }
    EXPECT_EQ("TreeView NewFolderButton NewItemButton SeparatorButton DeselectButton DeleteButton FileEdit "
              "FileBrowseButton OptionEdit DirectoryEdit DirectoryBrowseButton OkButton TreeView",
              order);
}

TEST_F(LauncherDialogTest, ButtonsPlaceNewNodesAndTheSelectionFillsTheItemSettings)
{
    // New nodes by the selection (every rule is tested on the model): none, a folder (which
    // stays closed), an item in a folder. They are not selected.
    Click("DeselectButton");
    Click("NewFolderButton");
    Select("F");
    Click("NewItemButton");
    EXPECT_FALSE(Tree().Expanded(Node("F")));
    Select("a");
    Click("SeparatorButton");
    EXPECT_EQ("F\n  a\n  b\n  新規項目\n  --------\nG\n--------\nt\n新規フォルダ\n", Listing());
    EXPECT_EQ("a", Selected());
    TVITEMA shown = {};
    shown.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    shown.hItem = Tree().ItemHandle(Tree().Items().Node(4));
    SendMessageA(TreeHandle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(3, shown.iImage) << "a new separator shows picture 3, which is none";
    EXPECT_EQ(3, shown.iSelectedImage);

    // An item: its texts, and what is typed goes into its entry.
    EXPECT_EQ("111111111", Settings());
    EXPECT_EQ("C:\\a.exe|-a|C:\\", Texts());
    Type("OptionEdit", "-x \"y z\"");
    Type("DirectoryEdit", "C:\\作業\\");
    EXPECT_EQ("C:\\a.exe|-x \"y z\"|C:\\作業\\", Entry("a"));
    // A separator: nothing to set, and no renaming.
    Select("--------");
    EXPECT_EQ("000000000", Settings());
    Get<MenuItem>("RenameItem")->Click();
    EXPECT_FALSE(Tree().IsEditing());
    // A folder: nothing to set, the edits keep their texts, and renaming is allowed.
    Select("b");
    Select("G");
    EXPECT_EQ("000000000", Settings());
    EXPECT_EQ("C:\\b.exe|-b|D:\\", Texts());
    Get<MenuItem>("RenameItem")->Click();
    EXPECT_TRUE(Tree().IsEditing());
    Tree().EndEditing(false);
    // No selection: the settings stay as they were, and typing reaches no entry.
    Select("b");
    Click("DeselectButton");
    EXPECT_EQ("(none)", Selected());
    EXPECT_EQ("111111111", Settings());
    Type("FileEdit", "C:\\other.exe");
    EXPECT_EQ("C:\\b.exe|-b|D:\\", Entry("b"));
}

TEST_F(LauncherDialogTest, DeletingAFolderAsksFirstAndTakesItsWholeSubtreeAndMenuItem)
{
    dialog_->SaveAndClose();   // a launcher submenu built from the sample
    dialog_->Show();
    SetForegroundWindow(dialog_->Handle());
    bool enabledDuringBox = true;
    int answer = IDNO;
    AnswerBoxes([&](const ShownBox&) {
        enabledDuringBox = IsWindowEnabled(dialog_->Handle()) != FALSE;
        return answer;
    });
    Select("F");
    Click("DeleteButton");
    std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("フォルダを削除しようとしています。よろしいですか？", boxes[0].text);
    EXPECT_EQ("削除", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_DEFBUTTON1), boxes[0].type) << "Yes the default, no icon";
    EXPECT_EQ(application->Handle(), boxes[0].owner);
    EXPECT_FALSE(enabledDuringBox) << "the box is answered before anything else";
    EXPECT_EQ(dialog_->Handle(), GetActiveWindow());
    EXPECT_EQ("F\n  a\n  b\nG\n--------\nt\n", Listing());

    answer = IDYES;
    Click("DeleteButton");
    EXPECT_EQ("G\n--------\nt\n", Listing());
    // Its menu item went with its subitems; the others keep their numbers until the next save.
    EXPECT_EQ(nullptr, list_->MenuItemOf(1));
    std::string left;
    for (int i = 0; i < launch_->Count(); ++i) {
        left += std::to_string(dynamic_cast<LaunchMenuItem&>(*launch_->Items(i)).NodeIndex()) + " ";
    }
    EXPECT_EQ("3 4 5 ", left);
    // The tree selected another node, and the settings follow it.
    EXPECT_EQ("G", Selected());
    EXPECT_EQ("000000000", Settings());
    // Items and separators go without a question, by the button or the Delete key.
    Select("t");
    SendMessageA(TreeHandle(), WM_KEYDOWN, VK_DELETE, 0);
    Select("--------");
    Click("DeleteButton");
    EXPECT_EQ(1u, TakeShownBoxes().size());
    EXPECT_EQ("G\n", Listing());
}

TEST_F(LauncherDialogTest, TheFileDialogFillsFileDirectoryAndNameOrChangesNothing)
{
    Select("a");
    g_chosenFile.clear();
    Click("FileBrowseButton");
    EXPECT_EQ("C:\\a.exe|-a|C:\\", Entry("a"));
    // Six choices, the first shown first; owned by the dialog; the current directory stays.
    static const char kFilter[] = "全てのファイル\0*.*\0実行ファイル\0*.exe;*.com\0"
                                  "音声ファイル\0*.wav;*.mp?;*.aif;*.au\0画像ファイル\0*.bmp;*.gif;*.jpg\0"
                                  "動画ファイル\0*.avi;*.mpg;*.mpeg\0文書ファイル\0*.txt;*.doc;*.htm?\0";
    EXPECT_EQ(std::string(kFilter, sizeof kFilter - 1), g_filter);
    EXPECT_EQ(1u, g_given.nFilterIndex);
    EXPECT_EQ(dialog_->Handle(), g_given.hwndOwner);
    EXPECT_TRUE(g_given.Flags & OFN_NOCHANGEDIR);

    g_chosenFile = "C:\\Program Files\\Tool\\tool.exe";
    Click("FileBrowseButton");
    EXPECT_EQ("C:\\Program Files\\Tool\\tool.exe|-a|C:\\Program Files\\Tool\\", Entry("tool.exe"));
    EXPECT_EQ(Entry("tool.exe"), Texts());
    // 表 is 95 5C: its second byte is no path delimiter.
    g_chosenFile = "C:\\DOCS\\表";
    Click("FileBrowseButton");
    EXPECT_EQ("C:\\DOCS\\表|-a|C:\\DOCS\\", Entry("表"));
}

TEST_F(LauncherDialogTest, TheFolderDialogFillsTheDirectoryOrChangesNothingAndOpensOnItsLastChoice)
{
    ASSERT_EQ("BrowseDialog", dialog_->BrowseDialog()->Name());
    const BrowseShellFunctions real = BrowseShell();
    BrowseShell().browseForFolder = AnswerBrowseDialog;
    BrowseShell().getPathFromIDList = PathOfChosenFolder;
    EXPECT_EQ(BrowseOptions{biReturnOnlyFSDirs}, dialog_->BrowseDialog()->Options());
    Select("a");
    g_chosenFolder.reset();
    Click("DirectoryBrowseButton");
    EXPECT_EQ("C:\\a.exe|-a|C:\\", Entry("a"));
    g_chosenFolder = "C:\\作業";
    Click("DirectoryBrowseButton");
    EXPECT_EQ("C:\\a.exe|-a|C:\\作業", Entry("a"));
    EXPECT_EQ(Entry("a"), Texts());
    // Another item: the dialog opens on the folder chosen last, whatever the item's directory.
    Select("b");
    g_chosenFolder.reset();
    Click("DirectoryBrowseButton");
    EXPECT_EQ("C:\\作業", g_openedOn);
    EXPECT_EQ("C:\\b.exe|-b|D:\\", Entry("b"));
    BrowseShell() = real;
}

TEST_F(LauncherDialogTest, RenamingInPlaceByMenuKeyAndClickWithEnterAndEscapeInTheModalLoop)
{
    // In the dialog's own loop, where dialog keys are handled first; each step waits for the
    // one before it to have taken effect (editing or not).
    dialog_->Hide();
    std::vector<std::string> seen;
    auto type = [&](const char* text, WPARAM key) {
        SetWindowTextA(LabelEdit(), text);
        PostMessageA(LabelEdit(), WM_KEYDOWN, key, 0);
    };
    auto note = [&] {
        seen.push_back("[" + Selected() + "]");
        PostMessageA(TreeHandle(), WM_KEYDOWN, VK_F2, 0);
    };
    const std::function<void()> acts[] = {
        [&] {
            Select("b");
            Get<MenuItem>("RenameItem")->Click();
            type("名前", VK_RETURN);
        },
        note,
        [&] { type("捨てる", VK_ESCAPE); },
        note,
        [&] { type("", VK_RETURN); },   // an empty name is a name too
        [&] {
            seen.push_back("[" + Selected() + "]");
            // A click on the name of the selected node starts editing too, after a moment.
            Select("t");
            const POINT p = LabelPoint("t");
            PostMessageA(TreeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            SendMessageA(TreeHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        },
        [&] {
            seen.push_back(Selected() + " editing");
            type("t", VK_ESCAPE);
            dialog_->SetModalResult(IDOK);
        },
    };
    int stage = 0;
    std::vector<std::unique_ptr<ModalAction>> steps;
    for (int at = 0; at < static_cast<int>(std::size(acts)); ++at) {
        steps.push_back(std::make_unique<ModalAction>(
            "renaming step " + std::to_string(at),
            [&, at] {
                return stage == at && dialog_->Visible() &&
                       (LabelEdit() != nullptr) == (at % 2 == 0 && at > 0);
            },
            [&, at] {
                ++stage;
                acts[at]();
            },
            [this] { dialog_->SetModalResult(IDCANCEL); }));
    }
    dialog_->ShowModal();
    EXPECT_EQ((std::vector<std::string>{"[名前]", "[名前]", "[]", "t editing"}), seen);
    EXPECT_EQ("F\n  a\n  \nG\n--------\nt\n", Listing());
}

TEST_F(LauncherDialogTest, AJapaneseNameTypedInPlaceIsSavedAsTheSameShiftJisBytesHoweverItWasTyped)
{
    for (const bool wide : {false, true}) {
        Start(kSampleFile);
        Select("b");
        ASSERT_TRUE(Tree().EditText(Tree().Selected()));
        // The edit's text as a program sets it (ANSI) and as an input method types it (Unicode).
        wide ? SetWindowTextW(LabelEdit(), L"表ソ能メモ帳") : SetWindowTextA(LabelEdit(), "表ソ能メモ帳");
        SendMessageA(TreeHandle(), TVM_ENDEDITLABELNOW, FALSE, 0);
        dialog_->SaveAndClose();
        EXPECT_NE(std::string::npos, ReadWholeFile(path_).find("[ExecInfo2]\r\nNAME=表ソ能メモ帳\r\n"))
            << ReadWholeFile(path_);
        EXPECT_EQ("F\n  a\n  表ソ能メモ帳\nG\n--------\nt\n", Listing());
    }
}

TEST_F(LauncherDialogTest, DraggingMovesTheSelectedNodeAsTheDropTargetSays)
{
    Select("G");
    int changes = 0;
    NotifyEvent change = Tree().OnChange;
    Tree().OnChange = [&](Component* sender) {
        ++changes;
        change(sender);
    };
    // The first node onto empty space below the rows: the end of the top level, with its
    // subtree. Starting the drag selects it; the move is no change of the selection.
    RECT client{};
    GetClientRect(TreeHandle(), &client);
    DragOnto("F", {20, client.bottom - 5});
    EXPECT_EQ("G\n--------\nt\nF\n  a\n  b\n", Listing());
    EXPECT_EQ(1, changes);
    // An item onto a folder: its first child, and the folder opens; the settings still show it.
    DragOnto("t", LabelPoint("G"));
    EXPECT_EQ("G\n  t\n--------\nF\n  a\n  b\n", Listing());
    EXPECT_TRUE(Tree().Expanded(Node("G")));
    EXPECT_EQ("C:\\t.exe|-t|E:\\", Texts());
    EXPECT_EQ(2, changes);

    // Onto its own child, or onto itself: no drop target, and nothing moves.
    Tree().Expand(Node("F"));
    BeginDrag("F");
    MoveTo(LabelPoint("b"));
    EXPECT_EQ(nullptr, DropTarget());
    MoveTo(LabelPoint("t"));
    EXPECT_EQ(Item("t"), DropTarget()) << "the node under the pointer shows as the target";
    const POINT self = LabelPoint("F");
    MoveTo(self);
    SendMessageA(TreeHandle(), WM_LBUTTONUP, 0, MAKELPARAM(self.x, self.y));
    EXPECT_EQ(nullptr, DropTarget());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ("G\n  t\n--------\nF\n  a\n  b\n", Listing());
}

TEST_F(LauncherDialogTest, ALongListScrollsWhileTheDragRestsNearItsEdgeAndEscapeDropsNothing)
{
    std::string folder = "[FOLDER]\r\n", names;
    for (int i = 0; i < 60; ++i) {
        folder += "ITEM" + std::to_string(i) + "=0\r\n";
        names += "[ExecInfo" + std::to_string(i) + "]\r\nNAME=n" + std::to_string(i) + "\r\n";
    }
    Start(folder + names);
    auto firstVisible = [&] {
        return TreeView::NodeOf(TreeHandle(), reinterpret_cast<HTREEITEM>(SendMessageA(
                                                  TreeHandle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
    };
    BeginDrag("n1");
    RECT client{};
    GetClientRect(TreeHandle(), &client);
    MoveTo({40, client.bottom - 3});
    // The pointer rests there: the tree scrolls a line at a time, the target following it.
    for (const DWORD start = GetTickCount();
         (firstVisible() == Node("n0") || !DropTarget()) && GetTickCount() - start < 5000; Sleep(20)) {
        PointerAt({40, client.bottom - 3});
    }
    EXPECT_TRUE(Tree().Dragging());
    EXPECT_NE(Node("n0"), firstVisible());
    EXPECT_NE(nullptr, DropTarget());
    SendMessageA(TreeHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Tree().Dragging());
    EXPECT_EQ(nullptr, DropTarget());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(Node("n1"), Tree().Items().Node(1));
}

TEST_F(LauncherDialogTest, ACloseRequestSavesAsTheButtonDoesAndTheDialogKeepsItsState)
{
    dialog_->Hide();
    ModalAction close(*dialog_, [&] {
        Select("b");
        Tree().Expand(Node("F"));
        Type("OptionEdit", "typed");
        // Alt+F4 on the tree while a new name is being typed.
        Get<MenuItem>("RenameItem")->Click();
        SetWindowTextA(LabelEdit(), "新名");
        PostMessageA(TreeHandle(), WM_SYSKEYDOWN, VK_F4, 0x20000000);
    });
    dialog_->ShowModal();
    EXPECT_FALSE(dialog_->Visible());
    LaunchList saved(nullptr, nullptr, nullptr, path_);
    saved.Load();
    EXPECT_EQ("新名", saved.Items().Node(2)->Text());
    EXPECT_EQ("typed", EntryOf(saved.Items().Node(2))->Option);
    EXPECT_NE(nullptr, list_->MenuItemOf(5)) << "the launcher submenu was rebuilt";

    // Shown again, it is as it was left.
    dialog_->Show();
    EXPECT_EQ("新名", Selected());
    EXPECT_TRUE(Tree().Expanded(Node("F")));
    EXPECT_EQ("C:\\b.exe|typed|D:\\", Texts());
    EXPECT_EQ("111111111", Settings());
}
