// The tray icon component: what reaches the shell, the table of icon IDs, the message
// window's dispatch of the shell's notifications, and the menus a press opens.
#include "components/notify_window.h"
#include "components/task_tray.h"

#include "base/error.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/popup_menu.h"
#include "menu_test_support.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const FormDef<NoCommand> kOwnerForm{{"TTrayTestForm",
                                     "tray owner",
                                     BorderStyle::Dialog,
                                     true,
                                     0,
                                     0,
                                     200,
                                     100,
                                     COLOR_BTNFACE,
                                     {"MS UI Gothic", 12, SHIFTJIS_CHARSET}},
                                    {},
                                    {}};

std::string ErrorOf(void (*action)(TaskTray*), TaskTray* tray)
{
    try {
        action(tray);
    } catch (const InvalidOperation& e) {
        return e.what();
    }
    return "(no error)";
}

// --- Fixture: a hidden form owns the components, and with them the message window ---------

class TaskTrayTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeShownBoxes();
        form_ = new Form(application, kOwnerForm);
    }

    void TearDown() override
    {
        delete form_;
        application->ProcessMessages();   // whatever the destruction posted
    }

    static void GiveIcon(TaskTray* tray)
    {
        tray->Icon()->SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
    }

    // A component in the tray, its add already recorded and cleared.
    TaskTray* ShownTray(Component* owner)
    {
        auto* tray = new TaskTray(owner);
        tray->SetTipString("Mivtra");
        GiveIcon(tray);
        tray->SetRegistered(true);
        EXPECT_EQ(Calls().size(), 1u);
        window_ = Calls().empty() ? nullptr : Calls().back().window;
        Calls().clear();
        return tray;
    }

    void Notify(TaskTray* tray, LPARAM mouseMessage)
    {
        SendMessageA(window_, kTrayCallbackMessage, static_cast<WPARAM>(tray->IconID()), mouseMessage);
    }

    // Every request the shell got since the last clear.
    std::vector<ShellRequest>& Calls() { return shell_.Requests(); }

    FakeShell shell_;
    Form* form_ = nullptr;
    HWND window_ = nullptr;   // the message window the shell was given
};

// --- Requests to the shell -------------------------------------------------------------

TEST_F(TaskTrayTest, RegisteringAddsTheFirstFormOfTheRecordOnce)
{
    auto* tray = new TaskTray(form_);
    tray->SetTipString("Mivtra");
    GiveIcon(tray);
    EXPECT_TRUE(Calls().empty()) << "nothing reaches the shell while the icon is not wanted";

    tray->SetRegistered(true);
    tray->SetRegistered(true);
    ASSERT_EQ(Calls().size(), 1u);
    const ShellRequest& add = Calls()[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.size, 88u);
    EXPECT_EQ(add.id, 1u);
    EXPECT_EQ(add.flags, 7u);
    EXPECT_EQ(add.callbackMessage, 1126u);
    EXPECT_EQ(add.icon, tray->Icon()->Handle());
    EXPECT_EQ(add.tip, "Mivtra");
    char className[32] = {};
    GetClassNameA(add.window, className, sizeof className);
    EXPECT_STREQ(className, "TNotifyWindow");
    EXPECT_EQ(GetParent(add.window), form_->Handle()) << "the message window goes with the owning form";
    EXPECT_FALSE(IsWindowVisible(add.window));
    EXPECT_TRUE(tray->Registered());
}

TEST_F(TaskTrayTest, TipChangesModifyTheShownIconOnlyWhenTheTextDiffers)
{
    auto* tray = ShownTray(form_);
    tray->SetTipString("Mivtra");
    EXPECT_TRUE(Calls().empty());

    tray->SetTipString("");
    tray->SetTipString("別のヒント");
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(Calls()[0].flags, 3u) << "no tip flag for an empty tip";
    EXPECT_EQ(Calls()[1].flags, 7u);
    EXPECT_EQ(Calls()[1].tip, "別のヒント");
    EXPECT_EQ(Calls()[1].window, window_) << "a modification keeps the window of the add";
}

TEST_F(TaskTrayTest, LongTipsAreCutBetweenCharactersButKeptWhole)
{
    auto* tray = ShownTray(form_);
    const std::string ascii(70, 'a');
    tray->SetTipString(ascii);
    EXPECT_EQ(Calls().back().tip, ascii.substr(0, 63));
    EXPECT_EQ(tray->TipString(), ascii) << "the property keeps the full text";

    // "表" is two bytes: at bytes 63-64 it would be split, so it goes; at 62-63 it fits.
    tray->SetTipString(std::string(62, 'b') + "表");
    EXPECT_EQ(Calls().back().tip, std::string(62, 'b'));
    tray->SetTipString(std::string(61, 'c') + "表");
    EXPECT_EQ(Calls().back().tip, std::string(61, 'c') + "表");
}

