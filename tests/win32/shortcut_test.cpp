// The keyboard shortcut that opens the menu and the start with Windows, as the main window's
// settings, items and dialog show them.
#include "base/error.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/hot_key.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "hook_test_support.h"
#include "menu_test_support.h"
#include "shell/main_window.h"
#include "triggers/menu_shortcut.h"
#include "triggers/shortcut_dialog.h"
#include "win32_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr ShortcutKey kCtrlAltM{'M', MOD_CONTROL | MOD_ALT};   // stored as 845
constexpr char kShortcutCaption[] = "ショートカットキー...";

// Whether the system gives the key to nobody else now: the test's own registration fails.
bool Taken(ShortcutKey key)
{
    const UniqueWindow probe(
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    const bool free = RegisterHotKey(probe.Get(), 9, key.modifiers, key.key);
    UnregisterHotKey(probe.Get(), 9);
    return !free;
}

// A window of the test that holds a key, as another program would.
class HeldKey {
public:
    explicit HeldKey(ShortcutKey key)
        : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr))
    {
        EXPECT_TRUE(RegisterHotKey(window_.Get(), 7, key.modifiers, key.key));
    }
    ~HeldKey() { UnregisterHotKey(window_.Get(), 7); }

private:
    UniqueWindow window_;
};

class ShortcutTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeShownBoxes();
        scratch_.SetString(kSettingsSection, "HOOK", "0");
    }
    void TearDown() override
    {
        form_.reset();
        DrainQuitMessages();
    }

    MainWindow& Start(StartupEntry startup = StartupEntry())
    {
        form_ = std::make_unique<MainWindow>(application, scratch_.Path(), std::move(startup));
        return *form_;
    }
    std::string CloseAndStored()
    {
        form_->Close();
        form_.reset();
        DrainQuitMessages();
        return scratch_.Stored(kSettingsSection, "HotKey");
    }
    // Inside the shortcut dialog, which "ショートカットキー..." shows, runs `act`; the dialog is
    // closed afterwards unless `act` closed it.
    void InDialog(const std::function<void(ShortcutDialog&)>& act)
    {
        ShortcutDialog& dialog = form_->ShortcutChooser();
        ModalAction inDialog(dialog, [&] {
            act(dialog);
            PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        });
        form_->ShortcutItem()->Click();
        application->ProcessMessages();   // the item waits for the menu's end
    }

    FakeHook hook_;
    FakeShell shell_;
    ScratchKey scratch_;
    std::unique_ptr<MainWindow> form_;
};

