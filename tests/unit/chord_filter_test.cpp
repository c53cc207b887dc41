// The chord filter: which mouse events the hook withholds, holds back and replays, and when
// it reports a chord.
#include "hook/chord_filter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Kind = MouseEventKind;

MouseEvent At(Kind kind, int x, int y, std::uint32_t time = 0)
{
    MouseEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.time = time;
    return event;
}

// The replayed events as kind and point, to compare with what was held.
struct Replayed {
    Kind kind;
    int x, y;
    bool operator==(const Replayed& other) const
    {
        return kind == other.kind && x == other.x && y == other.y;
    }
};

std::vector<Replayed> Replays(ChordFilter& filter)
{
    std::vector<Replayed> out;
    for (const MouseEvent& event : filter.TakeReplays()) {
        out.push_back({event.kind, event.x, event.y});
    }
    return out;
}

void Arrive(ChordFilter& filter, int count, std::uint32_t now = 0)
{
    for (int i = 0; i < count; ++i) {
        filter.ReplayArrived(now);
    }
}

class ChordFilterTest : public testing::Test {
protected:
    ChordFilter filter_{ChordFilterSettings{300, 4, 4, 500}};
};

TEST_F(ChordFilterTest, RightThenLeftIsWithheldWholeAndReportedWhenBothAreUp)
{
    for (Kind lastUp : {Kind::kRightUp, Kind::kLeftUp}) {
        const Kind firstUp = lastUp == Kind::kRightUp ? Kind::kLeftUp : Kind::kRightUp;
        EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 100, 100, 7), 1000));
        EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 102, 101), 1010)) << "held with the press";
        EXPECT_TRUE(filter_.Handle(At(Kind::kLeftDown, 102, 101, 42), 1050));
        EXPECT_TRUE(filter_.Handle(At(firstUp, 102, 101), 1100));
        EXPECT_TRUE(filter_.TakeChords().empty()) << "not while a button is down";
        EXPECT_TRUE(filter_.Handle(At(lastUp, 102, 101), 1150));

        const ChordList chords = filter_.TakeChords();
        ASSERT_EQ(chords.size(), 1u);
        EXPECT_EQ(chords[0].x, 102);
        EXPECT_EQ(chords[0].y, 101);
        EXPECT_EQ(chords[0].time, 42u) << "the time of the press that made it";
        EXPECT_TRUE(Replays(filter_).empty()) << "nothing of the chord is replayed";
        EXPECT_EQ(filter_.MillisecondsToDeadline(2000), ChordFilter::kNoDeadline);
        EXPECT_FALSE(filter_.Handle(At(Kind::kMove, 300, 300), 2000));
    }
}

// Moves withheld behind a replay have not moved the pointer yet, so the press that makes the
// next chord reaches the hook at the old point: the chord is where those moves went.
TEST_F(ChordFilterTest, AChordBehindWithheldMovesIsWhereTheyWent)
{
    for (Kind first : {Kind::kRightDown, Kind::kLeftDown}) {
        ChordFilter filter(ChordFilterSettings{300, 4, 4, 500});
        EXPECT_TRUE(filter.Handle(At(Kind::kRightDown, 100, 100), 0));
        EXPECT_TRUE(filter.Handle(At(Kind::kMove, 150, 100), 10)) << "a right drag: press and move replayed";
        EXPECT_TRUE(filter.Handle(At(Kind::kRightUp, 150, 100), 20));
        EXPECT_TRUE(filter.Handle(At(Kind::kMove, 300, 250), 30)) << "behind the replays";
        // The first press reaches the hook at the old point, the second where the moves went.
        const Kind second = first == Kind::kRightDown ? Kind::kLeftDown : Kind::kRightDown;
        filter.Handle(At(first, 150, 100), 40);
        filter.Handle(
            At(second, first == Kind::kRightDown ? 150 : 300, first == Kind::kRightDown ? 100 : 250), 50);
        filter.Handle(At(Kind::kLeftUp, 300, 250), 60);
        filter.Handle(At(Kind::kRightUp, 300, 250), 70);
        const ChordList chords = filter.TakeChords();
        ASSERT_EQ(chords.size(), 1u) << (first == Kind::kLeftDown ? "left first" : "right first");
        EXPECT_EQ(chords[0].x, 300);
        EXPECT_EQ(chords[0].y, 250);
    }
}