TEST_F(TaskTrayTest, HidingDeletesOnceAndAHiddenIconSendsNothing)
{
    auto* hidden = new TaskTray(form_);
    hidden->SetRegistered(false);
    EXPECT_TRUE(Calls().empty());

    auto* tray = ShownTray(form_);
    tray->SetRegistered(false);
    tray->SetRegistered(false);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls()[0].id, static_cast<UINT>(tray->IconID()));
    EXPECT_FALSE(tray->Registered());

    Calls().clear();
    tray->SetTipString("hidden");
    EXPECT_TRUE(Calls().empty());
}

TEST_F(TaskTrayTest, AnEmptyIconCannotBeRegistered)
{
    auto* tray = new TaskTray(form_);
    EXPECT_EQ(ErrorOf([](TaskTray* t) { t->SetRegistered(true); }, tray), "アイコンが指定されていません");
    EXPECT_FALSE(tray->Registered());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(TaskTrayTest, IconImagesAreCopiedAndNoImageTakesTheIconOut)
{
    auto* tray = ShownTray(form_);
    Icon other;
    other.SetHandle(CopyIcon(LoadIconA(nullptr, IDI_QUESTION)));
    tray->SetIcon(&other);
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_NE(tray->Icon()->Handle(), other.Handle()) << "the component keeps a copy, never the caller's";
    EXPECT_EQ(Calls().back().icon, tray->Icon()->Handle());

    Calls().clear();
    tray->SetIcon(tray->Icon());
    EXPECT_TRUE(Calls().empty());

    tray->SetIcon(nullptr);
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(tray->Icon()->Empty());
    EXPECT_FALSE(tray->Registered());

    // The icon leaves even when the shell refuses the modifications on the way out.
    GiveIcon(tray);
    tray->SetRegistered(true);
    shell_.Refuse({NIM_MODIFY});
    Calls().clear();
    EXPECT_THROW(tray->SetIcon(nullptr), InvalidOperation);
    EXPECT_EQ(Calls().back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(tray->Registered());
}

TEST_F(TaskTrayTest, ARefusedAddLeavesTheIconWantedAndTheNextUpdateAddsAgain)
{
    auto* tray = new TaskTray(form_);
    GiveIcon(tray);
    shell_.Refuse({NIM_ADD});
    EXPECT_EQ(ErrorOf([](TaskTray* t) { t->SetRegistered(true); }, tray), "タスクトレイに登録できません");
    EXPECT_TRUE(tray->Registered());

    shell_.Refuse({});
    Calls().clear();
    tray->SetTipString("retry");
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_ADD));

    // A refused modification keeps the icon added: the next one modifies again.
    shell_.Refuse({NIM_MODIFY});
    EXPECT_THROW(tray->SetTipString("refused"), InvalidOperation);
    shell_.Refuse({});
    tray->SetTipString("accepted");
    EXPECT_EQ(Calls().back().message, static_cast<DWORD>(NIM_MODIFY));
}

TEST_F(TaskTrayTest, InDesignModeNothingReachesTheShellAndNoWindowIsMade)
{
    form_->SetDesigning(true);
    auto* tray = new TaskTray(form_);
    GiveIcon(tray);
    tray->SetRegistered(true);
    tray->SetTipString("design");
    tray->SetIconID(5);
    tray->Loaded();
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(FindWindowExA(form_->Handle(), nullptr, "TNotifyWindow", nullptr), nullptr);
    EXPECT_EQ(FindWindowA("TNotifyWindow", nullptr), nullptr);
}

// --- Icon IDs ----------------------------------------------------------------------------

TEST_F(TaskTrayTest, IdsFollowTheLastEntryAndFreedIdsReturn)
{
    auto* first = new TaskTray(form_);
    auto* second = ShownTray(form_);
    EXPECT_EQ(first->IconID(), 1);
    EXPECT_EQ(second->IconID(), 2);
    auto* third = new TaskTray(form_);
    EXPECT_EQ(third->IconID(), 3);
    delete third;

    delete second;
    ASSERT_EQ(Calls().size(), 1u) << "a shown icon leaves the tray with its component";
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls()[0].id, 2u);
    EXPECT_EQ((new TaskTray(form_))->IconID(), 2);
}

