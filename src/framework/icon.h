// An icon image that owns its handle and signals every change of its image.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <functional>
#include <string>

class Icon {
public:
    Icon() = default;
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;

    HICON Handle() const { return handle_.Get(); }
    bool Empty() const { return !handle_; }

    // Takes ownership of the icon handle.
    void SetHandle(HICON icon);
    // Makes this image a copy of the other's; an empty other empties this one.
    void Assign(const Icon& other);
    // Lets the image go, then sets the handle to none: two changes, two notifications.
    void Clear();

    std::function<void()> OnChange;

private:
    void Changed()
    {
        if (OnChange) {
            OnChange();
        }
    }

    UniqueIcon handle_;   // owned
};

// The icon at `position` among the icon groups of a file (as ExtractIconEx counts them), drawn
// from the file's image nearest `size` x `size` pixels; null when there is none.
UniqueIcon ExtractIconOfSize(const std::string& file, int position, int size);
