#include "menu_test_support.h"

#include "framework/form.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

struct ModalAction::Watch {
    enum class Phase { Waiting, Acted, Done };

    std::string what;
    std::function<bool()> ready;
    std::function<void()> act;
    std::function<void()> end;
    // Whether the loop is over once `act` ran; null while an object in the test's scope
    // decides that.
    std::function<bool()> finished;
    Phase phase = Phase::Waiting;
    DWORD since = GetTickCount();
};

namespace {

using Watch = ModalAction::Watch;
using Phase = Watch::Phase;

std::vector<std::shared_ptr<Watch>> g_watches;
UINT_PTR g_timer = 0;
HHOOK g_hook = nullptr;
// How often the timer looks; Wine does not go below 10 ms.
constexpr UINT kPollMs = 10;

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32768") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The test's code runs inside the platform's message dispatch: nothing may leave it.
template <typename Function>
auto Guarded(const Watch& watch, const char* part, Function&& function) -> decltype(function())
{
    try {
        return function();
    } catch (const std::exception& e) {
        ADD_FAILURE() << part << " for " << watch.what << " raised: " << e.what();
    } catch (...) {
        ADD_FAILURE() << part << " for " << watch.what << " raised an exception";
    }
    return decltype(function())();
}

void Stop(const std::shared_ptr<Watch>& watch)
{
    g_watches.erase(std::remove(g_watches.begin(), g_watches.end(), watch), g_watches.end());
    if (g_watches.empty()) {
        if (g_timer) {
            KillTimer(nullptr, std::exchange(g_timer, 0));
        }
        if (g_hook) {
            UnhookWindowsHookEx(std::exchange(g_hook, nullptr));
        }
    }
}

void GiveUp(Watch& watch)
{
    watch.phase = Phase::Done;
    if (watch.end) {
        Guarded(watch, "ending the loop", watch.end);
    }
}

// Moves every watch on as far as the state allows.
void Advance()
{
    const std::vector<std::shared_ptr<Watch>> watches = g_watches;   // `act` may add or stop some
    for (const std::shared_ptr<Watch>& watch : watches) {
        const DWORD waited = GetTickCount() - watch->since;
        if (watch->phase == Phase::Waiting) {
            if (Guarded(*watch, "the wait", watch->ready)) {
                watch->phase = Phase::Acted;
                watch->since = GetTickCount();
                Guarded(*watch, "the action", watch->act);
            } else if (waited >= kModalWaitMs) {
                ADD_FAILURE() << watch->what << " was not there within " << kModalWaitMs << " ms";
                GiveUp(*watch);
            }
        } else if (watch->phase == Phase::Acted) {
            if (watch->finished && Guarded(*watch, "the wait", watch->finished)) {
                watch->phase = Phase::Done;
            } else if (waited >= kModalWaitMs) {
                ADD_FAILURE() << watch->what << " still ran " << kModalWaitMs << " ms after the test acted";
                GiveUp(*watch);
            }
        }
        if (watch->phase == Phase::Done && watch->finished) {
            Stop(watch);
        }
    }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Advance();
}

// A pop-up menu's window has just shown. The test acts then rather than at the next tick:
// the platform may end a menu of its own accord soon after (under Wine, a late change of the
// X keyboard focus does), before a tick would see it.
LRESULT CALLBACK SeeWindowShown(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(sent->lParam)->flags & SWP_SHOWWINDOW)) {
        char className[16] = "";
        GetClassNameA(sent->hwnd, className, sizeof className);
        if (lstrcmpA(className, "#32768") == 0) {
            Advance();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Start(const std::shared_ptr<Watch>& watch)
{
    g_watches.push_back(watch);
    if (!g_timer) {
        g_timer = SetTimer(nullptr, 0, kPollMs, Tick);
    }
    if (!g_hook) {
        g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, SeeWindowShown, nullptr, GetCurrentThreadId());
    }
}

class ModalLoopChecker : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override
    {
        const std::vector<std::shared_ptr<Watch>> left = g_watches;
        for (const std::shared_ptr<Watch>& watch : left) {
            if (watch->phase == Phase::Waiting) {
                ADD_FAILURE() << watch->what << " never came";
            } else if (watch->phase == Phase::Acted && watch->finished && !watch->finished()) {
                ADD_FAILURE() << watch->what << " is still there at the end of the test";
            }
            Stop(watch);
        }
        if (HWND menu = OpenMenuWindow()) {
            ADD_FAILURE() << "a pop-up menu is still open at the end of the test";
            ShowWindow(menu, SW_HIDE);
        }
    }
};

}   // namespace

HWND OpenMenuWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CloseMenuWhenOpen(std::function<void(HWND menuWindow)> look)
{
    auto watch = std::make_shared<Watch>();
    watch->what = "the pop-up menu to close";
    watch->ready = [] { return OpenMenuWindow() != nullptr; };
    // The menu it closed, told apart from a menu that a later opening shows.
    auto closed = std::make_shared<HWND>(nullptr);
    watch->act = [look = std::move(look), closed] {
        *closed = OpenMenuWindow();
        struct EndAnyway {
            ~EndAnyway() { EndMenu(); }
        } end;   // also when the look fails
        if (look) {
            look(*closed);
        }
    };
    watch->end = [] { EndMenu(); };
    watch->finished = [closed] { return !IsWindow(*closed) || !IsWindowVisible(*closed); };
    Start(watch);
}

ModalAction::ModalAction(std::string what, std::function<bool()> ready, std::function<void()> act,
                         std::function<void()> end)
    : watch_(std::make_shared<Watch>())
{
    watch_->what = std::move(what);
    watch_->ready = std::move(ready);
    watch_->act = std::move(act);
    watch_->end = std::move(end);
    Start(watch_);
}

ModalAction::ModalAction(Form& form, std::function<void()> act)
    : ModalAction(
          "the modal form", [&form] { return form.Visible(); }, std::move(act), [&form] { form.Close(); })
{
}

ModalAction::~ModalAction()
{
    if (watch_->phase == Phase::Waiting) {
        ADD_FAILURE() << watch_->what << " never came, so the test never acted in it";
    }
    Stop(watch_);
}

testing::TestEventListener* NewModalLoopChecker()
{
    return new ModalLoopChecker;
}
