#pragma once

#include "engine/frame_source.h"

namespace kalvero::test {

// A frame source without pictures: every stimulus set has the given number of plain frames, and
// nothing has a width.
class TNoFrames final : public TFrameSource {
public:
    explicit TNoFrames(int plainFrames) : FPlainFrames(plainFrames) {}
    void PrepareSpriteFrames(const TFrameRequest&) override {}
    void PrepareBackgroundStrip(const TFrameRequest&) override {}
    int PlainFrameCount(int) const override { return FPlainFrames; }
    int CurrentSpriteWidth() const override { return 0; }
    int BackgroundTileWidth() const override { return 0; }
    int FollowerFrameCount() const override { return 0; }
    int FollowerWidth() const override { return 0; }
    int AlertnessFrameCount(int) const override { return 0; }
    int AlertnessWidth(int) const override { return 0; }

private:
    int FPlainFrames;
};

} // namespace kalvero::test
