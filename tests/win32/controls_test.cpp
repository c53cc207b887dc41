// Forms built from definitions: control IDs, group boxes, notifications handed back to the
// controls and on to the form's commands, names that resolve to nothing failing loudly, tab
// order, context menus, and windowless controls painted by the form.
#include "framework/button.h"
#include "framework/command_form.h"
#include "framework/dialog_presenter.h"
#include "framework/edit.h"
#include "framework/group_box.h"
#include "framework/label.h"
#include "framework/popup_menu.h"
#include "framework/tree_view.h"
#include "framework/watched.h"
#include "framework/windowless_control.h"
#include "menu_test_support.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

namespace {

// A windowless kind for the test: fills its rectangle with one colour.
class Swatch : public WindowlessControl {
public:
    static Component* Create(const ControlContext& context)
    {
        const RectDef& r = context.def.bounds;
        return new Swatch(context.form, RECT{r.left, r.top, r.left + r.width, r.top + r.height});
    }
    Swatch(Form& form, const RECT& bounds) : WindowlessControl(form, bounds) {}
    void Paint(HDC dc) override
    {
        RECT all{0, 0, Width() + 10, Height() + 10};   // clipping must keep this inside
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
};

enum class TestCommand { Click, Change, Rename };

template <typename Kind>
using Row = ControlRow<Kind, TestCommand>;

constexpr MenuItemDef<TestCommand> kTreeMenu[] = {
    {"RenameItem", "名前を変更(&R)", 0, TestCommand::Rename, {}}};
constexpr MenuDef<TestCommand> kMenus[] = {{"TreeMenu", kTreeMenu}};

constexpr ControlDef<TestCommand> kControls[] = {
    Row<Label>{"Caption", {8, 4, 60, 12}, "ラベル"},
    Row<TreeView>{"Tree", {8, 20, 100, 80}}
        .Tab(0)
        .Menu("TreeMenu")
        .On<&TreeView::OnChange>(TestCommand::Change),
    Row<GroupBox>{"Group", {120, 20, 140, 80}, "グループ"}.Tab(1),
    Row<Edit>{"Text", {10, 20, 80, 20}}.In("Group").Tab(1).On<&Edit::OnChange>(TestCommand::Change),
    Row<Button>{"Inner", {10, 48, 60, 24}, "中"}.In("Group").Tab(0).On<&Button::OnClick>(TestCommand::Click),
    Row<Button>{"Ok", {8, 110, 60, 24}, "OK"}.Tab(2).Default().On<&Button::OnClick>(TestCommand::Click),
    Row<Swatch>{"Swatch", {200, 110, 20, 20}},
};

constexpr FormDef<TestCommand> Definition(Span<ControlDef<TestCommand>> controls,
                                          Span<MenuDef<TestCommand>> menus = kMenus)
{
    return {{"ControlsTestForm",
             "テスト",
             BorderStyle::Dialog,
             false,
             40,
             40,
             280,
             150,
             COLOR_BTNFACE,
             {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET}},
            controls,
            menus};
}
constexpr FormDef<TestCommand> kForm = Definition(kControls);

class TestForm : public CommandForm<TestCommand> {
public:
    explicit TestForm(const FormDef<TestCommand>& def = kForm, DialogPresenter* dialogs = nullptr)
        : CommandForm(nullptr, def)
    {
        BindCommands(dialogs);
    }

    void Run(TestCommand command, Component* sender) override
    {
        static const char* const kWords[] = {"click ", "change ", "rename "};
        log.push_back(kWords[static_cast<int>(command)] + sender->Name());
    }

