#include "framework/icon.h"

void Icon::SetHandle(HICON icon)
{
    handle_.Reset(icon);
    Changed();
}

void Icon::Assign(const Icon& other)
{
    if (&other == this) {
        return;
    }
    if (other.Empty()) {
        Clear();
        return;
    }
    SetHandle(CopyIcon(other.Handle()));
}

void Icon::Clear()
{
    handle_.Reset();
    Changed();   // the image is gone
    Changed();   // and the handle is none
}