TEST_F(ShortcutTest, TheStoredShortcutIsRegisteredNamedInItsItemAndWrittenBackAtClose)
{
    const struct {
        const char* stored;   // null: no value
        const char* caption;
        const char* written;
    } rows[] = {
        {nullptr, "", "0"},
        {"0", "", "0"},
        {"845", " (Ctrl+Alt+M)", "845"},
        {"1357", " (Shift+Alt+M)", "1357"},
        {"77", "", "0"},    // M alone: not a shortcut the program makes
        {"635", "", "0"},   // Ctrl+F12
        {"abc", "", "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored ? row.stored : "(none)");
        if (row.stored) {
            scratch_.SetString(kSettingsSection, "HotKey", row.stored);
        }
        MainWindow& form = Start();
        EXPECT_EQ(std::string(kShortcutCaption) + row.caption, form.ShortcutItem()->Caption());
        const ShortcutKey key = form.Shortcut().Key();
        EXPECT_EQ(*row.caption != '\0', !key.None() && Taken(key));
        EXPECT_EQ(row.written, CloseAndStored());
    }
    EXPECT_FALSE(Taken(kCtrlAltM)) << "the window's end did not give the key back";
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_F(ShortcutTest, AtStartAKeyAnotherProgramHoldsIsNamedOnceAndShownNotInEffect)
{
    const HeldKey other(kCtrlAltM);
    scratch_.SetString(kSettingsSection, "HotKey", "845");
    MainWindow& form = Start();
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("ショートカットキー Ctrl+Alt+M はほかのプログラムが使っているため、使えません。",
              boxes[0].text);
    EXPECT_EQ(std::string(kShortcutCaption) + " (Ctrl+Alt+M は無効)", form.ShortcutItem()->Caption());
    EXPECT_EQ("845", CloseAndStored()) << "the setting stays";
}

TEST_F(ShortcutTest, TheDialogRefusesKeysWithoutCtrlOrAltF12AndKeysOthersHoldKeepingTheOldOne)
{
    const ShortcutKey otherKey{'K', MOD_CONTROL | MOD_SHIFT};
    const HeldKey other(otherKey);
    scratch_.SetString(kSettingsSection, "HotKey", "845");
    MainWindow& form = Start();
    const struct {
        ShortcutKey key;
        const char* message;
    } rows[] = {
        {{'M', 0}, "M はほかのプログラムでも使うキーです。Ctrl か Alt を含むキーを選んでください。"},
        {{'M', MOD_SHIFT},
         "Shift+M はほかのプログラムでも使うキーです。Ctrl か Alt を含むキーを選んでください。"},
        {{VK_F12, MOD_CONTROL}, "F12 は Windows が使うキーです。ほかのキーを選んでください。"},
        {otherKey, "Ctrl+Shift+K はほかのプログラムが使っています。ほかのキーを選んでください。"},
    };
    bool suspended = false;
    InDialog([&](ShortcutDialog& dialog) {
        suspended = !Taken(kCtrlAltM);
        for (const auto& row : rows) {
            SCOPED_TRACE(row.message);
            dialog.KeyField().SetKey(row.key.key, row.key.modifiers);
            dialog.Accept();
            const std::vector<ShownBox> boxes = TakeShownBoxes();
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ(row.message, boxes[0].text);
            EXPECT_TRUE(dialog.Visible());
            EXPECT_EQ(kCtrlAltM, (ShortcutKey{dialog.KeyField().Key(), dialog.KeyField().Modifiers()}));
        }
    });
    EXPECT_TRUE(suspended) << "the key still opened the menu while the dialog showed";
    EXPECT_EQ(kCtrlAltM, form.Shortcut().Key());
    EXPECT_TRUE(Taken(kCtrlAltM)) << "the key did not come back after the dialog";

    // A free key is kept, and the old one given back; "解除" leaves none.
    InDialog([&](ShortcutDialog& dialog) {
        dialog.KeyField().SetKey('J', MOD_CONTROL | MOD_ALT);
        dialog.Accept();
    });
    EXPECT_EQ(std::string(kShortcutCaption) + " (Ctrl+Alt+J)", form.ShortcutItem()->Caption());
    EXPECT_FALSE(Taken(kCtrlAltM));
    InDialog([&](ShortcutDialog& dialog) { dialog.Clear(); });
    EXPECT_EQ(kShortcutCaption, form.ShortcutItem()->Caption());
    EXPECT_FALSE(Taken({'J', MOD_CONTROL | MOD_ALT}));
    EXPECT_TRUE(TakeShownBoxes().empty());
    EXPECT_EQ("0", CloseAndStored());
}

TEST_F(ShortcutTest, ThePressOpensTheMenuAtThePointerAndNothingWhileAMenuIsOpen)
{
    scratch_.SetString(kSettingsSection, "HotKey", "845");
    MainWindow& form = Start();
    SetCursorPos(300, 200);
    int openings = 0;
    RECT shown{};
    form.Menu()->OnPopup = [&](Component*) {
        ++openings;
        CloseMenuWhenOpen([&](HWND menu) {
            GetWindowRect(menu, &shown);
            SendMessageA(form.Handle(), WM_HOTKEY, MenuShortcut::kId, 0);
        });
    };
    SendMessageA(form.Handle(), WM_HOTKEY, MenuShortcut::kId, 0);
    EXPECT_EQ(1, openings);
    EXPECT_EQ(300, shown.left);
    EXPECT_EQ(200, shown.top);
    EXPECT_TRUE(form.ChordReady());
}

// A value's data as stored, or "(missing)".
std::wstring StoredValue(HKEY root, const wchar_t* path, const wchar_t* name)
{
    wchar_t data[300] = L"";
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, path, name, RRF_RT_ANY, nullptr, data, &size) != ERROR_SUCCESS) {
        return L"(missing)";
    }
    return std::wstring(data, size / sizeof(wchar_t));
}