TEST_F(TaskTrayTest, ConstructionSkipsAnIdTakenByHand)
{
    auto* first = new TaskTray(form_);
    new TaskTray(form_);
    first->SetIconID(3);
    auto* third = new TaskTray(form_);
    EXPECT_EQ(third->IconID(), 4) << "two components must never share an icon";
}

TEST_F(TaskTrayTest, IdsBelowOneAndIdsInUseAreRefused)
{
    auto* tray = new TaskTray(form_);
    new TaskTray(form_);
    EXPECT_EQ(ErrorOf([](TaskTray* t) { t->SetIconID(0); }, tray), "0以下は指定できません");
    EXPECT_EQ(ErrorOf([](TaskTray* t) { t->SetIconID(-5); }, tray), "0以下は指定できません");
    EXPECT_EQ(ErrorOf([](TaskTray* t) { t->SetIconID(2); }, tray), "同じアイコン識別子が有ります");
    EXPECT_EQ(ErrorOf([](TaskTray* t) { t->SetIconID(1); }, tray), "(no error)") << "its own ID";
    EXPECT_EQ(tray->IconID(), 1);
}

TEST_F(TaskTrayTest, ANewIdMovesAShownIconAndItsNotifications)
{
    auto* tray = ShownTray(form_);
    int downs = 0;
    tray->OnMouseDown = [&](Component*, MouseButton, ShiftState, int, int) { ++downs; };
    tray->SetIconID(7);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls()[0].id, 1u);
    EXPECT_EQ(Calls()[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls()[1].id, 7u);
    EXPECT_TRUE(tray->Registered());

    SendMessageA(window_, kTrayCallbackMessage, 1, WM_MBUTTONDOWN);
    EXPECT_EQ(downs, 0) << "the old ID is no longer in the table";
    SendMessageA(window_, kTrayCallbackMessage, 7, WM_MBUTTONDOWN);
    EXPECT_EQ(downs, 1);
}

// --- Menu references ---------------------------------------------------------------------

TEST_F(TaskTrayTest, DestroyingTheMenuClearsBothReferences)
{
    auto* tray = new TaskTray(form_);
    auto* menu = new PopupMenu(nullptr);   // not a sibling: only its free notification tells
    tray->SetPopupMenuL(menu);
    tray->SetPopupMenuR(menu);
    delete menu;
    EXPECT_EQ(tray->PopupMenuL(), nullptr);
    EXPECT_EQ(tray->PopupMenuR(), nullptr);
}

// --- Dispatch of the shell's notifications -----------------------------------------------

struct Event {
    std::string kind;
    Component* sender;
    MouseButton button;
    ShiftState shift;
    POINT at;
};

void Record(TaskTray* tray, std::vector<Event>& events)
{
    tray->OnMouseDown = [&](Component* s, MouseButton b, ShiftState sh, int x, int y) {
        events.push_back({"down", s, b, sh, {x, y}});
    };
    tray->OnMouseUp = [&](Component* s, MouseButton b, ShiftState sh, int x, int y) {
        events.push_back({"up", s, b, sh, {x, y}});
    };
    tray->OnMouseMove = [&](Component* s, ShiftState sh, int x, int y) {
        events.push_back({"move", s, mbLeft, sh, {x, y}});
    };
    tray->OnDblClick = [&](Component* s, MouseButton b) { events.push_back({"dblclick", s, b, 0, {}}); };
}

