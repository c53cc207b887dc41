#include "hook/chord_filter.h"

bool ChordFilter::Handle(const MouseEvent& event, std::uint32_t now)
{
    now_ = now;
    // Whether the hold is over is judged by the events' own time stamps: an event that reaches
    // the hook late (a busy system) still counts from when it happened. A time stamp that goes
    // backwards leaves the decision to the clock.
    const auto sincePress = static_cast<std::int32_t>(event.time - heldPress_.time);
    if (right_ == Button::kHeld && sincePress >= static_cast<std::int32_t>(settings_.holdMilliseconds)) {
        ReplayHeld(nullptr);
    }
    ForgetLostReplays();
    // A button reaches the hook at the point where the pointer stood when it was pressed. Once
    // that is where the replayed moves went, the pointer has caught up with them.
    if (hasPendingMove_ && event.kind != MouseEventKind::kMove && event.x == pendingMove_.x &&
        event.y == pendingMove_.y) {
        hasPendingMove_ = false;
    }
    if (Decide(event)) {
        return true;
    }
    if (inFlight_ > 0 && QueueBehindReplays(event)) {
        return true;
    }
    // A move that goes straight through takes the pointer with it.
    if (event.kind == MouseEventKind::kMove) {
        hasPendingMove_ = false;
    }
    return false;
}

void ChordFilter::ReplayArrived(std::uint32_t now)
{
    if (inFlight_ > 0) {
        --inFlight_;
        lastProgress_ = now;
    }
}

void ChordFilter::ReplaysRefused(unsigned count)
{
    inFlight_ = count < inFlight_ ? inFlight_ - count : 0;
}

void ChordFilter::Tick(std::uint32_t now)
{
    now_ = now;
    // Without a further event the hold ends on the caller's clock.
    if (right_ == Button::kHeld && now - heldSince_ >= settings_.holdMilliseconds) {
        ReplayHeld(nullptr);
    }
    ForgetLostReplays();
}

void ChordFilter::ForgetLostReplays()
{
    if (inFlight_ > 0 && now_ - lastProgress_ >= settings_.replayLostMilliseconds) {
        inFlight_ = 0;
    }
}

std::uint32_t ChordFilter::MillisecondsToDeadline(std::uint32_t now) const
{
    std::uint32_t wait = kNoDeadline;
    auto until = [&](std::uint32_t since, std::uint32_t span) {
        const std::uint32_t passed = now - since;
        const std::uint32_t left = passed >= span ? 0 : span - passed;
        wait = left < wait ? left : wait;
    };
    if (right_ == Button::kHeld) {
        until(heldSince_, settings_.holdMilliseconds);
    }
    if (inFlight_ > 0) {
        until(lastProgress_, settings_.replayLostMilliseconds);
    }
    return wait;
}

void ChordFilter::ReleaseAll()
{
    if (right_ == Button::kHeld) {
        ReplayHeld(nullptr);
    }
}

ReplayList ChordFilter::TakeReplays()
{
    const ReplayList taken = replays_;
    replays_.Clear();
    return taken;
}

ChordList ChordFilter::TakeChords()
{
    const ChordList taken = chords_;
    chords_.Clear();
    return taken;
}

bool ChordFilter::Decide(const MouseEvent& event)
{
    switch (event.kind) {
    case MouseEventKind::kLeftDown:
        return Press(left_, right_, event);
    case MouseEventKind::kRightDown:
        return Press(right_, left_, event);
    case MouseEventKind::kLeftUp:
        return Release(left_, event);
    case MouseEventKind::kRightUp:
        return Release(right_, event);
    case MouseEventKind::kMove:
        if (right_ != Button::kHeld) {
            return false;
        }
        if (!WithinDragDistance(heldPress_.x, heldPress_.y, event.x, event.y)) {
            ReplayHeld(&event);
        } else {
            heldMove_ = event;
            hasHeldMove_ = true;
        }
        return true;
    case MouseEventKind::kOther:
        break;
    }
    if (right_ == Button::kHeld) {
        ReplayHeld(&event);
        return true;
    }
    return false;
}

