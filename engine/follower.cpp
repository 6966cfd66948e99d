#include "engine/follower.h"

#include "platform/random.h"

#include <algorithm>

namespace kalvero {

namespace {
constexpr double SecondsPerFrame = 0.08;
constexpr double RespawnWaitSec = 4.0;
constexpr double StartOffset = 200.0; // times FPx, outside the entry edge
constexpr int FallbackWidth = 150;    // times FPx

int RandomY(const TFollowerInput& input, TRandomSource& random) {
    return random.Next(std::max(input.RenderHeight - 150, 1)) + 50;
}
} // namespace

double FollowerWidth(const TFollowerInput& input) {
    return input.Width > 0 ? input.Width : FallbackWidth * input.Px;
}

void TFollower::Advance(double dt, const TFollowerInput& input, TRandomSource& random) {
    if (!input.Enabled) {
        Remove();
        return;
    }
    if (FVerfolgerRespawnTimer > 0.0) {
        FVerfolgerRespawnTimer -= dt;
        return;
    }
    const bool leftwards = input.MoveDirection < 0;
    if (!VerfolgerObj) {
        const double y = RandomY(input, random);
        const double x =
            leftwards ? input.RenderWidth + StartOffset * input.Px : -StartOffset * input.Px;
        VerfolgerObj = std::make_unique<TSpriteObj>(x, y, input.BaseSpeed, 1.0, 0);
    }
    TSpriteObj& f = *VerfolgerObj;
    f.SpeedPxPerSec = input.BaseSpeed;
    f.X += dt * input.MoveDirection * f.SpeedPxPerSec;

    f.FrameTimeAccumulator += dt;
    if (f.FrameTimeAccumulator > SecondsPerFrame) {
        f.FrameTimeAccumulator = 0.0;
        if (++f.FrameIndex >= input.FrameCount)
            f.FrameIndex = 0;
    }

    const double width = FollowerWidth(input);
    const bool leftOut = leftwards && f.X < -width;
    const bool rightOut = !leftwards && f.X > input.RenderWidth;
    if (leftOut || rightOut) {
        FVerfolgerRespawnTimer = RespawnWaitSec;
        f.X = leftwards ? input.RenderWidth : -width;
        f.Y = RandomY(input, random);
    }
}

} // namespace kalvero