TEST_F(TaskTrayTest, EachMouseMessageRaisesItsEventAtTheCursor)
{
    auto* tray = ShownTray(form_);
    std::vector<Event> events;
    Record(tray, events);
    SetCursorPos(123, 234);
    POINT cursor{};
    GetCursorPos(&cursor);

    const struct {
        LPARAM message;
        const char* kind;   // null: no event
        MouseButton button;
        ShiftState shift;
    } kCases[] = {
        {WM_MOUSEMOVE, "move", mbLeft, 0},          {WM_LBUTTONDOWN, "down", mbLeft, ssLeft},
        {WM_LBUTTONUP, "up", mbLeft, ssLeft},       {WM_LBUTTONDBLCLK, "dblclick", mbLeft, 0},
        {WM_RBUTTONDOWN, "down", mbRight, ssRight}, {WM_RBUTTONUP, "up", mbRight, ssRight},
        {WM_RBUTTONDBLCLK, "dblclick", mbRight, 0}, {WM_MBUTTONDOWN, "down", mbMiddle, ssMiddle},
        {WM_MBUTTONUP, "up", mbMiddle, ssMiddle},   {WM_MBUTTONDBLCLK, nullptr, mbLeft, 0},
        {WM_MOUSEWHEEL, nullptr, mbLeft, 0},        {0, nullptr, mbLeft, 0},
    };
    for (const auto& c : kCases) {
        events.clear();
        Notify(tray, c.message);
        if (!c.kind) {
            EXPECT_TRUE(events.empty()) << std::hex << c.message;
            continue;
        }
        ASSERT_EQ(events.size(), 1u) << std::hex << c.message;
        const Event& e = events[0];
        EXPECT_EQ(e.kind, c.kind) << std::hex << c.message;
        EXPECT_EQ(e.sender, tray);
        EXPECT_EQ(e.button, c.button) << std::hex << c.message;
        EXPECT_EQ(e.shift, c.shift) << std::hex << c.message;
        if (e.kind != "dblclick") {
            EXPECT_EQ(e.at.x, cursor.x) << std::hex << c.message;
            EXPECT_EQ(e.at.y, cursor.y) << std::hex << c.message;
        }
    }

    events.clear();
    SendMessageA(window_, kTrayCallbackMessage, 99, WM_LBUTTONDOWN);
    EXPECT_TRUE(events.empty()) << "an ID nobody holds is ignored";
}

TEST_F(TaskTrayTest, NotificationsDuringADispatchAreDropped)
{
    auto* tray = ShownTray(form_);
    auto* other = ShownTray(form_);
    std::vector<Event> events;
    Record(tray, events);
    Record(other, events);
    tray->OnMouseDown = [&](Component*, MouseButton, ShiftState, int, int) {
        events.push_back({"down", tray, mbLeft, 0, {}});
        // The release of the same click and another component's press, mid-dispatch.
        Notify(tray, WM_LBUTTONUP);
        Notify(other, WM_LBUTTONDOWN);
    };
    Notify(tray, WM_LBUTTONDOWN);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, "down");

    Notify(tray, WM_LBUTTONUP);
    ASSERT_EQ(events.size(), 2u) << "a release after the press's dispatch raises its event";
    EXPECT_EQ(events[1].kind, "up");
}

TEST_F(TaskTrayTest, APressOnAFormsIconHandlesWaitingMessagesFirst)
{
    // The release the shell queued behind the press is processed, and dropped, before the
    // press's handler runs.
    auto* tray = ShownTray(form_);
    std::vector<Event> events;
    Record(tray, events);
    PostMessageA(window_, kTrayCallbackMessage, 1, WM_LBUTTONUP);
    Notify(tray, WM_LBUTTONDOWN);
    application->ProcessMessages();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, "down");
}

TEST_F(TaskTrayTest, AnOwnerThatIsNoFormGetsAHiddenTopLevelWindowAndNoMessagePump)
{
    Component owner(nullptr);
    auto* tray = ShownTray(&owner);
    EXPECT_EQ(GetAncestor(window_, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(window_, GW_OWNER), application->Handle());
    EXPECT_FALSE(IsWindowVisible(window_));

    std::vector<Event> events;
    Record(tray, events);
    PostMessageA(window_, kTrayCallbackMessage, 1, WM_LBUTTONUP);
    Notify(tray, WM_LBUTTONDOWN);
    application->ProcessMessages();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, "down");
    EXPECT_EQ(events[1].kind, "up") << "the release waited for the press to end";
}

TEST_F(TaskTrayTest, AnErrorInAHandlerIsShownAndEndsTheDispatch)
{
    auto* tray = ShownTray(form_);
    std::vector<Event> events;
    Record(tray, events);
    tray->OnMouseDown = [](Component*, MouseButton, ShiftState, int, int) {
        throw InvalidOperation("ハンドラの失敗");
    };
    Notify(tray, WM_RBUTTONDOWN);
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "ハンドラの失敗.");
    EXPECT_EQ(boxes[0].caption, "Mivtra");
    EXPECT_TRUE(boxes[0].type & MB_ICONSTOP);

    Notify(tray, WM_RBUTTONUP);
    ASSERT_EQ(events.size(), 1u) << "the guard was cleared by the error";
    EXPECT_EQ(events[0].kind, "up");
}

