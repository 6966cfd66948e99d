#pragma once

#include <cstdint>

namespace kalvero {

// One moving picture of the sprite field (or the follower).
struct TSpriteObj {
    TSpriteObj(double StartX, double StartY, double ASpeed, double AScale, std::int32_t AColor)
        : X(StartX), Y(StartY), SpeedPxPerSec(ASpeed), Scale(AScale), ColorVariant(AColor) {}

    double X;             // left edge, display pixels; may lie outside the screen
    double Y;             // top edge, display pixels
    double SpeedPxPerSec; // always positive; the sign comes from the move direction
    std::int32_t FrameIndex = 0;
    double FrameTimeAccumulator = 0.0; // seconds since the last frame change
    double Scale;                      // always 1.0; the size factor lives in the frame cache
    std::int32_t ColorVariant;         // 0, 1 or 2
};

} // namespace kalvero
