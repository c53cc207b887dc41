// Tells a right+left mouse chord from the stream of button presses and releases, and which
// of those events the hook withholds from the window under the pointer.
#pragma once

enum class MouseButton { kLeft, kRight };

struct ChordStep {
    bool swallow = false;   // the event must not reach the window under the pointer
    bool chord = false;     // this press completed a new chord
};

// Which clicks still reach the application the chord was made over:
//
// - The first press of a chord always passes. When it happens nothing says a chord will
//   follow, and holding back every single click until the other button might come would
//   delay or break ordinary clicking.
// - The second press (a button pressed while the other is down) is swallowed, and so is
//   that button's release. Passed on, it would give the application a click of its own:
//   a left click under the pointer may press a button or select something while our menu
//   opens. Its press and release are withheld together, so the application (and the system's
//   button state) never sees half of that click.
// - The release of the first button always passes. Its press was delivered, so withholding
//   the release would leave the application, and the system's idea of that button, stuck
//   down: drags that never end and the next real press arriving as a second "down". The
//   application therefore sees one plain click of the first button. In practice the
//   release comes after the chord's menu has opened and holds the mouse, so the
//   application sees its capture end (the normal way a click is cancelled) rather than
//   a completed click.
// - A chord counts once: further presses while either button is still down are part of
//   the same chord. They are swallowed (with their releases) and fire nothing; only when
//   both buttons are up can the next chord begin.
//
// Each button remembers whether its press was passed or swallowed, and its release follows
// the same way, so every button the application sees go down also goes up. A release of a
// button not known to be down (pressed before the hook was installed) passes.
class ChordDetector {
public:
    ChordStep Press(MouseButton button) noexcept
    {
        ChordStep step;
        if (state_[Other(button)] != State::kUp) {
            step.swallow = true;
            step.chord = !latched_;
            latched_ = true;
            state_[Index(button)] = State::kDownSwallowed;
        } else {
            state_[Index(button)] = State::kDownPassed;
        }
        return step;
    }

    ChordStep Release(MouseButton button) noexcept
    {
        ChordStep step;
        step.swallow = state_[Index(button)] == State::kDownSwallowed;
        state_[Index(button)] = State::kUp;
        if (state_[0] == State::kUp && state_[1] == State::kUp) {
            latched_ = false;
        }
        return step;
    }

private:
    enum class State : unsigned char { kUp, kDownPassed, kDownSwallowed };

    static int Index(MouseButton button) noexcept { return button == MouseButton::kLeft ? 0 : 1; }
    static int Other(MouseButton button) noexcept { return 1 - Index(button); }

    State state_[2] = {State::kUp, State::kUp};
    bool latched_ = false;   // a chord fired and not both buttons have been released since
};
