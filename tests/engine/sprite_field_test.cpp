#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_source.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace kalvero {
namespace {

class TFixedFrames final : public TFrameSource {
public:
    void PrepareSpriteFrames(const TFrameRequest& request) override { LastRequest = request; }
    void PrepareBackgroundStrip(const TFrameRequest&) override {}
    int PlainFrameCount(int) const override { return FrameCount; }
    int CurrentSpriteWidth() const override { return Width; }
    int BackgroundTileWidth() const override { return TileWidth; }
    int FollowerFrameCount() const override { return 0; }
    int FollowerWidth() const override { return 0; }
    int AlertnessFrameCount(int) const override { return 0; }
    int AlertnessWidth(int) const override { return 0; }

    int FrameCount = 6;
    int Width = 50;
    int TileWidth = 0;
    TFrameRequest LastRequest{-99, -99, 0.0f, 0, 0};
};

class SpriteFieldTest : public ::testing::Test {
protected:
    SpriteFieldTest() {
        Run.FRenderWidth = 1920;
        Run.FRenderHeight = 1080;
        Run.IsRunning = true;
    }

    void SetVariance(int item) { Controls.RadioGroupSameSpeed().SetItemIndex(item); }
    TSpriteObj& Single() {
        Controls.TrackBarNumberOfSprites().SetPosition(1);
        Field.RebuildSprites();
        return *Field.ActiveSprites.front();
    }

