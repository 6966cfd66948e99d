#include "engine/follower.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kalvero {
namespace {

class FollowerTest : public ::testing::Test {
protected:
    FollowerTest() {
        In.Enabled = true;
        In.BaseSpeed = 200.0;
        In.MoveDirection = -1;
        In.RenderWidth = 1920;
        In.RenderHeight = 1080;
        In.FrameCount = 4;
        In.Width = 120;
    }
    void Advance(double dt) { Follower.Advance(dt, In, Random); }
    // Moves the follower until it has left the screen and waits off screen.
    void CrossOnce() {
        for (int i = 0; i < 100000 && !(Follower.FVerfolgerRespawnTimer > 0); ++i)
            Advance(0.02);
        ASSERT_GT(Follower.FVerfolgerRespawnTimer, 0);
    }

    TFollowerInput In;
    TSeededRandom Random{77};
    TFollower Follower;
};

struct TStartCase {
    int Direction;
    float Px;
    double X;
};

class FollowerStartTest : public FollowerTest, public ::testing::WithParamInterface<TStartCase> {};

TEST_P(FollowerStartTest, ComesInFromTwoHundredPixelsOutsideTheEntryEdge) {
    In.MoveDirection = GetParam().Direction;
    In.Px = GetParam().Px;
    Advance(0.0);
    ASSERT_NE(Follower.VerfolgerObj, nullptr);
    const TSpriteObj& f = *Follower.VerfolgerObj;
    EXPECT_DOUBLE_EQ(f.X, GetParam().X);
    EXPECT_EQ(f.ColorVariant, 0);
    EXPECT_EQ(f.Scale, 1.0);
    EXPECT_EQ(f.FrameIndex, 0);
    EXPECT_TRUE(Follower.IsShown());
}

INSTANTIATE_TEST_SUITE_P(Directions, FollowerStartTest,
                         ::testing::Values(TStartCase{-1, 1.0f, 2120}, TStartCase{-1, 1.5f, 2220},
                                           TStartCase{1, 1.0f, -200}, TStartCase{1, 1.5f, -300}));

struct THeightCase {
    int RenderHeight;
    int MinY, MaxY;
};

class FollowerHeightTest : public FollowerTest,
                           public ::testing::WithParamInterface<THeightCase> {};

TEST_P(FollowerHeightTest, HeightIsFiftyPlusARandomPartOfTheHeightLessOneHundredFifty) {
    In.RenderHeight = GetParam().RenderHeight;
    In.RenderWidth = 100;
    In.BaseSpeed = 5000.0;
    int minY = 1 << 30, maxY = -1;
    for (int i = 0; i < 400; ++i) {
        Follower.Remove();
        Follower.ResetForRun();
        Advance(0.0);
        minY = std::min(minY, static_cast<int>(Follower.VerfolgerObj->Y));
        maxY = std::max(maxY, static_cast<int>(Follower.VerfolgerObj->Y));
        Advance(0.1); // leaves the narrow screen at once and gets a new height
        ASSERT_GT(Follower.FVerfolgerRespawnTimer, 0);
        minY = std::min(minY, static_cast<int>(Follower.VerfolgerObj->Y));
        maxY = std::max(maxY, static_cast<int>(Follower.VerfolgerObj->Y));
    }
    EXPECT_EQ(minY, GetParam().MinY);
    EXPECT_EQ(maxY, GetParam().MaxY);
}

INSTANTIATE_TEST_SUITE_P(Displays, FollowerHeightTest,
                         ::testing::Values(THeightCase{150, 50, 50}, THeightCase{120, 50, 50},
                                           THeightCase{0, 50, 50}, THeightCase{153, 50, 52},
                                           THeightCase{160, 50, 59}));

TEST_F(FollowerTest, MovesAtTheCurrentBaseSpeed) {
    Advance(0.0);
    Advance(0.1);
    EXPECT_DOUBLE_EQ(Follower.VerfolgerObj->X, 2120 - 20);
    In.BaseSpeed = 400.0; // a speed change takes effect in the same frame
    Advance(0.1);
    EXPECT_DOUBLE_EQ(Follower.VerfolgerObj->X, 2120 - 20 - 40);
    EXPECT_EQ(Follower.VerfolgerObj->SpeedPxPerSec, 400.0);
}

TEST_F(FollowerTest, AnimationChangesFrameAfterMoreThanEightyMilliseconds) {
    In.FrameCount = 3;
    Advance(0.0);
    const int expected[] = {0, 0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 1};
    // 0.04 twice is exactly 0.08, which is not more than 0.08: the frame changes on the third.
    Advance(0.04);
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        Advance(0.04);
        EXPECT_EQ(Follower.VerfolgerObj->FrameIndex, expected[i]) << i;
    }
}

