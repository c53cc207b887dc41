// Mouse buttons, the shift state and the mouse event handlers that components share.
#pragma once

#include <functional>

class Component;

enum MouseButton { mbLeft, mbRight, mbMiddle };

// The modifier keys and mouse buttons held during a mouse event, as a set of flags.
enum ShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using ShiftState = unsigned;   // a combination of ShiftStateFlag values; 0 is the empty set

// x and y are in the coordinates the firing component documents.
using MouseButtonEvent =
    std::function<void(Component* sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component* sender, ShiftState shift, int x, int y)>;
