#pragma once

// Small stand-ins for what the alertness task and the follower read: pictures with fixed
// counts and widths, the run control's active time and a sound output that only records.

#include "engine/frame_loop.h"
#include "engine/frame_source.h"
#include "platform/sound_player.h"

#include <QStringList>
#include <array>
#include <cstdint>

namespace kalvero::test {

class TAlertFrames final : public TFrameSource {
public:
    void PrepareSpriteFrames(const TFrameRequest&) override {}
    void PrepareBackgroundStrip(const TFrameRequest&) override {}
    int PlainFrameCount(int) const override { return 4; }
    int CurrentSpriteWidth() const override { return 50; }
    int BackgroundTileWidth() const override { return 0; }
    int FollowerFrameCount() const override { return FollowerFrames; }
    int FollowerWidth() const override { return FollowerPx; }
    // Mode 1 "Stern", 2 "Drache", anything else "Smiley".
    int AlertnessFrameCount(int mode) const override {
        return Frames[mode == 1 ? 0 : mode == 2 ? 1 : 2];
    }
    int AlertnessWidth(int mode) const override {
        return mode >= 1 && mode <= 3 ? Widths[mode - 1] : 0;
    }

    std::array<int, 3> Frames{12, 20, 22};
    std::array<int, 3> Widths{150, 150, 150};
    int FollowerFrames = 4;
    int FollowerPx = 120;
};

// The run control as far as the task reads it: the active run time.
class TActiveTime final : public TRunHooks {
public:
    void CaptureRunSettings() override {}
    std::int64_t ActiveElapsedMs() const override { return Ms; }
    void StopRun() override {}
    void BeginPause(bool) override {}
    std::int64_t Ms = 0;
};

class TRecordedSounds final : public TSoundSink {
public:
    void PlaySoundEffect(const QString& fileName) override { Played << fileName; }
    QStringList Played;
};

} // namespace kalvero::test