TEST_F(ChordFilterTest, RightClickIsReplayedInItsOrderAtTheRelease)
{
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 100, 100), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 101, 99), 10));
    EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 103, 97), 20));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 103, 97), 90));
    EXPECT_EQ(Replays(filter_),
              (std::vector<Replayed>{
                  {Kind::kRightDown, 100, 100}, {Kind::kMove, 103, 97}, {Kind::kRightUp, 103, 97}}));
    EXPECT_TRUE(filter_.TakeChords().empty());

    // Until the replay has come back through the hook, later input queues behind it.
    EXPECT_TRUE(filter_.Handle(At(Kind::kLeftDown, 103, 97), 95));
    Arrive(filter_, 3);
    EXPECT_EQ(Replays(filter_), (std::vector<Replayed>{{Kind::kLeftDown, 103, 97}}));
    Arrive(filter_, 1);
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftUp, 103, 97), 100)) << "all back: input passes again";
    EXPECT_TRUE(filter_.TakeChords().empty()) << "a right click, then a left one: no chord";
}

TEST_F(ChordFilterTest, RightDragGoesOnWhenThePointerLeavesTheDragDistance)
{
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 100, 100), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 104, 96), 10)) << "4 pixels: still within";
    EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 100, 105), 20));
    EXPECT_EQ(Replays(filter_),
              (std::vector<Replayed>{{Kind::kRightDown, 100, 100}, {Kind::kMove, 100, 105}}));
    Arrive(filter_, 2);
    EXPECT_FALSE(filter_.Handle(At(Kind::kMove, 120, 130), 30));
    EXPECT_FALSE(filter_.Handle(At(Kind::kRightUp, 120, 130), 40)) << "its press went on, so does this";
    EXPECT_EQ(filter_.MillisecondsToDeadline(40), ChordFilter::kNoDeadline);
}

TEST_F(ChordFilterTest, APressHeldPastTheHoldTimeGoesOnAndALaterLeftPressIsNoChord)
{
    const std::uint32_t start = 0xFFFFFF00u;   // the tick count wraps during the hold
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 50, 60, start), start));
    EXPECT_EQ(filter_.MillisecondsToDeadline(start + 100), 200u);
    filter_.Tick(start + 299);
    EXPECT_TRUE(Replays(filter_).empty());
    filter_.Tick(start + 300);
    EXPECT_EQ(Replays(filter_), (std::vector<Replayed>{{Kind::kRightDown, 50, 60}}));
    Arrive(filter_, 1);

    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftDown, 50, 60, start + 400), start + 400)) << "not together";
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftUp, 50, 60, start + 450), start + 450));
    EXPECT_FALSE(filter_.Handle(At(Kind::kRightUp, 50, 60, start + 500), start + 500));
    EXPECT_TRUE(filter_.TakeChords().empty());
}

