#include "framework/control_link.h"

namespace {
constexpr char kProperty[] = "Mivtra.Component";
}

void LinkControl(HWND window, Component* component)
{
    SetPropA(window, kProperty, component);
}

Component* ControlComponent(HWND window)
{
    return window ? static_cast<Component*>(GetPropA(window, kProperty)) : nullptr;
}

void UnlinkControl(HWND window)
{
    if (window && IsWindow(window))
        RemovePropA(window, kProperty);
}
