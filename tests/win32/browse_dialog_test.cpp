// BrowseDialog against a stand-in shell (a counting allocator, a browse function that drives
// the callback with a window recording what it is sent), and once against the real dialog.
#include "components/browse_dialog.h"

#include "base/error.h"
#include "framework/application.h"
#include "menu_test_support.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// "status TEXT", "ok LPARAM" or "select TEXT", for each message the dialog window was sent.
std::vector<std::string> g_sent;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    if (message == BFFM_SETSTATUSTEXTA && wParam == 0) {
        g_sent.push_back(std::string("status ") + text);
    } else if (message == BFFM_SETSELECTIONA && wParam == TRUE) {
        g_sent.push_back(std::string("select ") + text);
    } else if (message == BFFM_ENABLEOK && wParam == 0) {
        g_sent.push_back("ok " + std::to_string(lParam));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND TopLevel(const char* className, DWORD style)
{
    return CreateWindowA(className, "", WS_POPUP | style, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// The shell's own allocator, counted; it refuses the Alloc call numbered refuseAt.
class CountingMalloc : public IMalloc {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T size) override
    {
        if (++allocs == refuseAt) {
            return nullptr;
        }
        return *live.insert(CoTaskMemAlloc(size)).first;
    }
    void* STDMETHODCALLTYPE Realloc(void*, SIZE_T) override { return nullptr; }
    void STDMETHODCALLTYPE Free(void* block) override
    {
        shellFrees += live.erase(block) == 0;   // an item list the real desktop folder made
        CoTaskMemFree(block);
    }
    SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return 0; }
    int STDMETHODCALLTYPE DidAlloc(void*) override { return -1; }
    void STDMETHODCALLTYPE HeapMinimize() override {}

    ULONG refs = 1;
    int allocs = 0;
    int refuseAt = 0;
    int shellFrees = 0;
    std::set<void*> live;
};
CountingMalloc g_malloc;
std::map<const void*, std::string> g_itemPaths;   // an empty path: none in the file system

PIDLIST_ABSOLUTE Item(const std::string& path)
{
    void* item = g_malloc.Alloc(4);
    g_itemPaths[item] = path;
    return static_cast<PIDLIST_ABSOLUTE>(item);
}

// What the stand-in dialog does: the selections it moves through, then the item it returns
// (none: cancelled), or an error instead.
struct Script {
    std::vector<std::string> selections;
    const char* chosen = nullptr;
    bool fail = false;
    std::function<void()> whileShown;
    bool noMalloc = false;
    bool noDesktop = false;
};
Script g_script;
BROWSEINFOA g_info;
std::string g_rootPath;
int g_browseCalls = 0;

HRESULT WINAPI FakeGetMalloc(IMalloc** allocator)
{
    if (g_script.noMalloc) {
        return E_OUTOFMEMORY;
    }
    g_malloc.AddRef();
    *allocator = &g_malloc;
    return S_OK;
}

HRESULT WINAPI FakeGetDesktopFolder(IShellFolder** folder)
{
    return g_script.noDesktop ? E_FAIL : SHGetDesktopFolder(folder);
}

BOOL WINAPI FakeGetPath(PCIDLIST_ABSOLUTE item, LPSTR path)
{
    auto found = g_itemPaths.find(item);
    std::strcpy(path, found == g_itemPaths.end() ? "" : found->second.c_str());
    return path[0] != '\0';
}

PIDLIST_ABSOLUTE WINAPI FakeBrowse(LPBROWSEINFOA info)
{
    ++g_browseCalls;
    g_info = *info;
    char root[MAX_PATH] = "";
    g_rootPath = info->pidlRoot && SHGetPathFromIDListA(info->pidlRoot, root) ? root : "";
    HWND dialog = TopLevel("BrowseRecorder", 0);
    info->lpfn(dialog, BFFM_INITIALIZED, 0, info->lParam);
    for (const std::string& path : g_script.selections) {
        PIDLIST_ABSOLUTE item = Item(path);
        info->lpfn(dialog, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item), info->lParam);
        g_malloc.Free(item);
    }
    if (g_script.whileShown) {
        g_script.whileShown();
    }
    DestroyWindow(dialog);
    if (g_script.fail) {
        throw Error("the dialog broke");
    }
    if (!g_script.chosen) {
        return nullptr;
    }
    std::strcpy(info->pszDisplayName, "表示名");
    return Item(g_script.chosen);
}

class BrowseDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "BrowseRecorder";
        RegisterClassA(&wc);
        g_sent.clear();
        g_script = Script();
        g_browseCalls = g_malloc.allocs = g_malloc.refuseAt = g_malloc.shellFrees = 0;
        real_ = BrowseShell();
        BrowseShell() = {FakeGetMalloc, FakeGetDesktopFolder, FakeBrowse, FakeGetPath};
    }

    void TearDown() override
    {
        BrowseShell() = real_;
        EXPECT_TRUE(g_malloc.live.empty()) << g_malloc.live.size() << " blocks not freed";
        EXPECT_EQ(1u, g_malloc.refs) << "allocator not released";
        EXPECT_TRUE(TakeShownBoxes().empty());
        g_malloc.live.clear();   // a failed test leaves the next one a clean stand-in
        g_malloc.refs = 1;
    }

    static std::string ErrorOf(BrowseDialog& dialog)
    {
        try {
            dialog.Execute();
        } catch (const Error& e) {
            return e.what();
        }
        return "(no error)";
    }

    BrowseShellFunctions real_{};
    BrowseDialog dialog_{nullptr};
};

}   // namespace

