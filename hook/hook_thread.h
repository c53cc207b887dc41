// The thread that runs HOOK.DLL's low-level mouse hook. The system calls a low-level hook in the
// thread that installed it and holds every mouse event on the desktop until the hook returns;
// on a thread of its own, with a message loop that does nothing else, the mouse never waits for
// the program's user-interface thread, which makes blocking shell calls.
#pragma once

#include <windows.h>

#include "hook/chord_filter.h"

// Called on the hook thread for every chord, once both its buttons are up.
using ChordSink = void (*)(const ChordPoint& chord);

// Starts the thread and waits until it has installed the hook. False: the hook could not be
// installed, and no thread runs. Called from one thread at a time, as are the two below.
bool StartHookThread(HINSTANCE library, ChordSink sink);

// Stops the thread: the hook goes, a held press is replayed, and the call returns when the
// thread has ended. Never from DllMain: the ending thread needs the loader lock.
void StopHookThread();

bool HookThreadRunning();