    TPlainSettingsControls Controls;
    TRunState Run;
    TSeededRandom Random{20240601};
    TFixedFrames Frames;
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Field{Random, Frames, Controls, Run, {Cursor, Sequence, Follower, Alertness}};
};

struct TSpawnArea {
    int Width, Height, MinX, MaxX, MinY, MaxY;
};

class SpawnAreaTest : public SpriteFieldTest, public ::testing::WithParamInterface<TSpawnArea> {};

TEST_P(SpawnAreaTest, PositionsFramesAndScaleStayInRange) {
    const TSpawnArea area = GetParam();
    Run.FRenderWidth = area.Width;
    Run.FRenderHeight = area.Height;
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    for (int i = 0; i < 3000; ++i) {
        const auto sprite = Field.SpawnSprite();
        minX = std::min(minX, static_cast<int>(sprite->X));
        maxX = std::max(maxX, static_cast<int>(sprite->X));
        minY = std::min(minY, static_cast<int>(sprite->Y));
        maxY = std::max(maxY, static_cast<int>(sprite->Y));
        ASSERT_EQ(sprite->X, static_cast<int>(sprite->X));
        ASSERT_GE(sprite->FrameIndex, 0);
        ASSERT_LT(sprite->FrameIndex, Frames.FrameCount);
        ASSERT_EQ(sprite->Scale, 1.0);
        ASSERT_EQ(sprite->ColorVariant, 0); // Hummel has no colour variants
        ASSERT_EQ(sprite->FrameTimeAccumulator, 0.0);
    }
    EXPECT_EQ(minX, area.MinX);
    EXPECT_EQ(maxX, area.MaxX);
    EXPECT_EQ(minY, area.MinY);
    EXPECT_EQ(maxY, area.MaxY);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, SpawnAreaTest,
    ::testing::Values(TSpawnArea{400, 300, 0, 399, 50, 249}, TSpawnArea{400, 102, 0, 399, 50, 51},
                      TSpawnArea{400, 101, 0, 399, 50, 50}, TSpawnArea{400, 100, 0, 399, 50, 50},
                      TSpawnArea{400, 20, 0, 399, 50, 50}, TSpawnArea{0, 0, 0, 0, 50, 50}));

struct TSpeedCase {
    int Variance;
    float Px;
    int SpeedStep;
    double Base;
    int Spread; // speeds lie in Base .. Base + Spread * Px; 0 = exactly Base
};

class SpeedTest : public SpriteFieldTest, public ::testing::WithParamInterface<TSpeedCase> {
protected:
    // Checks every sprite's speed against the case for the given spread.
    void ExpectSpeeds(int spread) {
        const TSpeedCase c = GetParam();
        double highest = 0;
        for (const auto& sprite : Field.ActiveSprites) {
            const double extra = (sprite->SpeedPxPerSec - c.Base) / c.Px;
            ASSERT_GE(extra, -1e-9);
            ASSERT_LE(extra, spread + 1e-9);
            ASSERT_NEAR(extra, std::round(extra), 1e-6); // whole multiples of FPx
            highest = std::max(highest, extra);
        }
        if (spread > 0) { // the upper part of the range is reached
            EXPECT_GT(highest, spread / 2 + 1);
        }
    }
    void Prepare() {
        const TSpeedCase c = GetParam();
        Run.FPx = c.Px;
        SetVariance(c.Variance);
        Field.BaseSpeedFactor = c.SpeedStep;
        Controls.TrackBarNumberOfSprites().SetPosition(150);
    }
};

TEST_P(SpeedTest, AtSpawn) {
    Prepare();
    Field.RebuildSprites();
    EXPECT_DOUBLE_EQ(Field.BaseSpeed(), GetParam().Base);
    ExpectSpeeds(GetParam().Spread);
}

TEST_P(SpeedTest, AtReEntry) {
    Prepare();
    Field.RebuildSprites();
    for (auto& sprite : Field.ActiveSprites) {
        sprite->X = -1000;
        sprite->SpeedPxPerSec = GetParam().Base; // re-entry must draw the spread again
    }
    Field.SimulationStep(0.001);
    ExpectSpeeds(GetParam().Spread);
}

TEST_P(SpeedTest, AfterUpdateSpriteSpeedsHalfTheSpread) {
    Prepare();
    Field.RebuildSprites();
    Follower.VerfolgerObj = std::make_unique<TSpriteObj>(0, 0, 1.0, 1.0, 0);
    Field.UpdateSpriteSpeeds();
    ExpectSpeeds(GetParam().Spread == 0 ? 0 : 49);
    EXPECT_DOUBLE_EQ(Follower.VerfolgerObj->SpeedPxPerSec, GetParam().Base);
}

INSTANTIATE_TEST_SUITE_P(Modes, SpeedTest,
                         ::testing::Values(TSpeedCase{0, 1.0f, 5, 200.0, 0},
                                           TSpeedCase{0, 1.0f, 1, 40.0, 0},
                                           TSpeedCase{0, 1.5f, 20, 1200.0, 0},
                                           TSpeedCase{1, 1.0f, 5, 200.0, 99},
                                           TSpeedCase{1, 1.5f, 20, 1200.0, 99}));

TEST_F(SpriteFieldTest, LeftwardSpriteReEntersAtTheRightOnlyAfterPassingMinusTwoWidths) {
    Field.MoveDirection = -1;
    TSpriteObj& sprite = Single();
    sprite.SpeedPxPerSec = 100;
    sprite.X = -99.5;            // -2 x w = -100
    Field.SimulationStep(0.001); // -99.6: not yet beyond -100
    EXPECT_NEAR(sprite.X, -99.6, 1e-9);
    Field.SimulationStep(0.01); // -100.6: re-enters
    EXPECT_EQ(sprite.X, Run.FRenderWidth);
    EXPECT_GE(sprite.Y, 50);
    EXPECT_LE(sprite.Y, Run.FRenderHeight - 51);
    EXPECT_DOUBLE_EQ(sprite.SpeedPxPerSec, 100); // equal speeds keep their speed
}

TEST_F(SpriteFieldTest, RightwardSpriteReEntersAtMinusTwoWidthsOnlyAfterPassingTheRightEdge) {
    Field.MoveDirection = 1;
    TSpriteObj& sprite = Single();
    sprite.SpeedPxPerSec = 128;
    sprite.X = 1919.5;
    Field.SimulationStep(1.0 / 256); // exactly at the edge is still on screen
    EXPECT_EQ(sprite.X, 1920.0);
    Field.SimulationStep(1.0 / 256);
    EXPECT_EQ(sprite.X, -2.0 * Frames.Width);
}

TEST_F(SpriteFieldTest, WithoutFramesTheWidthIsOneHundredTimesTheScale) {
    Frames.Width = 0;
    Run.FPx = 2.0f;
    EXPECT_DOUBLE_EQ(Field.SpriteWidth(), 200.0);
    Field.MoveDirection = 1;
    TSpriteObj& sprite = Single();
    sprite.X = 5000;
    Field.SimulationStep(0.001);
    EXPECT_EQ(sprite.X, -400.0);
}

TEST_F(SpriteFieldTest, LettersAndDigitsKeepTheirFrameWhileCrossingAndGetANewOneAtReEntry) {
    for (int type : {4, 5}) {
        Field.CurrentSpriteType = type;
        Frames.FrameCount = 33;
        Controls.TrackBarNumberOfSprites().SetPosition(40);
        Field.RebuildSprites();
        std::vector<int> before;
        for (const auto& s : Field.ActiveSprites) {
            s->X = 1000;
            s->SpeedPxPerSec = 1;
            before.push_back(s->FrameIndex);
        }
        for (int i = 0; i < 200; ++i)
            Field.SimulationStep(0.05);
        std::set<int> afterReEntry;
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(Field.ActiveSprites[i]->FrameIndex, before[i]) << "type " << type;
            Field.ActiveSprites[i]->X = -1000;
        }
        Field.SimulationStep(0.001);
        for (const auto& s : Field.ActiveSprites)
            afterReEntry.insert(s->FrameIndex);
        EXPECT_GT(afterReEntry.size(), 5u) << "type " << type;
    }
}

