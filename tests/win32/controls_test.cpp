// Forms built from definitions: control IDs, group boxes, notifications handed back to the
// controls, handlers bound by name (and failing loudly), tab order, context menus, and
// windowless controls painted by the form.
#include "framework/button.h"
#include "framework/edit.h"
#include "framework/form.h"
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

constexpr MenuItemDef kTreeMenu[] = {{"R1", "名前を変更(&R)", 0, "Rename", {}}};
constexpr MenuDef kMenus[] = {{"PopupMenu1", kTreeMenu}};

constexpr ControlDef kControls[] = {
    {Label::Create, "Label1", {8, 4, 60, 12}, "ラベル"},
    ControlDef{TreeView::Create, "Tree", {8, 20, 100, 80}}
        .Tab(0)
        .Menu("PopupMenu1")
        .On("OnChange", "Changed"),
    ControlDef{GroupBox::Create, "Group", {120, 20, 140, 80}, "グループ"}.Tab(1),
    ControlDef{Edit::Create, "Edit1", {10, 20, 80, 20}}.In("Group").Tab(1).On("OnChange", "Changed"),
    ControlDef{Button::Create, "Inner", {10, 48, 60, 24}, "中"}.In("Group").Tab(0).On("OnClick", "Clicked"),
    ControlDef{Button::Create, "Ok", {8, 110, 60, 24}, "OK"}.Tab(2).Default().On("OnClick", "Clicked"),
    {Swatch::Create, "Swatch", {200, 110, 20, 20}},
};

constexpr FormDef Definition(Span<ControlDef> controls, Span<MenuDef> menus = kMenus)
{
    return {"ControlsTestForm",
            "テスト",
            BorderStyle::Dialog,
            false,
            40,
            40,
            280,
            150,
            COLOR_BTNFACE,
            {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
            controls,
            menus};
}
constexpr FormDef kForm = Definition(kControls);

class TestForm : public Form {
public:
    explicit TestForm(const FormDef& def = kForm) : Form(nullptr, def) { BindHandlers(this, Handlers()); }

    void Clicked(Component* sender) { log.push_back("click " + sender->Name()); }
    void Changed(Component* sender) { log.push_back("change " + sender->Name()); }
    void Rename(Component* sender) { log.push_back("rename " + sender->Name()); }

    static Span<HandlerDef<TestForm>> Handlers()
    {
        static constexpr HandlerDef<TestForm> kHandlers[] = {
            FORM_HANDLER(TestForm, Clicked), FORM_HANDLER(TestForm, Changed), FORM_HANDLER(TestForm, Rename)};
        return kHandlers;
    }

    template <typename T>
    T* Get(const char* name) const
    {
        return dynamic_cast<T*>(FindComponent(name));
    }
    std::vector<std::string> log;
};

std::string ErrorOf(const FormDef& def)
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
    for (const ControlDef& def : kControls) {
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
    SetWindowTextA(form.Get<Edit>("Edit1")->Handle(), "テキスト");
    TreeView* tree = form.Get<TreeView>("Tree");
    tree->Synchronize();
    TreeNode* node = tree->Items().AddChild(nullptr, "節");
    SendMessageA(tree->Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree->ItemHandle(node)));
    EXPECT_EQ(node, tree->Selected());
    EXPECT_EQ((std::vector<std::string>{"click Inner", "click Ok", "change Edit1", "change Tree"}), form.log);
    EXPECT_EQ("テキスト", form.Get<Edit>("Edit1")->Text());
}

TEST(Controls, BindingFailsLoudlyOnAnyNameThatResolvesToNothing)
{
    static constexpr ControlDef kBadHandler[] = {
        ControlDef{Button::Create, "B", {0, 0, 10, 10}}.On("OnClick", "Nope")};
    EXPECT_EQ("ControlsTestForm.B: no handler Nope", ErrorOf(Definition(kBadHandler)));
    static constexpr ControlDef kBadEvent[] = {
        ControlDef{Label::Create, "L", {0, 0, 10, 10}}.On("OnClick", "Clicked")};
    EXPECT_EQ("ControlsTestForm.L: no event OnClick", ErrorOf(Definition(kBadEvent)));
    static constexpr ControlDef kBadProperty[] = {
        ControlDef{Button::Create, "B", {0, 0, 10, 10}}.Set("Indent", 3)};
    EXPECT_EQ("ControlsTestForm.B: no property Indent", ErrorOf(Definition(kBadProperty)));
    static constexpr ControlDef kBadParent[] = {
        ControlDef{Button::Create, "B", {0, 0, 10, 10}}.In("Nowhere")};
    EXPECT_EQ("ControlsTestForm.B: no control Nowhere to sit in", ErrorOf(Definition(kBadParent)));
    static constexpr MenuItemDef kBadItems[] = {{"M1", "x", 0, "Missing", {}}};
    static constexpr MenuDef kBadMenu[] = {{"Menu", kBadItems}};
    EXPECT_EQ("ControlsTestForm.M1: no handler Missing", ErrorOf(Definition({}, kBadMenu)));
    EXPECT_EQ((std::vector<std::string>{"Missing"}),
              MissingHandlers(Definition({}, kBadMenu), TestForm::Handlers()));
    static constexpr MenuItemDef kDialogItems[] = {{"M1", "x", kMenuOpensDialog, "Clicked", {}}};
    static constexpr MenuDef kDialogMenu[] = {{"Menu", kDialogItems}};
    EXPECT_EQ("ControlsTestForm.M1: opens a dialog, but the form presents none",
              ErrorOf(Definition({}, kDialogMenu)));
}

TEST(Controls, TheTypedLookUpFindsOnlyAComponentOfThatNameAndKind)
{
    TestForm form;
    EXPECT_EQ(form.Get<Label>("Label1"), &form.Owned<Label>("label1"));
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
    const std::vector<std::string> expected = {"Tree", "Inner", "Edit1", "Ok", "Tree"};
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
    EXPECT_EQ(form.Get<PopupMenu>("PopupMenu1"), form.Get<TreeView>("Tree")->PopupMenu());
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
        FormDef def = kForm;
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