// A left press makes a chord with a right press only when the two come together: within the
// hold time and the drag distance. Otherwise both buttons go to the program, one after the
// other (a right press that cancels a left drag).
TEST_F(ChordFilterTest, ALeftPressFirstMakesAChordOnlyWithARightPressTogetherWithIt)
{
    struct Row {
        const char* what;
        std::uint32_t rightTime;
        int rightX;
        bool chord;
    } rows[] = {
        {"50 ms later, same point", 1050, 10, true},
        {"299 ms later, 4 pixels off", 1299, 14, true},
        {"300 ms later", 1300, 10, false},
        {"a left drag beyond the drag distance", 1050, 15, false},
        {"a time stamp 200 ms behind (another program's clock)", 800, 10, true},
    };
    for (const Row& row : rows) {
        ChordFilter filter(ChordFilterSettings{300, 4, 4, 500});
        EXPECT_FALSE(filter.Handle(At(Kind::kLeftDown, 10, 10, 1000), 0));
        EXPECT_TRUE(filter.Handle(At(Kind::kRightDown, row.rightX, 10, row.rightTime), 10)) << row.what;
        if (row.chord) {
            EXPECT_TRUE(filter.Handle(At(Kind::kRightUp, row.rightX, 10), 20)) << row.what;
            EXPECT_FALSE(filter.Handle(At(Kind::kLeftUp, row.rightX, 10), 30)) << row.what;
            EXPECT_EQ(filter.TakeChords().size(), 1u) << row.what;
            EXPECT_TRUE(Replays(filter).empty()) << row.what;
        } else {
            EXPECT_TRUE(filter.Handle(At(Kind::kRightUp, row.rightX, 10), 20)) << row.what;
            EXPECT_EQ(Replays(filter), (std::vector<Replayed>{{Kind::kRightDown, row.rightX, 10},
                                                              {Kind::kRightUp, row.rightX, 10}}))
                << row.what << ": held and replayed as a plain right click";
            EXPECT_TRUE(filter.TakeChords().empty()) << row.what;
        }
    }
}

// Releases the system never delivers: Wine drops the release of a click that closed a menu,
// and Windows drops what comes while it has taken the hook away. The next click must still
// reach the program, and no menu may open long after.
TEST_F(ChordFilterTest, AReleaseThatNeverCameLeavesNoButtonDown)
{
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftDown, 400, 600, 1000), 0)) << "closes a menu; no release";
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 978, 249, 2000), 10)) << "held as any right press";
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 978, 249, 2010), 20));
    EXPECT_EQ(Replays(filter_),
              (std::vector<Replayed>{{Kind::kRightDown, 978, 249}, {Kind::kRightUp, 978, 249}}))
        << "a right click, not half of a chord";
    Arrive(filter_, 2);
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftDown, 1014, 690, 3000), 30)) << "a press on the tray icon";
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftUp, 1014, 690, 3010), 40));
    EXPECT_TRUE(filter_.TakeChords().empty());

    // A chord whose last release never came ends without a report when that button is pressed
    // again; the new press is a press of its own.
    for (Kind kind : {Kind::kRightDown, Kind::kLeftDown, Kind::kRightUp}) {
        EXPECT_TRUE(filter_.Handle(At(kind, 50, 50, 4000), 50));
    }
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftDown, 60, 60, 5000), 60));
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftUp, 60, 60, 5010), 70));
    EXPECT_TRUE(filter_.TakeChords().empty());
}

// The loop may get to an event after the hold time has passed on its clock: the events' own
// time stamps decide whether the left press came in time.
TEST_F(ChordFilterTest, TheEventsOwnTimesDecideWhetherTheLeftPressCameInTime)
{
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 50, 60, 1000), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kLeftDown, 50, 60, 1299), 400)) << "299 ms after: the chord";
    EXPECT_TRUE(Replays(filter_).empty());
    filter_.Handle(At(Kind::kLeftUp, 50, 60, 1350), 410);
    filter_.Handle(At(Kind::kRightUp, 50, 60, 1360), 420);
    EXPECT_EQ(filter_.TakeChords().size(), 1u);

    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 50, 60, 2000), 1000));
    EXPECT_TRUE(filter_.Handle(At(Kind::kLeftDown, 50, 60, 2300), 1100));
    EXPECT_EQ(Replays(filter_),
              (std::vector<Replayed>{{Kind::kRightDown, 50, 60}, {Kind::kLeftDown, 50, 60}}))
        << "300 ms after: the right press went on, and the left one after it, behind the replay";
}