TEST_F(BrowseDialogTest, GivesTheShellFlagsCaptionOwnerAndItself)
{
    EXPECT_FALSE(dialog_.Execute());
    ASSERT_EQ(1, g_browseCalls);
    EXPECT_EQ(0x1u, g_info.ulFlags);
    EXPECT_STREQ("", g_info.lpszTitle);
    EXPECT_EQ(application->Handle(), g_info.hwndOwner);
    EXPECT_EQ(reinterpret_cast<LPARAM>(&dialog_), g_info.lParam);
    EXPECT_EQ(nullptr, g_info.pidlRoot);

    dialog_.SetOptions({biBrowseForComputer, biBrowseForPrinter, biDontGoBelowDomain, biReturnFSAncestors,
                        biReturnOnlyFSDirs, biStatusText});
    dialog_.SetCaption("フォルダを選んでください");
    dialog_.Execute();
    EXPECT_EQ(0x300Fu, g_info.ulFlags);
    EXPECT_STREQ("フォルダを選んでください", g_info.lpszTitle);
}

TEST_F(BrowseDialogTest, SelectsTheDirectoryWithoutATrailingBackslashAndNeverCutsACharacter)
{
    const std::string hyou = "\x95\x5C";   // "表": its second byte is 0x5C
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\", "C:\\"}, {"C:\\DOCS\\", "C:\\DOCS"}, {"C:\\" + hyou, "C:\\" + hyou}, {"", ""}};
    for (const auto& [directory, selected] : cases) {
        g_sent.clear();
        std::string initialized = "(not fired)";
        dialog_.OnInitialized = [&](Component* sender, HWND, std::string path, std::string&, OkButtonState&) {
            EXPECT_EQ(&dialog_, sender);
            initialized = path;
        };
        dialog_.SetDirectory(directory);
        dialog_.Execute();
        EXPECT_EQ(selected, initialized) << directory;
        std::vector<std::string> expected = {"status "};
        if (!selected.empty()) {
            expected.insert(expected.begin(), "select " + selected);
        }
        EXPECT_EQ(expected, g_sent) << directory;
        EXPECT_EQ(directory, dialog_.Directory()) << "cancelled: Directory kept";
    }
}

TEST_F(BrowseDialogTest, SetsTheStatusTextAfterEveryNotificationAndTheOKButtonOnlyWhenAsked)
{
    g_script.selections = {"", "C:\\A"};
    dialog_.Execute();
    EXPECT_EQ((std::vector<std::string>{"status ", "status ", "status "}), g_sent) << "no handlers";

    dialog_.OnInitialized = [](Component*, HWND, std::string, std::string& text, OkButtonState& ok) {
        EXPECT_EQ("", text);
        text = "開始";
        ok = obsEnabled;
    };
    std::vector<std::string> paths;
    dialog_.OnSelectionChanged = [&](Component*, HWND, std::string path, std::string& text,
                                     OkButtonState& ok) {
        EXPECT_EQ(obsUnchanged, ok) << "each notification starts from 0";
        paths.push_back(path);
        if (path.empty()) {
            ok = obsDisabled;
            text = "ファイルではありません";
        }
    };
    g_sent.clear();
    dialog_.Execute();
    EXPECT_EQ((std::vector<std::string>{"", "C:\\A"}), paths);
    EXPECT_EQ(
        (std::vector<std::string>{"status 開始", "ok 1", "status ファイルではありません", "ok 0", "status "}),
        g_sent);

    // Data that is no dialog of ours is ignored.
    g_sent.clear();
    HWND window = TopLevel("BrowseRecorder", 0);
    g_info.lpfn(window, BFFM_INITIALIZED, 0, reinterpret_cast<LPARAM>(&g_malloc));
    DestroyWindow(window);
    EXPECT_TRUE(g_sent.empty());
}

TEST_F(BrowseDialogTest, AChoiceGivesDirectoryAndDisplayNameAndCancelKeepsThem)
{
    g_script.chosen = "C:\\Tools";
    EXPECT_TRUE(dialog_.Execute());
    EXPECT_EQ("C:\\Tools", dialog_.Directory());
    EXPECT_EQ("表示名", dialog_.DisplayName());

    g_script.chosen = nullptr;
    EXPECT_FALSE(dialog_.Execute());
    EXPECT_EQ("C:\\Tools", dialog_.Directory());
    EXPECT_EQ("表示名", dialog_.DisplayName());

    g_script.chosen = "";   // an item with no file-system path, such as a printer
    EXPECT_TRUE(dialog_.Execute());
    EXPECT_EQ("", dialog_.Directory());
}

