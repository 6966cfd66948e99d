#include "engine/sprite_field.h"

#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_source.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/settings_controls.h"
#include "platform/random.h"

#include <algorithm>
#include <cmath>

namespace kalvero {

namespace {
constexpr int SpriteTypeCount = 15;
constexpr int SpawnSpeedSpread = 100; // at spawn and re-entry: base + 0 .. 99 x FPx
constexpr int UpdateSpeedSpread = 50; // after a speed change: base + 0 .. 49 x FPx
constexpr double PixelsPerSpeedStep = 40.0;
constexpr double BackgroundPixelsPerSpeedStep = 20.0;

bool HasColourVariants(int spriteType) {
    return spriteType == 1 || spriteType == 3; // "Fisch", "Schmetterling 2"
}
} // namespace

std::optional<double> SecondsPerFrame(int spriteType) {
    switch (spriteType) {
    case 0:
        return 0.02;
    case 1:
        return 0.15;
    case 2:
        return 0.03;
    case 3:
        return 0.05;
    case 6:
        return 0.05;
    case 7:
        return 0.04;
    case 14:
        return 0.1;
    case 4:
    case 5:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
        return std::nullopt;
    default:
        return 0.1;
    }
}

TSpriteField::TSpriteField(TRandomSource& random, TFrameSource& frames, TSettingsControls& controls,
                           const TRunState& run, TSimulationParts parts)
    : FRandom(random), FFrames(frames), FControls(controls), FRun(run), FParts(parts) {}

TSpriteField::~TSpriteField() = default;

double TSpriteField::BaseSpeed() const {
    return BaseSpeedFactor * PixelsPerSpeedStep * FRun.FPx;
}

int TSpriteField::CurrentFrameCount() const {
    if (CurrentSpriteType < 0 || CurrentSpriteType >= SpriteTypeCount)
        return 1;
    return std::max(1, FFrames.PlainFrameCount(CurrentSpriteType));
}

double TSpriteField::SpriteWidth() const {
    const int width = FFrames.CurrentSpriteWidth();
    return width > 0 ? width : 100.0 * FRun.FPx;
}

TFrameRequest TSpriteField::FrameRequest() const {
    return {CurrentSpriteType, CurrentBackgroundIndex, FRun.FPx, FRun.FRenderWidth,
            FRun.FRenderHeight};
}

int TSpriteField::VarianceItem() const {
    return FControls.RadioGroupSameSpeed().ItemIndex();
}

int TSpriteField::RandomY() {
    return FRandom.Next(std::max(FRun.FRenderHeight - 100, 1)) + 50;
}

int TSpriteField::RandomColor() {
    switch (FRandom.Next(4)) {
    case 2:
        return 1;
    case 3:
        return 2;
    default:
        return 0;
    }
}

std::unique_ptr<TSpriteObj> TSpriteField::SpawnSprite() {
    double speed = BaseSpeed();
    if (VarianceItem() != 0)
        speed += FRandom.Next(SpawnSpeedSpread) * FRun.FPx;
    const int color = HasColourVariants(CurrentSpriteType) ? RandomColor() : 0;
    const int x = FRandom.Next(std::max(FRun.FRenderWidth, 1));
    const int y = RandomY();
    auto sprite = std::make_unique<TSpriteObj>(x, y, speed, 1.0, color);
    sprite->FrameIndex = FRandom.Next(CurrentFrameCount());
    return sprite;
}

void TSpriteField::RebuildSprites() {
    ActiveSprites.clear();
    const int count = FControls.TrackBarNumberOfSprites().Position();
    for (int i = 0; i < count; ++i)
        ActiveSprites.push_back(SpawnSprite());
    FParts.Follower.Remove();
}

void TSpriteField::AdjustSpriteCount() {
    const auto count =
        static_cast<std::size_t>(std::max(0, FControls.TrackBarNumberOfSprites().Position()));
    while (ActiveSprites.size() < count)
        ActiveSprites.push_back(SpawnSprite());
    while (ActiveSprites.size() > count)
        ActiveSprites.pop_back();
}

void TSpriteField::UpdateSpriteSpeeds() {
    const double base = BaseSpeed();
    const bool equal = VarianceItem() == 0;
    for (auto& sprite : ActiveSprites)
        sprite->SpeedPxPerSec = equal ? base : base + FRandom.Next(UpdateSpeedSpread) * FRun.FPx;
    if (FParts.Follower.VerfolgerObj)
        FParts.Follower.VerfolgerObj->SpeedPxPerSec = base;
}

void TSpriteField::ScrollBackground(double dt) {
    const int tile = FFrames.BackgroundTileWidth();
    if (tile <= 0)
        return;
    BackOffset -= MoveDirection * dt * BaseSpeedFactor * BackgroundPixelsPerSpeedStep * FRun.FPx;
    // Same result as adding or subtracting the tile width until the offset is in range.
    BackOffset = std::fmod(BackOffset, tile);
    if (!std::isfinite(BackOffset))
        BackOffset = 0.0;
    if (BackOffset < 0.0)
        BackOffset += tile;
    if (BackOffset >= tile)
        BackOffset = 0.0;
}

void TSpriteField::ReEnter(TSpriteObj& sprite, int frameCount, double width) {
    sprite.X = MoveDirection < 0 ? FRun.FRenderWidth : -2.0 * width;
    sprite.Y = RandomY();
    sprite.FrameIndex = FRandom.Next(frameCount);
    if (VarianceItem() == 1)
        sprite.SpeedPxPerSec = BaseSpeed() + FRandom.Next(SpawnSpeedSpread) * FRun.FPx;
    if (HasColourVariants(CurrentSpriteType))
        sprite.ColorVariant = RandomColor();
}

void TSpriteField::MoveSprite(TSpriteObj& sprite, double dt, std::optional<double> secondsPerFrame,
                              int frameCount, double width) {
    sprite.X += dt * MoveDirection * sprite.SpeedPxPerSec;
    if (secondsPerFrame) {
        sprite.FrameTimeAccumulator += dt;
        if (sprite.FrameTimeAccumulator > *secondsPerFrame) {
            sprite.FrameTimeAccumulator = 0.0;
            if (++sprite.FrameIndex >= frameCount)
                sprite.FrameIndex = 0;
        }
    }
    const bool leftOut = MoveDirection < 0 && sprite.X < -2.0 * width;
    const bool rightOut = MoveDirection >= 0 && sprite.X > FRun.FRenderWidth;
    if (leftOut || rightOut)
        ReEnter(sprite, frameCount, width);
}

void TSpriteField::SimulationStep(double dt) {
    FParts.Cursor.Advance(dt);
    if (FRun.IsRunning)
        FParts.Sequence.Advance(dt);
    const TFrameRequest request = FrameRequest();
    FFrames.PrepareSpriteFrames(request);
    FFrames.PrepareBackgroundStrip(request);
    ScrollBackground(dt);

    const auto secondsPerFrame = SecondsPerFrame(CurrentSpriteType);
    const int frameCount = CurrentFrameCount();
    const double width = SpriteWidth();
    for (auto& sprite : ActiveSprites)
        MoveSprite(*sprite, dt, secondsPerFrame, frameCount, width);

    FParts.Follower.Advance(dt, FollowerInput(), FRandom);
    FParts.Alertness.UpdateAlertness(dt, MoveDirection);
}

TFollowerInput TSpriteField::FollowerInput() {
    TFollowerInput input;
    input.Enabled = FControls.checkboxVerfolger().Checked();
    input.BaseSpeed = BaseSpeed();
    input.MoveDirection = MoveDirection;
    input.RenderWidth = FRun.FRenderWidth;
    input.RenderHeight = FRun.FRenderHeight;
    input.Px = FRun.FPx;
    input.FrameCount = FFrames.FollowerFrameCount();
    input.Width = FFrames.FollowerWidth();
    return input;
}

} // namespace kalvero