struct TLeaveCase {
    int Direction;
    double LastInside; // X that still counts as on screen
    double ReEntryX;
};

class FollowerLeaveTest : public FollowerTest, public ::testing::WithParamInterface<TLeaveCase> {};

TEST_P(FollowerLeaveTest, LeavesBehindTheFarEdgeAndWaitsAtTheEntryEdge) {
    const TLeaveCase c = GetParam();
    In.MoveDirection = c.Direction;
    Advance(0.0);
    Follower.VerfolgerObj->X = c.LastInside;
    Advance(0.0);
    EXPECT_EQ(Follower.FVerfolgerRespawnTimer, 0.0);
    Advance(0.001);
    EXPECT_EQ(Follower.FVerfolgerRespawnTimer, 4.0);
    EXPECT_EQ(Follower.VerfolgerObj->X, c.ReEntryX);
    EXPECT_FALSE(Follower.IsShown());
}

INSTANTIATE_TEST_SUITE_P(Directions, FollowerLeaveTest,
                         ::testing::Values(TLeaveCase{-1, -120, 1920}, TLeaveCase{1, 1920, -120}));

TEST_F(FollowerTest, WaitsFourSecondsOfFrameTimeBeforeCrossingAgain) {
    CrossOnce();
    const double x = Follower.VerfolgerObj->X;
    for (int i = 0; i < 39; ++i)
        Advance(0.1);
    EXPECT_FALSE(Follower.IsShown());
    EXPECT_EQ(Follower.VerfolgerObj->X, x);
    for (int i = 0; i < 3; ++i)
        Advance(0.1);
    EXPECT_TRUE(Follower.IsShown());
    EXPECT_LT(Follower.VerfolgerObj->X, x); // moving in from the right edge
}

TEST_F(FollowerTest, SwitchedOffItIsRemovedAndSwitchedOnItStartsOffScreen) {
    Advance(0.0);
    for (int i = 0; i < 50; ++i)
        Advance(0.02);
    In.Enabled = false;
    Advance(0.02);
    EXPECT_EQ(Follower.VerfolgerObj, nullptr);
    EXPECT_FALSE(Follower.IsShown());
    In.Enabled = true;
    Advance(0.0);
    ASSERT_NE(Follower.VerfolgerObj, nullptr);
    EXPECT_DOUBLE_EQ(Follower.VerfolgerObj->X, 2120);
}

TEST_F(FollowerTest, RunStartEndsTheWait) {
    CrossOnce();
    Follower.ResetForRun();
    Follower.Remove();
    Advance(0.0);
    EXPECT_TRUE(Follower.IsShown());
    EXPECT_DOUBLE_EQ(Follower.VerfolgerObj->X, 2120);
}

TEST_F(FollowerTest, WidthFallsBackToOneHundredFiftyTimesTheScale) {
    In.Width = 0;
    In.Px = 1.25f;
    EXPECT_DOUBLE_EQ(FollowerWidth(In), 187.5);
    In.Width = 96;
    EXPECT_DOUBLE_EQ(FollowerWidth(In), 96);
}

} // namespace
} // namespace kalvero