TEST_F(BrowseDialogTest, ARootThatDoesNotParseOpensTheWholeNamespace)
{
    dialog_.SetRoot("C:\\windows");
    dialog_.Execute();
    EXPECT_EQ(0, lstrcmpiA("C:\\windows", g_rootPath.c_str())) << g_rootPath;
    EXPECT_EQ(1, g_malloc.shellFrees) << "the root's item list goes back to the allocator";

    dialog_.SetRoot("C:\\no such folder\\");
    EXPECT_FALSE(dialog_.Execute());
    EXPECT_EQ(2, g_browseCalls);
    EXPECT_EQ(nullptr, g_info.pidlRoot);
}

TEST_F(BrowseDialogTest, ShellFailuresShowNothingOrRaiseTheirMessages)
{
    g_script.noMalloc = true;
    EXPECT_FALSE(dialog_.Execute());
    g_script.noMalloc = false;

    dialog_.SetRoot("C:\\windows");
    g_script.noDesktop = true;
    EXPECT_EQ("TBrowseDialog: SHGetDesktopFolder Failed.", ErrorOf(dialog_));
    g_script.noDesktop = false;
    for (int refused : {1, 2}) {   // the block before parsing; the display-name block
        g_malloc.allocs = 0;
        g_malloc.refuseAt = refused;
        EXPECT_EQ("TBrowseDialog: ppmem.Alloc Failed.", ErrorOf(dialog_)) << refused;
    }
    EXPECT_EQ(0, g_browseCalls);
}

namespace {

class HookedBrowseDialog : public BrowseDialog {
public:
    using BrowseDialog::BrowseDialog;
    bool MessageHook(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        result = 42;
        return message == WM_USER + 7;
    }
};

}   // namespace

TEST_F(BrowseDialogTest, DisablesTheThreadsWindowsWhileShownAndEnablesThemAfterAnError)
{
    HookedBrowseDialog dialog(nullptr);
    HWND shown = TopLevel("STATIC", WS_VISIBLE), disabled = TopLevel("STATIC", WS_VISIBLE | WS_DISABLED);
    HWND hidden = TopLevel("STATIC", 0);
    SetActiveWindow(shown);
    for (bool fail : {false, true}) {
        g_script.fail = fail;
        g_script.whileShown = [&] {
            EXPECT_FALSE(IsWindowEnabled(shown));
            EXPECT_TRUE(IsWindowEnabled(hidden));
            EXPECT_EQ(42, SendMessageA(application->Handle(), WM_USER + 7, 0, 0));
        };
        EXPECT_EQ(fail ? "the dialog broke" : "(no error)", ErrorOf(dialog));
        EXPECT_TRUE(IsWindowEnabled(shown)) << fail;
        EXPECT_FALSE(IsWindowEnabled(disabled)) << fail;
        EXPECT_EQ(shown, GetActiveWindow()) << fail;
        EXPECT_EQ(0, SendMessageA(application->Handle(), WM_USER + 7, 0, 0)) << "hook removed";
    }
    for (HWND window : {shown, disabled, hidden}) {
        DestroyWindow(window);
    }
}

TEST_F(BrowseDialogTest, AnErrorInAHandlerIsShownAndStaysInsideTheDialog)
{
    dialog_.OnInitialized = [](Component*, HWND, std::string, std::string&, OkButtonState&) {
        throw Error("壊れた");
    };
    g_script.chosen = "C:\\Tools";
    EXPECT_TRUE(dialog_.Execute());
    std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("壊れた.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
}

namespace {

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
    }
    return *reinterpret_cast<HWND*>(found) == nullptr;
}

HWND ThreadDialog()
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

// Runs the real dialog and presses `button` once it shows, after a look at it.
bool ExecutePressing(
    BrowseDialog& dialog, WPARAM button, std::function<void()> look = [] {})
{
    ModalAction press(
        "the folder dialog", [] { return ThreadDialog() != nullptr; },
        [=] {
            look();
            PostMessageA(ThreadDialog(), WM_COMMAND, button, 0);
        },
        [] { PostMessageA(ThreadDialog(), WM_COMMAND, IDCANCEL, 0); });
    return dialog.Execute();
}

}   // namespace

TEST(RealBrowseDialogTest, CancelKeepsDirectoryAndOKGivesTheSelectedFolder)
{
    BrowseDialog dialog(nullptr);
    HWND other = TopLevel("STATIC", WS_VISIBLE);
    dialog.SetDirectory("C:\\windows\\system32\\");
    bool otherDisabled = false;
    EXPECT_FALSE(ExecutePressing(dialog, IDCANCEL, [&] { otherDisabled = !IsWindowEnabled(other); }));
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ("C:\\windows\\system32\\", dialog.Directory());

    EXPECT_TRUE(ExecutePressing(dialog, IDOK));
    EXPECT_EQ(0, lstrcmpiA("C:\\windows\\system32", dialog.Directory().c_str())) << dialog.Directory();
    // Wine names a file-system folder by its full path, Windows by its last part.
    const std::string& name = dialog.DisplayName();
    EXPECT_TRUE(name.size() >= 8 && lstrcmpiA("system32", name.c_str() + name.size() - 8) == 0) << name;
    DestroyWindow(other);
}
