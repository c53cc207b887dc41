// The live handles of this process, counted in a way that works under Wine too.
#pragma once

#include <windows.h>

#include <ostream>

// GetGuiResources is what Windows offers; Wine answers 0 there, so the handles are also
// counted by asking the platform about every possible handle value (Wine takes a handle
// without its generation bits for any generation).
struct HandleCounts {
    DWORD gdi;         // GetGuiResources
    DWORD user;        // GetGuiResources
    int gdiProbed;     // objects GetObjectType knows
    int menusProbed;   // handles IsMenu accepts
    int iconsProbed;   // handles GetIconInfo accepts

    bool operator==(const HandleCounts& other) const
    {
        return gdi == other.gdi && user == other.user && gdiProbed == other.gdiProbed &&
               menusProbed == other.menusProbed && iconsProbed == other.iconsProbed;
    }
    bool operator!=(const HandleCounts& other) const { return !(*this == other); }
};

inline std::ostream& operator<<(std::ostream& out, const HandleCounts& c)
{
    return out << "GetGuiResources GDI " << c.gdi << " USER " << c.user << "; probed: GDI objects "
               << c.gdiProbed << ", menus " << c.menusProbed << ", icons " << c.iconsProbed;
}

HandleCounts CountHandles();
