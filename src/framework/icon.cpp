#include "framework/icon.h"

#include <shlobj.h>

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

UniqueIcon ExtractIconOfSize(const std::string& file, int position, int size)
{
    // The size of the first icon asked for in the low word, of the second in the high word:
    // only the first is taken.
    HICON icon = nullptr;
    const UINT sizes = MAKELONG(size, size);
    if (SHDefExtractIconA(file.c_str(), position, 0, &icon, nullptr, sizes) != S_OK) {
        return UniqueIcon();
    }
    return UniqueIcon(icon);
}