TEST_F(ShortcutTest, TheStartItemShowsWhetherTheRunValueStartsThisProgramAndWritesOrRemovesIt)
{
    const wchar_t* const kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const wchar_t* const kApproved =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    // A folder name outside Shift-JIS: written and compared whole.
    const std::wstring program = L"C:\\Tools\\Caf\u00e9\\Mivtra.exe";
    const std::wstring quoted = L"\"" + program + L"\"";
    const std::wstring written = quoted + L'\0';
    const struct {
        const char* what;
        const wchar_t* run;           // null: no value
        std::vector<BYTE> approval;   // empty: no value
        bool checked;
        std::wstring runAfter;   // the Run value after the choice
        bool approvalAfter;
    } rows[] = {
        {"missing", nullptr, {}, false, written, false},
        {"this program, quoted", quoted.c_str(), {}, true, L"(missing)", false},
        {"unquoted, with an argument", L"c:\\TOOLS\\Caf\u00e9\\mivtra.exe /x", {}, true, L"(missing)", false},
        {"another folder", L"\"C:\\Old\\Mivtra.exe\"", {}, false, written, false},
        {"held back by Task Manager", quoted.c_str(), {3, 0, 0, 0}, false, written, false},
        {"let through by Task Manager", quoted.c_str(), {2, 0, 0, 0}, true, L"(missing)", true},
    };
    ScratchKey roots;
    int rowNumber = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        HKEY raw = nullptr;
        const std::string rootPath = roots.Path() + "\\" + std::to_string(++rowNumber);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, rootPath.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &raw, nullptr));
        const UniqueKey root(raw);
        if (row.run) {
            RegSetKeyValueW(root.Get(), kRun, L"Mivtra", REG_SZ, row.run,
                            static_cast<DWORD>((wcslen(row.run) + 1) * sizeof(wchar_t)));
        }
        if (!row.approval.empty()) {
            RegSetKeyValueW(root.Get(), kApproved, L"Mivtra", REG_BINARY, row.approval.data(),
                            static_cast<DWORD>(row.approval.size()));
        }
        MainWindow& form = Start(StartupEntry(root.Get(), program));
        form.PrepareMenu();
        EXPECT_EQ(row.checked, form.StartupItem()->Checked());
        form.StartupItem()->Click();
        EXPECT_EQ(row.runAfter, StoredValue(root.Get(), kRun, L"Mivtra"));
        EXPECT_EQ(row.approvalAfter, StoredValue(root.Get(), kApproved, L"Mivtra") != L"(missing)");
        EXPECT_EQ(!row.checked, form.StartupItem()->Checked());
        form_.reset();
        DrainQuitMessages();
    }
    EXPECT_TRUE(TakeShownBoxes().empty());

    // A write that fails: the parent of a key that does not keep its values cannot take the
    // Run key, which does.
    HKEY raw = nullptr;
    const std::string volatilePath = roots.Path() + "\\failing\\Software\\Microsoft\\Windows\\CurrentVersion";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, volatilePath.c_str(), 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw, nullptr));
    RegCloseKey(raw);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (roots.Path() + "\\failing").c_str(), 0,
                                           KEY_ALL_ACCESS, &raw));
    const UniqueKey failing(raw);
    MainWindow& form = Start(StartupEntry(failing.Get(), program));
    form.PrepareMenu();
    try {
        form.StartupItem()->Click();
        ADD_FAILURE() << "the failed write raised no error";
    } catch (const Error&) {
        application->HandleException();   // as the menu's window would
    }
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Windows と同時に起動する設定を書き込めませんでした.", boxes[0].text);
    EXPECT_FALSE(form.StartupItem()->Checked());
}

TEST(HotKeyModifiers, ShiftAndAltSwapAndTheExtendedKeyBitIsMasked)
{
    const struct {
        BYTE control;
        UINT key;
        UINT registered;
    } rows[] = {
        {0, 'M', 0},
        {HOTKEYF_SHIFT, 'M', MOD_SHIFT},
        {HOTKEYF_CONTROL, 'M', MOD_CONTROL},
        {HOTKEYF_ALT, 'M', MOD_ALT},
        {HOTKEYF_CONTROL | HOTKEYF_ALT, 'M', MOD_CONTROL | MOD_ALT},
        {HOTKEYF_SHIFT | HOTKEYF_ALT | HOTKEYF_EXT, VK_INSERT, MOD_SHIFT | MOD_ALT},
        {HOTKEYF_CONTROL | HOTKEYF_EXT, VK_DOWN, MOD_CONTROL},
        {HOTKEYF_CONTROL, VK_NUMPAD0, MOD_CONTROL},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.registered, RegisterModifiersOf(row.control)) << int(row.control);
        EXPECT_EQ(row.control, HotKeyModifiersOf(row.registered, row.key)) << int(row.control);
    }
}

}   // namespace
