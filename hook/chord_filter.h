// Decides, event by event, what the mouse hook does with the desktop's mouse input: pass it on,
// withhold it, hold it back for a moment and replay it, or take it as part of a right+left
// chord. Portable: the hook feeds it events and carries out what it asks for.
#pragma once

#include "hook/fixed_list.h"

#include <cstdint>

enum class MouseEventKind : unsigned char { kMove, kLeftDown, kLeftUp, kRightDown, kRightUp, kOther };

// One mouse event as the filter keeps it. message and data are what the caller needs to replay
// the event (for the hook: the message number and the mouseData); the filter never looks at them.
struct MouseEvent {
    MouseEventKind kind = MouseEventKind::kMove;
    int x = 0;   // screen point
    int y = 0;
    std::uint32_t time = 0;   // the event's own time stamp, in milliseconds
    std::uint32_t message = 0;
    std::uint32_t data = 0;
};

// Where and when the press that made a chord happened.
struct ChordPoint {
    int x = 0;
    int y = 0;
    std::uint32_t time = 0;
};

struct ChordFilterSettings {
    // How long a right press waits for the left one before it goes on as an ordinary press; a
    // left press first makes a chord with a right press only within the same time.
    std::uint32_t holdMilliseconds = 300;
    // How far the pointer may move from a held right press before it counts as a right drag,
    // and how near a left press a right press must be to make a chord with it (the system's
    // drag distance: pixels on either side of the press point).
    int dragWidth = 4;
    int dragHeight = 4;
    // When replayed events stop coming back through the hook for this long, the rest never
    // will (another program's hook or the system dropped them): input then passes directly
    // again.
    std::uint32_t replayLostMilliseconds = 500;
};

// What the caller replays and reports after each round of events. Plenty for the few
// milliseconds between two rounds; when the replays fill up, further input that would only
// queue behind them passes directly instead.
using ReplayList = FixedList<MouseEvent, 64>;
using ChordList = FixedList<ChordPoint, 8>;

// The rules:
//
// - A right press, with the left button up, is held back. If the left press joins while it
//   is held, that is the chord: both presses are withheld, and so are both releases, so the
//   program under the pointer sees nothing of it (no context menu of its own). Otherwise the
//   held press is replayed, in its place in the input, when its release comes (a right
//   click), when the pointer moves beyond the drag distance (a right drag), when any other
//   mouse event comes, or when the hold time runs out (a long right press).
// - A left press first makes the chord with a right press that comes within the hold time and
//   the drag distance of it: the left press has already gone to the program, so its release
//   goes too; the right press and its release are withheld. A press that comes later, or
//   after the pointer has moved on, is not a chord: the two buttons are used one after the
//   other (a right press to cancel a left drag, say) and both go to the program.
// - The chord is reported once both buttons are up, so that the menu it opens starts with
//   no button held. Further presses while either button is still down belong to the same
//   chord and are withheld with their releases.
// - A press of a button that is down as far as the filter knows means that its release never
//   came: the system dropped it (Wine drops the release of a click that closed a menu; Windows
//   drops what comes while it has taken the hook away). The button counts as up again, and a
//   chord waiting for that release ends without a report.
// - Replayed events come back through the hook and must pass untouched (ReplayArrived). Until
//   they are all back, every event that would pass is withheld and replayed after them, so
//   nothing overtakes the replay.
//
// Times are millisecond tick counts that may wrap; only differences are used. Whether a further
// event came within the hold time is judged by the events' own time stamps; without one, the
// hold ends on the caller's clock (Tick).
class ChordFilter {
public:
    explicit ChordFilter(ChordFilterSettings settings = {}) : settings_(settings) {}

    // A mouse event that is not one of our replays. True: withhold it.
    bool Handle(const MouseEvent& event, std::uint32_t now);

    // One replayed event came back through the hook (it passes).
    void ReplayArrived(std::uint32_t now);

    // Replayed events the system refused: they will not come back.
    void ReplaysRefused(unsigned count);

    // Lets time pass on the caller's clock: a held press whose hold time is over is replayed.
    void Tick(std::uint32_t now);

    // Milliseconds from now until Tick has something to do, or kNoDeadline.
    static constexpr std::uint32_t kNoDeadline = 0xFFFFFFFFu;
    std::uint32_t MillisecondsToDeadline(std::uint32_t now) const;

    // The hook goes away: whatever is held is to be replayed.
    void ReleaseAll();

    // What the caller must do now, in this order: replay these events, then report these
    // chords. Each call hands over what has gathered since the last one.
    ReplayList TakeReplays();
    ChordList TakeChords();

private:
    enum class Button : unsigned char {
        kUp,
        kHeld,        // the right press, held back
        kPassed,      // down, and the program saw the press
        kSwallowed,   // down, and the press was withheld: the release is withheld too
    };

    void ForgetLostReplays();
    bool Decide(const MouseEvent& event);
    bool Press(Button& self, const Button& other, const MouseEvent& event);
    bool Release(Button& self, const MouseEvent& event);
    void ForgetRelease(Button& self);
    bool Together(const ChordPoint& first, const ChordPoint& second) const;
    ChordPoint PressPoint(const MouseEvent& press) const;
    void JoinChord(const MouseEvent& event);
    void ReplayHeld(const MouseEvent* current);
    void Replay(const MouseEvent& event);
    bool QueueBehindReplays(const MouseEvent& event);
    bool WithinDragDistance(int x0, int y0, int x1, int y1) const;

    ChordFilterSettings settings_;
    std::uint32_t now_ = 0;
    Button left_ = Button::kUp;
    Button right_ = Button::kUp;
    ChordPoint leftPress_;   // where and when each button went down
    ChordPoint rightPress_;
    MouseEvent heldPress_;
    std::uint32_t heldSince_ = 0;   // on the caller's clock, which need not be the events'
    MouseEvent heldMove_;           // the latest move within the drag distance while the press is held
    bool hasHeldMove_ = false;
    bool chordOpen_ = false;   // a chord was made and not both buttons are up since
    ChordPoint chordPoint_;
    unsigned inFlight_ = 0;   // replayed events not yet back through the hook
    // The last move replayed, while the pointer may not have got there yet.
    ChordPoint pendingMove_;
    bool hasPendingMove_ = false;
    std::uint32_t lastProgress_ = 0;   // when the replays started, or the latest came back
    ReplayList replays_;
    ChordList chords_;
};
