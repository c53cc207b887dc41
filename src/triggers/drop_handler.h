// The drop window's WM_DROPFILES: the dropped paths become items at the end of the launcher
// list, each saved at once, and the drop window's message line tells the last registration.
#pragma once

#include <windows.h>
#include <shellapi.h>

class Label;
class LaunchList;

// Releases the drop handle in every case; with no list or no message line nothing is
// registered. A save that fails is raised once the drop has ended (RegisterDrop).
void HandleDroppedFiles(HDROP drop, LaunchList* list, Label* message);
