// Between the hook's view of mouse input and the filter's: low-level events in as MouseEvents,
// replayed MouseEvents out as injected input that the hook knows again.
#pragma once

#include <windows.h>

#include "hook/chord_filter.h"

// One of our own replays coming back through the hook: it passes untouched.
bool IsReplay(const MSLLHOOKSTRUCT& info);

MouseEvent EventFromHook(WPARAM message, const MSLLHOOKSTRUCT& info);

// Injects the events in order: a move to its own screen point, a button or the wheel where the
// moves before it left the pointer. Returns how many the system took.
UINT InjectReplays(const ReplayList& events);
