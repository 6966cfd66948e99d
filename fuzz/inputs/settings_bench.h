#pragma once

#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_source.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "platform/random.h"

namespace kalvero::fuzz {

// Picture counts of a small catalogue, without pictures.
class TFixedFrames final : public TFrameSource {
public:
    void PrepareSpriteFrames(const TFrameRequest&) override {}
    void PrepareBackgroundStrip(const TFrameRequest&) override {}
    int PlainFrameCount(int spriteType) const override {
        return spriteType >= 0 && spriteType < 15 ? 4 : 0;
    }
    int CurrentSpriteWidth() const override { return 60; }
    int BackgroundTileWidth() const override { return 400; }
    int FollowerFrameCount() const override { return 2; }
    int FollowerWidth() const override { return 80; }
    int AlertnessFrameCount(int) const override { return 3; }
    int AlertnessWidth(int) const override { return 50; }
};

class TQuietWindow final : public TSettingsWindow {
public:
    void UpdatePreviews() override {}
    void SetLabelSpeed(const QString&) override {}
    void SetLabelNumberOfSprites(const QString&) override {}
    void FocusMainWindow() override {}
};

// The settings controls with everything applying them touches.
struct TSettingsBench {
    explicit TSettingsBench(int backgrounds, bool running) : Controls(backgrounds) {
        Run.IsRunning = running;
        Run.FRenderWidth = 640;
        Run.FRenderHeight = 480;
        Controls.FCount.OnChange = [this] { Settings.TrackBarNumberOfSpritesChange(); };
        Controls.FSpeed.OnChange = [this] { Settings.TrackBarSpeedChange(); };
    }

    TPlainSettingsControls Controls;
    TRunState Run;
    TSeededRandom Random{11};
    TFixedFrames Frames;
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Field{Random, Frames, Controls, Run, {Cursor, Sequence, Follower, Alertness}};
    TQuietWindow Window;
    TTrainingSettings Settings{Controls, Field, Alertness, Run, Window};
};

} // namespace kalvero::fuzz