TEST_F(TaskTrayTest, APressStopsWhenAWaitingMessageDestroysTheComponent)
{
    TaskTray* tray = ShownTray(form_);
    auto* menu = new PopupMenu(form_);
    menu->Items()->Add(new MenuItem(form_));
    menu->Items()->Items(0)->SetCaption("項目");
    menu->OnPopup = [](Component*) { ADD_FAILURE() << "the menu of a destroyed component opened"; };
    tray->SetPopupMenuL(menu);
    tray->OnMouseDown = [](Component*, MouseButton, ShiftState, int, int) {
        ADD_FAILURE() << "a destroyed component raised an event";
    };
    const UINT kDestroyTray = WM_APP + 1;
    int hook = application->HookMainWindow([&](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kDestroyTray) {
            return false;
        }
        delete std::exchange(tray, nullptr);
        return true;
    });
    PostMessageA(application->Handle(), kDestroyTray, 0, 0);
    SendMessageA(window_, kTrayCallbackMessage, 1, WM_LBUTTONDOWN);
    application->UnhookMainWindow(hook);
    EXPECT_EQ(tray, nullptr);
}

// --- Menus opened by a press -------------------------------------------------------------

TEST_F(TaskTrayTest, LeftAndRightPressesOpenTheirMenusAndNothingElseDoes)
{
    auto* tray = ShownTray(form_);
    std::vector<std::string> log;
    tray->OnMouseDown = [&](Component*, MouseButton, ShiftState, int, int) { log.push_back("down"); };
    PopupMenu* menus[2];
    for (PopupMenu*& menu : menus) {
        menu = new PopupMenu(form_);
        auto* item = new MenuItem(form_);
        item->SetCaption("項目");
        menu->Items()->Add(item);
    }
    menus[0]->OnPopup = [&](Component*) {
        log.push_back("left menu");
        CloseMenuWhenOpen();
    };
    menus[1]->OnPopup = [&](Component*) {
        log.push_back("right menu");
        CloseMenuWhenOpen();
    };
    tray->SetPopupMenuL(menus[0]);
    tray->SetPopupMenuR(menus[1]);

    const struct {
        LPARAM message;
        std::vector<std::string> expected;
    } kCases[] = {
        {WM_LBUTTONDOWN, {"down", "left menu"}},
        {WM_RBUTTONDOWN, {"down", "right menu"}},
        {WM_MBUTTONDOWN, {"down"}},
        {WM_LBUTTONUP, {}},
        {WM_RBUTTONUP, {}},
        {WM_LBUTTONDBLCLK, {}},
    };
    for (const auto& c : kCases) {
        log.clear();
        Notify(tray, c.message);
        EXPECT_EQ(log, c.expected) << std::hex << c.message;
    }
    application->ProcessMessages();
}

// --- The shell starting again, and the message window going ------------------------------

TEST_F(TaskTrayTest, ARestartedTaskbarGetsTheWantedIconsBack)
{
    auto* shown = ShownTray(form_);
    new TaskTray(form_);   // hidden: stays out
    auto* wanted = new TaskTray(form_);
    GiveIcon(wanted);
    shell_.Refuse({NIM_ADD});
    EXPECT_THROW(wanted->SetRegistered(true), InvalidOperation);
    shell_.Refuse({});
    Calls().clear();

    SendMessageA(application->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls()[0].id, static_cast<UINT>(shown->IconID()));
    EXPECT_EQ(Calls()[0].window, window_);
    EXPECT_EQ(Calls()[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls()[1].id, static_cast<UINT>(wanted->IconID()));

    delete shown;
    delete wanted;
    Calls().clear();
    SendMessageA(application->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Calls().empty()) << "destroyed components no longer listen";
}

TEST_F(TaskTrayTest, IconsOfAnotherOwnerMoveToANewWindowWhenTheFirstOwnerGoes)
{
    auto* firstOwner = new Form(application, kOwnerForm);
    ShownTray(firstOwner);
    HWND oldWindow = window_;
    auto* survivor = ShownTray(form_);
    ASSERT_EQ(window_, oldWindow) << "one message window serves every component";

    delete firstOwner;
    application->ProcessMessages();
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls()[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(Calls()[1].id, static_cast<UINT>(survivor->IconID()));
    EXPECT_EQ(Calls()[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls()[2].id, static_cast<UINT>(survivor->IconID()));
    window_ = Calls()[2].window;
    EXPECT_EQ(GetParent(window_), form_->Handle());

    int downs = 0;
    survivor->OnMouseDown = [&](Component*, MouseButton, ShiftState, int, int) { ++downs; };
    Notify(survivor, WM_MBUTTONDOWN);
    EXPECT_EQ(downs, 1);
}

}   // namespace
