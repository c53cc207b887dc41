#include "triggers/mouse_chord.h"

#include "base/scope_exit.h"
#include "triggers/hook_functions.h"

PhysicalToLogicalPointFunction SystemPhysicalToLogicalPoint()
{
    // From the user32 that is loaded already: never a library looked up by its bare name.
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) {
        return nullptr;
    }
    return reinterpret_cast<PhysicalToLogicalPointFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "PhysicalToLogicalPointForPerMonitorDPI")));
}

void MouseChord(WPARAM wParam, bool& ready, const ChordMenu& menu)
{
    MSG record{};
    HookLibrary().getMessage(&record, wParam);
    if (!ready || wParam == 0) {
        return;
    }
    // However the menu ends: a chord must never stay locked out because a handler behind the
    // menu raised an error.
    ready = false;
    const ScopeExit readyAgain([&ready] { ready = true; });

    // The record's point is where the chord was made, in the hook's physical pixels; lParam's
    // offset from the foreground window cannot carry every point (the foreground window can be
    // anywhere, and the offset's halves cannot have opposite signs).
    POINT point = record.pt;
    POINT logical = point;
    if (!menu.perMonitorAware && menu.toLogical && menu.toLogical(menu.owner, &logical)) {
        point = logical;
    }
    SetForegroundWindow(menu.owner);
    menu.open(point);
}