bool ChordFilter::Press(Button& self, const Button& other, const MouseEvent& event)
{
    if (right_ == Button::kHeld) {
        if (&self == &left_) {
            // The chord: the held right press is dropped along with the moves held with it.
            right_ = Button::kSwallowed;
            left_ = Button::kSwallowed;
            leftPress_ = PressPoint(event);
            hasHeldMove_ = false;
            JoinChord(event);
            return true;
        }
        // A second right press while one is held: its release went missing. Both go on.
        ReplayHeld(&event);
        return true;
    }
    if (self != Button::kUp) {
        ForgetRelease(self);
    }
    const ChordPoint press = PressPoint(event);
    (&self == &left_ ? leftPress_ : rightPress_) = press;
    const ChordPoint& otherPress = &self == &left_ ? rightPress_ : leftPress_;
    if (other != Button::kUp && (chordOpen_ || Together(otherPress, press))) {
        self = Button::kSwallowed;
        JoinChord(event);
        return true;
    }
    if (&self == &right_ && replays_.size() + 3 <= ReplayList::kCapacity) {
        right_ = Button::kHeld;
        heldPress_ = event;
        heldSince_ = now_;
        hasHeldMove_ = false;
        return true;
    }
    self = Button::kPassed;
    return false;
}

void ChordFilter::ForgetRelease(Button& self)
{
    self = Button::kUp;
    if (chordOpen_ && left_ == Button::kUp && right_ == Button::kUp) {
        chordOpen_ = false;   // its last release never came: no menu long after the chord
    }
}

// Pressed together: within the hold time and the drag distance of each other. Time stamps of
// events that reached the hook through different programs may disagree by a little in either
// direction.
bool ChordFilter::Together(const ChordPoint& first, const ChordPoint& second) const
{
    const auto apart = static_cast<std::int32_t>(second.time - first.time);
    const auto hold = static_cast<std::int32_t>(settings_.holdMilliseconds);
    return apart < hold && apart > -hold && WithinDragDistance(first.x, first.y, second.x, second.y);
}

// A press reaches the hook with the point where the pointer stands; moves withheld behind a
// replay have not taken it on yet, and the press belongs where they go.
ChordPoint ChordFilter::PressPoint(const MouseEvent& press) const
{
    return hasPendingMove_ ? ChordPoint{pendingMove_.x, pendingMove_.y, press.time}
                           : ChordPoint{press.x, press.y, press.time};
}

bool ChordFilter::Release(Button& self, const MouseEvent& event)
{
    if (right_ == Button::kHeld) {
        // A right click (or a left release whose press came before the hook): everything
        // held goes on, with this release after it.
        ReplayHeld(&event);
        self = Button::kUp;
        return true;
    }
    const bool swallow = self == Button::kSwallowed;
    self = Button::kUp;
    if (chordOpen_ && left_ == Button::kUp && right_ == Button::kUp) {
        chordOpen_ = false;
        chords_.Add(chordPoint_);   // a chord more than the list holds is lost
    }
    return swallow;
}

void ChordFilter::JoinChord(const MouseEvent& event)
{
    if (!chordOpen_) {
        chordOpen_ = true;
        chordPoint_ = PressPoint(event);
    }
}

void ChordFilter::ReplayHeld(const MouseEvent* current)
{
    Replay(heldPress_);
    // A move beyond the drag distance replaces the held one: it is where the pointer went.
    if (hasHeldMove_ && !(current && current->kind == MouseEventKind::kMove)) {
        Replay(heldMove_);
    }
    hasHeldMove_ = false;
    right_ = Button::kPassed;
    if (current) {
        Replay(*current);
    }
}

// A held press with what came after it: at most three events. A press is held only when there
// is room for them, and QueueBehindReplays leaves that room.
void ChordFilter::Replay(const MouseEvent& event)
{
    replays_.Add(event);
    // Input that keeps coming does not keep a lost replay waiting: the time runs from the
    // last sign of progress.
    if (inFlight_++ == 0) {
        lastProgress_ = now_;
    }
    if (event.kind == MouseEventKind::kMove) {
        pendingMove_ = ChordPoint{event.x, event.y, event.time};
        hasPendingMove_ = true;
    }
}

bool ChordFilter::QueueBehindReplays(const MouseEvent& event)
{
    if (replays_.size() + 3 >= ReplayList::kCapacity) {
        return false;
    }
    Replay(event);
    return true;
}

bool ChordFilter::WithinDragDistance(int x0, int y0, int x1, int y1) const
{
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    return dx <= settings_.dragWidth && -dx <= settings_.dragWidth && dy <= settings_.dragHeight &&
           -dy <= settings_.dragHeight;
}
