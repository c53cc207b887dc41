// Registration of the paths dropped on the drop window (WM_DROPFILES): each becomes a
// launcher item, saved and shown at once.
#pragma once

#include "framework/handles.h"
#include "triggers/drop_entry.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

// Owns a drop handle: DragFinish releases it however the handler ends.
using UniqueDrop = UniqueHandle<HDROP, NullInvalidTraits<HDROP, ::DragFinish>>;

// Where dropped paths go. Kept abstract so that this layer knows nothing of the launcher.
class DropRegistry {
public:
    // Appends the entry as an item at the end of the launcher list's top level.
    virtual void AddEntry(const DropEntry& entry) = 0;
    // Shows the registration message of the drop window.
    virtual void ShowMessage(const std::string& text) = 0;
    // Writes the list and rebuilds the launcher submenu; throws Error when the file cannot
    // be written.
    virtual void Save() = 0;

protected:
    ~DropRegistry() = default;
};

// Registers every path of the drop in the order the shell gives them: the entry is added, the
// message shown and the list saved, path by path. A path is read whole, as UTF-16; one that
// the ANSI code page cannot hold is registered by its short (8.3) path, and one without a
// short path is left out with kUnregistrableMessage. A save that fails does not stop the drop:
// every path still reaches the list, and when the drop ends with the list unsaved the last
// save's error is raised once, after the handle has been released.
void RegisterDrop(UniqueDrop drop, DropRegistry& registry);