    template <typename T>
    T* Get(const char* name) const
    {
        return dynamic_cast<T*>(FindComponent(name));
    }
    std::vector<std::string> log;
};

std::string ErrorOf(const FormDef<TestCommand>& def)
{
    try {
        TestForm form(def);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(Controls, EachControlHasItsOwnIdAndPlaceInItsParent)
{
    TestForm form;
    std::vector<int> ids;
    for (const ControlLayout& def : kControls) {
        auto* control = form.Get<Control>(def.name);
        if (!control) {
            continue;   // the windowless swatch
        }
        SCOPED_TRACE(def.name);
        EXPECT_EQ(control->Handle(), GetDlgItem(GetParent(control->Handle()), control->Id()));
        for (int id : ids) {
            EXPECT_NE(id, control->Id());
        }
        ids.push_back(control->Id());
        const RECT r = control->BoundsRect();
        EXPECT_EQ(def.bounds.left, r.left);
        EXPECT_EQ(def.bounds.top, r.top);
        EXPECT_EQ(def.bounds.width, r.right - r.left);
        EXPECT_EQ(def.bounds.height, r.bottom - r.top);
    }
    EXPECT_EQ(form.Get<GroupBox>("Group")->Handle(), GetParent(form.Get<Button>("Inner")->Handle()));
    EXPECT_EQ(MAKELRESULT(form.Get<Button>("Ok")->Id(), DC_HASDEFID),
              SendMessageA(form.Handle(), DM_GETDEFID, 0, 0));
}

TEST(Controls, NotificationsReachTheControlThroughFormAndGroupBox)
{
    TestForm form;
    SendMessageA(form.Get<Button>("Inner")->Handle(), BM_CLICK, 0, 0);
    SendMessageA(form.Get<Button>("Ok")->Handle(), BM_CLICK, 0, 0);
    SetWindowTextA(form.Get<Edit>("Text")->Handle(), "テキスト");
    form.Get<MenuItem>("RenameItem")->Click();
    TreeView* tree = form.Get<TreeView>("Tree");
    tree->Synchronize();
    TreeNode* node = tree->Items().AddChild(nullptr, "節");
    SendMessageA(tree->Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree->ItemHandle(node)));
    EXPECT_EQ(node, tree->Selected());
    EXPECT_EQ((std::vector<std::string>{"click Inner", "click Ok", "change Text", "rename RenameItem",
                                        "change Tree"}),
              form.log);
    EXPECT_EQ("テキスト", form.Get<Edit>("Text")->Text());
}

// What the compiler cannot see fails when the form is made: names of components that are
// not there, and a command that waits for the menu's end on a form that presents no dialogs.
TEST(Controls, DefinitionsFailLoudlyOnWhatTheCompilerCannotCheck)
{
    static constexpr ControlDef<TestCommand> kBadParent[] = {Row<Button>{"B", {0, 0, 10, 10}}.In("Nowhere")};
    static constexpr ControlDef<TestCommand> kBadMenu[] = {Row<Button>{"B", {0, 0, 10, 10}}.Menu("Nowhere")};
    static constexpr MenuItemDef<TestCommand> kDialogItems[] = {
        {"M1", "x", kMenuOpensDialog, TestCommand::Click, {}}};
    static constexpr MenuDef<TestCommand> kDialogMenu[] = {{"Menu", kDialogItems}};
    EXPECT_EQ("ControlsTestForm.B: no control Nowhere to sit in", ErrorOf(Definition(kBadParent)));
    EXPECT_EQ("ControlsTestForm.B: no menu Nowhere", ErrorOf(Definition(kBadMenu)));
    EXPECT_EQ("ControlsTestForm.M1: opens a dialog, but the form presents none",
              ErrorOf(Definition({}, kDialogMenu)));
}

TEST(Controls, TheTypedLookUpFindsOnlyAComponentOfThatNameAndKind)
{
    TestForm form;
    EXPECT_EQ(form.Get<Label>("Caption"), &form.Owned<Label>("caption"));
    for (const char* name : {"Nowhere", "Ok"}) {
        try {
            form.Owned<Label>(name);
            ADD_FAILURE() << name << " found as a label";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string("ControlsTestForm: no component ") + name + " of the kind asked for",
                      e.what());
        }
    }
}

TEST(Controls, WatchedPointersTurnNullWhenTheirComponentGoesHoweverOftenItWasSet)
{
    // Two pointers of one watcher at one target: letting one go must not stop the other
    // from hearing of the target's end.
    struct Watcher : Component {
        Watcher() : Component(nullptr) {}
        Watched<Component> first{*this}, second{*this};
    } watcher;
    auto *target = new Component(nullptr), *other = new Component(nullptr);
    watcher.first.Set(target);
    watcher.second.Set(target);
    watcher.second.Set(other);
    watcher.second.Set(target);
    watcher.first.Set(nullptr);
    watcher.first.Set(other);
    delete target;
    EXPECT_EQ(nullptr, watcher.second.Get());
    EXPECT_EQ(other, watcher.first.Get());
    delete other;
    EXPECT_EQ(nullptr, watcher.first.Get());
}

TEST(Controls, TabAndShiftTabWalkTheTabOrderIntoGroupBoxes)
{
    TestForm form;
    form.Show();
    SetForegroundWindow(form.Handle());
    const std::vector<std::string> expected = {"Tree", "Inner", "Text", "Ok", "Tree"};
    form.Get<Control>("Tree")->SetFocus();
    auto press = [&](bool shift) {
        // The keys as the modal loop hands them to the dialog manager.
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{};
        msg.hwnd = GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_TAB;
        EXPECT_TRUE(IsDialogMessageA(form.Handle(), &msg));
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return Control::FromHandle(GetFocus()) ? Control::FromHandle(GetFocus())->Name() : "?";
    };
    for (size_t i = 1; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], press(false));
    }
    for (size_t i = expected.size() - 1; i-- > 0;) {
        EXPECT_EQ(expected[i], press(true));
    }
}

TEST(Controls, RightClickOpensTheControlsMenu)
{
    TestForm form;
    form.Show();
    bool opened = false;
    CloseMenuWhenOpen([&](HWND menuWindow) { opened = menuWindow != nullptr; });
    SendMessageA(form.Handle(), WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(form.Get<TreeView>("Tree")->Handle()), MAKELPARAM(60, 60));
    EXPECT_TRUE(opened);
    EXPECT_EQ(form.Get<PopupMenu>("TreeMenu"), form.Get<TreeView>("Tree")->PopupMenu());
}

TEST(Controls, TheFormPaintsWindowlessControlsInsideTheirBounds)
{
    TestForm form;
    form.Show();
    UpdateWindow(form.Handle());
    HDC dc = GetDC(form.Handle());
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 200, 110));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 219, 129));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, 220, 130));
    ReleaseDC(form.Handle(), dc);
}

TEST(Controls, EscapeEndsAModalFormAsItsCloseBoxDoesAndNothingWithoutOne)
{
    for (const bool closeBox : {true, false}) {
        FormDef<TestCommand> def = kForm;
        def.systemMenu = closeBox;
        TestForm form(def);
        ModalAction escape(form, [&] {
            SendMessageA(form.Handle(), WM_COMMAND, IDCANCEL, 0);   // as the dialog keys send Escape
            EXPECT_EQ(closeBox ? IDCANCEL : 0, form.ModalResult()) << "close box " << closeBox;
            form.SetModalResult(IDOK);
        });
        form.ShowModal();
    }
}

}   // namespace