struct TAnimationCase {
    int Type;
    double SecondsPerFrame;
};

class AnimationTest : public SpriteFieldTest,
                      public ::testing::WithParamInterface<TAnimationCase> {};

TEST_P(AnimationTest, FrameAdvancesWhenTheTimeIsStrictlyExceededAndWraps) {
    const TAnimationCase c = GetParam();
    Field.CurrentSpriteType = c.Type;
    Frames.FrameCount = 3;
    TSpriteObj& sprite = Single();
    sprite.X = 500;
    sprite.SpeedPxPerSec = 0;
    sprite.FrameIndex = 2;
    Field.SimulationStep(c.SecondsPerFrame); // equal is not more
    EXPECT_EQ(sprite.FrameIndex, 2);
    Field.SimulationStep(c.SecondsPerFrame * 0.5);
    EXPECT_EQ(sprite.FrameIndex, 0); // wrapped at the frame count
    EXPECT_EQ(sprite.FrameTimeAccumulator, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Sets, AnimationTest,
                         ::testing::Values(TAnimationCase{0, 0.02}, TAnimationCase{1, 0.15},
                                           TAnimationCase{2, 0.03}, TAnimationCase{3, 0.05},
                                           TAnimationCase{6, 0.05}, TAnimationCase{7, 0.04},
                                           TAnimationCase{14, 0.1}, TAnimationCase{-1, 0.1}));

TEST(SecondsPerFrameTest, StillSets) {
    for (int type : {4, 5, 8, 9, 10, 11, 12, 13})
        EXPECT_FALSE(SecondsPerFrame(type).has_value()) << type;
}

TEST_F(SpriteFieldTest, ColourVariantsOnlyForFischAndSchmetterling2) {
    for (int type = -1; type <= 15; ++type) {
        Field.CurrentSpriteType = type;
        std::set<int> colours;
        for (int i = 0; i < 200; ++i)
            colours.insert(Field.SpawnSprite()->ColorVariant);
        const std::set<int> expected =
            type == 1 || type == 3 ? std::set<int>{0, 1, 2} : std::set<int>{0};
        EXPECT_EQ(colours, expected) << type;
    }
}

TEST_F(SpriteFieldTest, FrameCountIsAtLeastOneAndOneOutsideTheSets) {
    Frames.FrameCount = 0;
    EXPECT_EQ(Field.CurrentFrameCount(), 1);
    Frames.FrameCount = 7;
    EXPECT_EQ(Field.CurrentFrameCount(), 7);
    Field.CurrentSpriteType = -1;
    EXPECT_EQ(Field.CurrentFrameCount(), 1);
    Field.CurrentSpriteType = 15;
    EXPECT_EQ(Field.CurrentFrameCount(), 1);
}

TEST_F(SpriteFieldTest, RebuildSpawnsTheCountAndRemovesTheFollower) {
    Follower.VerfolgerObj = std::make_unique<TSpriteObj>(0, 0, 1.0, 1.0, 0);
    Controls.TrackBarNumberOfSprites().SetPosition(0);
    Field.RebuildSprites();
    EXPECT_TRUE(Field.ActiveSprites.empty());
    EXPECT_EQ(Follower.VerfolgerObj, nullptr);
    Controls.TrackBarNumberOfSprites().SetPosition(150);
    Field.RebuildSprites();
    EXPECT_EQ(Field.SpriteCount(), 150);
}

TEST_F(SpriteFieldTest, AdjustCountKeepsTheSpritesOnScreen) {
    Controls.TrackBarNumberOfSprites().SetPosition(10);
    Field.RebuildSprites();
    std::vector<TSpriteObj*> first;
    for (const auto& s : Field.ActiveSprites)
        first.push_back(s.get());
    Controls.TrackBarNumberOfSprites().SetPosition(15);
    Field.AdjustSpriteCount();
    ASSERT_EQ(Field.SpriteCount(), 15);
    Controls.TrackBarNumberOfSprites().SetPosition(5);
    Field.AdjustSpriteCount();
    ASSERT_EQ(Field.SpriteCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Field.ActiveSprites[i].get(), first[i]);
}

struct TScrollCase {
    int Direction;
    double Start, Dt, Expected;
};

class ScrollTest : public SpriteFieldTest, public ::testing::WithParamInterface<TScrollCase> {};

TEST_P(ScrollTest, BackgroundScrollsAtHalfTheSpriteSpeedAndWraps) {
    const TScrollCase c = GetParam();
    Frames.TileWidth = 100;
    Run.FPx = 1.0f;
    Field.BaseSpeedFactor = 5; // 100 px/s
    Field.MoveDirection = c.Direction;
    Field.BackOffset = c.Start;
    Field.SimulationStep(c.Dt);
    EXPECT_NEAR(Field.BackOffset, c.Expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Directions, ScrollTest,
                         ::testing::Values(TScrollCase{-1, 0.0, 0.1, 10.0},
                                           TScrollCase{-1, 95.0, 0.1, 5.0},
                                           TScrollCase{1, 5.0, 0.1, 95.0},
                                           TScrollCase{1, 0.0, 0.05, 95.0}));

TEST_F(SpriteFieldTest, NoStripNoScroll) {
    Frames.TileWidth = 0;
    Field.BackOffset = 12.5;
    Field.SimulationStep(0.1);
    EXPECT_EQ(Field.BackOffset, 12.5);
}

TEST_F(SpriteFieldTest, StepPreparesTheFramesForTheWorkingCopies) {
    Field.CurrentSpriteType = 7;
    Field.CurrentBackgroundIndex = 3;
    Run.FPx = 1.25f;
    Field.SimulationStep(0.01);
    EXPECT_EQ(Frames.LastRequest.SpriteType, 7);
    EXPECT_EQ(Frames.LastRequest.BackgroundIndex, 3);
    EXPECT_EQ(Frames.LastRequest.Px, 1.25f);
    EXPECT_EQ(Frames.LastRequest.RenderWidth, 1920);
    EXPECT_EQ(Frames.LastRequest.RenderHeight, 1080);
}

} // namespace
} // namespace kalvero
