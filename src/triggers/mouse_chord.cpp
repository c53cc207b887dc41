#include "triggers/mouse_chord.h"

#include "triggers/hook_functions.h"

namespace {

// Sets the flag back however the menu ends: a chord must never stay locked out because a
// handler behind the menu raised an error.
class ReadyAgain {
public:
    explicit ReadyAgain(bool& ready) : ready_(ready) { ready_ = false; }
    ~ReadyAgain() { ready_ = true; }
    ReadyAgain(const ReadyAgain&) = delete;
    ReadyAgain& operator=(const ReadyAgain&) = delete;

private:
    bool& ready_;
};

}   // namespace

PhysicalToLogicalPointFunction SystemPhysicalToLogicalPoint()
{
    // From the user32 that is loaded already: never a library looked up by its bare name.
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32)
        return nullptr;
    return reinterpret_cast<PhysicalToLogicalPointFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "PhysicalToLogicalPointForPerMonitorDPI")));
}

void MouseChord(WPARAM wParam, bool& ready, const ChordMenu& menu)
{
    MSG record{};
    HookLibrary().getMessage(&record, wParam);
    if (!ready || wParam == 0)
        return;
    ReadyAgain again(ready);

    // The record's point is where the chord was made, in the hook's physical pixels; lParam's
    // offset from the foreground window cannot carry every point (the foreground window can be
    // anywhere, and the offset's halves cannot have opposite signs).
    POINT point = record.pt;
    POINT logical = point;
    if (menu.toLogical && menu.toLogical(menu.owner, &logical))
        point = logical;
    SetForegroundWindow(menu.owner);
    menu.open(point);
}
