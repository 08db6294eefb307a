#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "harness/FrameCapture.h"

namespace {

using Shots = std::vector<std::pair<int, std::string>>;

// Frames an eighth of a second of play apart (exact in binary, so the delays fall on frames).
constexpr double kStep = 0.125;

CaptureObservation at(int remaining, bool jumping = false, bool transferring = false) {
    CaptureObservation seen;
    seen.remaining = remaining;
    seen.jumping = jumping;
    seen.transferring = transferring;
    return seen;
}

// Feeds one observation per frame, kStep apart, and lists (frame, picture name) in order.
Shots play(CaptureSchedule& schedule, std::vector<CaptureObservation> frames) {
    Shots shots;
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i].playSeconds = static_cast<double>(i) * kStep;
        for (const std::string& name : schedule.next(frames[i])) {
            shots.emplace_back(static_cast<int>(i), name);
        }
    }
    return shots;
}

}  // namespace

TEST(CaptureSchedule, PicksTheFirstOfEachMomentByPlayTimeAndEveryCollectedOrb) {
    CaptureSchedule schedule;
    std::vector<CaptureObservation> frames;
    auto add = [&frames](int count, CaptureObservation seen) {
        frames.insert(frames.end(), count, seen);
    };
    add(1, at(8));
    add(1, at(8, true));  // a jump seen in one frame only lasted no time: no picture
    add(1, at(8));
    add(2, at(8, true));         // frame 4 is 0.125 s into the jump: "jump"
    add(4, at(8, false, true));  // frames 5 to 8 in flight
    add(1, at(7, false, true));  // frame 9: 0.5 s into the flight, and an orb is taken
    add(3, at(7, true));         // later jumps and flights give nothing
    add(6, at(7, false, true));
    add(1, at(5));  // frame 19: two orbs in one frame, named by the count collected
    Shots expected = {{0, "start"}, {4, "jump"}, {9, "transfer"}, {9, "orb-1"}, {19, "orb-3"}};
    EXPECT_EQ(play(schedule, frames), expected);
    EXPECT_FALSE(schedule.finished());
}

TEST(CaptureSchedule, EndsOnceTheSceneHasDimmedForTheDelayAndThenStaysQuiet) {
    CaptureSchedule schedule(0, 3 * kStep);
    Shots shots = play(schedule, {at(1), at(0), at(0), at(0)});
    EXPECT_EQ(shots, (Shots{{0, "start"}, {1, "orb-1"}}));
    EXPECT_FALSE(schedule.finished());
    CaptureObservation later = at(0);
    later.playSeconds = 4 * kStep;
    EXPECT_EQ(schedule.next(later), std::vector<std::string>{"end"});
    EXPECT_TRUE(schedule.finished());
    EXPECT_TRUE(schedule.next(later).empty());
}

TEST(CaptureSchedule, AnimationFramesComeEveryNthFrameAfterTheMoments) {
    CaptureSchedule schedule(3);
    Shots shots = play(schedule, {at(8), at(8), at(8), at(7), at(7), at(7), at(7)});
    Shots expected = {{0, "start"},
                      {0, "frames/000000"},
                      {3, "orb-1"},
                      {3, "frames/000003"},
                      {6, "frames/000006"}};
    EXPECT_EQ(shots, expected);
}

TEST(CaptureSchedule, AGameWithoutOrbsNeverEnds) {
    CaptureSchedule schedule(0, kStep);
    play(schedule, std::vector<CaptureObservation>(10, at(0)));
    EXPECT_FALSE(schedule.finished());
}
