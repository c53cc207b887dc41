// The keyboard shortcut and the start with Windows, as the main window's settings and items show them.
#include "base/error.h"
#include "framework/application.h"
#include "framework/handles.h"
#include "framework/hot_key.h"
#include "framework/menu_item.h"
#include "menu_test_support.h"
#include "shell/main_window.h"
#include "triggers/shortcut_dialog.h"
#include "triggers/shortcut_key.h"
#include "win32_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr ShortcutKey kCtrlAltM{'M', MOD_CONTROL | MOD_ALT};   // stored as 845

// A key held by a window of the test, as by another program, while it lives.
struct HeldKey {
    explicit HeldKey(ShortcutKey key) : held(RegisterHotKey(window.Get(), 7, key.modifiers, key.key)) {}
    ~HeldKey() { UnregisterHotKey(window.Get(), 7); }
    UniqueWindow window{CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)};
    bool held;   // false: the key was taken already
};

class ShortcutTest : public testing::Test {
protected:
    void SetUp() override { scratch_.SetString(kSettingsSection, "HOOK", "0"); }
    MainWindow& Start(StartupEntry startup = StartupEntry())
    {
        form_.reset();   // one main window at a time
        TakeShownBoxes();
        form_ = std::make_unique<MainWindow>(application, scratch_.Path(), std::move(startup));
        return *form_;
    }
    std::string CloseAndStored()
    {
        form_->Close();
        DrainQuitMessages();
        return scratch_.Stored(kSettingsSection, "HotKey");
    }
    // The text of the one box shown since the last look, "" for none.
    static std::string OnlyBox()
    {
        const std::vector<ShownBox> boxes = TakeShownBoxes();
        EXPECT_LE(boxes.size(), 1u);
        return boxes.empty() ? "" : boxes[0].text;
    }
    // Runs `act` inside the dialog that "ショートカットキー..." shows; the dialog is closed then.
    void InDialog(const std::function<void(ShortcutDialog&)>& act)
    {
        ModalAction inDialog(form_->ShortcutChooser(), [&] { act(form_->ShortcutChooser()); });
        form_->ShortcutItem()->Click();
        application->ProcessMessages();   // the item waits for the menu's end
    }

    FakeShell shell_;
    ScratchKey scratch_;
    std::unique_ptr<MainWindow> form_;
};

TEST_F(ShortcutTest, TheDialogRefusesWhatItMustNotTakeAndAKeyHeldElsewhereAtStartIsNamedAndKept)
{
    const HeldKey other({'K', MOD_CONTROL | MOD_SHIFT});
    scratch_.SetString(kSettingsSection, "HotKey", "845");
    EXPECT_EQ("ショートカットキー... (Ctrl+Alt+M)", Start().ShortcutItem()->Caption());
    const struct {
        ShortcutKey key;
        const char* message;
    } rows[] = {
        {{'M', 0}, "M はほかのプログラムでも使うキーです。Ctrl か Alt を含むキーを選んでください。"},
        {{'M', MOD_SHIFT},
         "Shift+M はほかのプログラムでも使うキーです。Ctrl か Alt を含むキーを選んでください。"},
        {{VK_F12, MOD_CONTROL}, "F12 は Windows が使うキーです。ほかのキーを選んでください。"},
        {{'K', MOD_CONTROL | MOD_SHIFT},
         "Ctrl+Shift+K はほかのプログラムが使っています。ほかのキーを選んでください。"},
    };
    InDialog([&](ShortcutDialog& dialog) {
        EXPECT_TRUE(HeldKey(kCtrlAltM).held) << "pressed now, the key would not go into the field";
        for (const auto& row : rows) {
            dialog.KeyField().SetKey(row.key.key, row.key.modifiers);
            dialog.Accept();
            EXPECT_EQ(row.message, OnlyBox());
            EXPECT_TRUE(dialog.Visible());
            EXPECT_EQ(kCtrlAltM, (ShortcutKey{dialog.KeyField().Key(), dialog.KeyField().Modifiers()}));
        }
        dialog.Close();
    });
    EXPECT_FALSE(HeldKey(kCtrlAltM).held) << "the old key did not come back after the dialog";
    EXPECT_EQ("845", CloseAndStored());

    const HeldKey atStart(kCtrlAltM);
    EXPECT_EQ("ショートカットキー... (Ctrl+Alt+M は無効)", Start().ShortcutItem()->Caption());
    EXPECT_EQ("ショートカットキー Ctrl+Alt+M はほかのプログラムが使っているため、使えません。", OnlyBox());
    InDialog([](ShortcutDialog& dialog) { dialog.Clear(); });
    EXPECT_EQ("0", CloseAndStored());
    scratch_.SetString(kSettingsSection, "HotKey", "77");   // M alone: a number the program never writes
    EXPECT_EQ("ショートカットキー...", Start().ShortcutItem()->Caption());
}

