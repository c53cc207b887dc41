// Links a child control's window to the component that made it, so that the form can hand
// the control's notifications back. Only windows linked here are taken for components.
#pragma once

#include <windows.h>

class Component;

void LinkControl(HWND window, Component* component);
// Undoes LinkControl; call before the component goes.
void UnlinkControl(HWND window);
// The linked component, or null for a window that is not one of ours.
Component* ControlComponent(HWND window);