TEST_F(ChordFilterTest, LeftThenRightPassesTheLeftClickAndCountsOncePerChord)
{
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftDown, 10, 10), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 10, 10), 50)) << "not held: the chord is made";
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 10, 10), 60));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 10, 10), 70)) << "again, while left is down";
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 10, 10), 80));
    EXPECT_TRUE(filter_.TakeChords().empty());
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftUp, 10, 10), 90)) << "its press was delivered";
    EXPECT_EQ(filter_.TakeChords().size(), 1u) << "one chord for the whole press";
    EXPECT_TRUE(Replays(filter_).empty());
}

TEST_F(ChordFilterTest, AnyOtherEventLetsTheHeldPressGoOnFirst)
{
    MouseEvent wheel = At(Kind::kOther, 100, 100);
    wheel.message = 0x20A;
    wheel.data = 0xFF880000u;
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 100, 100), 0));
    EXPECT_TRUE(filter_.Handle(wheel, 10));
    const ReplayList replays = filter_.TakeReplays();
    ASSERT_EQ(replays.size(), 2u);
    EXPECT_EQ(replays[0].kind, Kind::kRightDown);
    EXPECT_EQ(replays[1].message, 0x20Au) << "replayed as it came";
    EXPECT_EQ(replays[1].data, 0xFF880000u);
}

TEST_F(ChordFilterTest, InputPassesAgainWhenAReplayIsRefusedOrNeverComesBack)
{
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 0, 0), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 0, 0), 10));
    EXPECT_EQ(Replays(filter_).size(), 2u);
    filter_.ReplaysRefused(2);
    EXPECT_FALSE(filter_.Handle(At(Kind::kMove, 5, 5), 20));

    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 5, 5), 100));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 5, 5), 110));
    Arrive(filter_, 1, 120);
    EXPECT_EQ(filter_.MillisecondsToDeadline(300), 320u);
    EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 6, 6), 610)) << "queued behind the missing one";
    EXPECT_TRUE(filter_.Handle(At(Kind::kMove, 6, 7), 619));
    EXPECT_FALSE(filter_.Handle(At(Kind::kMove, 7, 7), 620)) << "no progress for the lost time";
}

TEST_F(ChordFilterTest, AFloodBehindTheReplaysPassesOnceTheyFillUpAndHeldPressesStillGoOn)
{
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 0, 0), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 0, 0), 1));
    int queued = 0;
    for (int i = 0; i < 100; ++i) {
        queued += filter_.Handle(At(Kind::kMove, i, 0), 2) ? 1 : 0;
    }
    EXPECT_EQ(queued, static_cast<int>(ReplayList::kCapacity) - 3 - 2)
        << "queued until room for a held press is left";
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 5, 5), 3));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightUp, 5, 5), 4));
    EXPECT_FALSE(filter_.Handle(At(Kind::kRightDown, 6, 6), 5)) << "no room left: not held, it goes on";
    const ReplayList replays = filter_.TakeReplays();
    ASSERT_EQ(replays.size(), ReplayList::kCapacity - 1);
    EXPECT_EQ(replays[replays.size() - 2].kind, Kind::kRightDown);
    EXPECT_EQ(replays[replays.size() - 1].kind, Kind::kRightUp);
}

TEST_F(ChordFilterTest, ReleaseAllReplaysAHeldPressAndStrayReleasesPass)
{
    EXPECT_FALSE(filter_.Handle(At(Kind::kLeftUp, 0, 0), 0)) << "pressed before the hook";
    EXPECT_FALSE(filter_.Handle(At(Kind::kRightUp, 0, 0), 0));
    EXPECT_TRUE(filter_.Handle(At(Kind::kRightDown, 9, 9), 10));
    filter_.ReleaseAll();
    EXPECT_EQ(Replays(filter_), (std::vector<Replayed>{{Kind::kRightDown, 9, 9}}));
}

}   // namespace