TEST_F(ShortcutTest, TheStartItemShowsWhetherTheRunValueStartsThisProgramAndWritesOrRemovesIt)
{
    const wchar_t* const kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const wchar_t* const kApproved =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const std::wstring program = L"C:\\Caf\u00e9\\Mivtra.exe";   // not Shift-JIS: kept whole
    const std::wstring quoted = L"\"" + program + L"\"";
    const struct {
        std::wstring run;   // "-": no value
        BYTE approval;      // the first byte of Task Manager's value; 0: no value
        bool checked;
        std::wstring runAfter;   // Task Manager's value is gone after each choice
        bool failing = false;    // the Run key cannot be made: its parent does not keep values
    } rows[] = {
        {L"-", 0, false, quoted},
        {quoted, 0, true, L"-"},
        {L"c:\\CAF\u00e9\\mivtra.exe /x", 0, true, L"-"},
        {L"\"C:\\Old\\Mivtra.exe\"", 0, false, quoted},
        {quoted, 3, false, quoted},
        {L"-", 0, false, L"-", true},
    };
    HKEY raw = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, scratch_.Path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                    nullptr);
    const UniqueKey root(raw);
    for (const auto& row : rows) {
        RegDeleteTreeW(root.Get(), L"Software");
        RegCreateKeyExW(root.Get(), L"Software\\Microsoft\\Windows\\CurrentVersion", 0, nullptr,
                        row.failing ? REG_OPTION_VOLATILE : 0, KEY_READ, nullptr, &raw, nullptr);
        RegCloseKey(raw);
        if (row.run != L"-") {
            RegSetKeyValueW(root.Get(), kRun, L"Mivtra", REG_SZ, row.run.c_str(), (row.run.size() + 1) * 2);
        }
        const BYTE approval[12] = {row.approval};
        if (row.approval) {
            RegSetKeyValueW(root.Get(), kApproved, L"Mivtra", REG_BINARY, approval, sizeof approval);
        }
        MainWindow& form = Start(StartupEntry(root.Get(), program));
        form.PrepareMenu();
        EXPECT_EQ(row.checked, form.StartupItem()->Checked()) << "row " << &row - rows;
        try {
            form.StartupItem()->Click();
        } catch (const Error&) {
            application->HandleException();   // as the menu's window does
        }
        EXPECT_EQ(row.failing ? "Windows と同時に起動する設定を書き込めませんでした." : "", OnlyBox());
        wchar_t data[100] = L"-";
        DWORD size = sizeof data;
        RegGetValueW(root.Get(), kRun, L"Mivtra", RRF_RT_REG_SZ, nullptr, data, &size);
        EXPECT_EQ(row.runAfter, data);
        EXPECT_NE(ERROR_SUCCESS,
                  RegGetValueW(root.Get(), kApproved, L"Mivtra", RRF_RT_ANY, nullptr, nullptr, nullptr));
        EXPECT_EQ(row.runAfter == quoted, form.StartupItem()->Checked());
    }
}

TEST(HotKeyModifiers, ShiftAndAltSwapAndTheExtendedKeyBitIsMaskedAndPutBackForExtendedKeys)
{
    const std::tuple<BYTE, UINT, UINT> rows[] = {
        {HOTKEYF_SHIFT, 'M', MOD_SHIFT},
        {HOTKEYF_CONTROL | HOTKEYF_ALT, 'M', MOD_CONTROL | MOD_ALT},
        {HOTKEYF_SHIFT | HOTKEYF_ALT | HOTKEYF_EXT, VK_INSERT, MOD_SHIFT | MOD_ALT},
        {HOTKEYF_CONTROL, VK_NUMPAD0, MOD_CONTROL},
    };
    for (const auto& [control, key, registered] : rows) {
        EXPECT_EQ(registered, RegisterModifiersOf(control)) << int(control);
        EXPECT_EQ(control, HotKeyModifiersOf(registered, key)) << int(control);
    }
}

}   // namespace
