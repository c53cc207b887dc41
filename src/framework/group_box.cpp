#include "framework/group_box.h"

#include "framework/form.h"

Component* GroupBox::Create(const ControlContext& context)
{
    // A control parent: Tab and Shift+Tab walk into its children as into the form's.
    return new GroupBox(
        &context.form,
        CreationFor(context, "BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT),
        context.form.Definition().colorIndex);
}

GroupBox::GroupBox(Component* owner, const ControlCreation& creation, int backgroundIndex)
    : Control(owner), backgroundIndex_(backgroundIndex)
{
    CreateHandle(creation);
    Subclass();
}

LRESULT GroupBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result)) {
        return result;
    }
    // The button class leaves a group's inside unpainted: it is the form's colour here.
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(backgroundIndex_));
        return 1;
    }
    return DefaultHandler(message, wParam, lParam);
}
