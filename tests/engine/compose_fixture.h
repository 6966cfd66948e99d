#pragma once

// A small world for the frame composition: hand-made pictures, a sprite field that is filled
// by hand, a follower, an alertness task, a frame loop for "fein" and the statistics, and a
// composer planned for a chosen number of processors.

#include "engine/alertness_task.h"
#include "engine/back_buffer.h"
#include "engine/composition_images.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_composer_cairo.h"
#include "engine/frame_loop.h"
#include "engine/frame_source.h"
#include "engine/plain_settings_controls.h"
#include "engine/program_settings.h"
#include "engine/raster_image.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "no_frames.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/refresh_wait.h"

#include <cstring>
#include <memory>
#include <vector>

namespace kalvero::test {

// An image of one premultiplied colour.
inline TRasterImage SolidImage(int width, int height, std::uint32_t argb) {
    TRasterImage image = TRasterImage::Create(width, height);
    std::uint8_t* data = image.MutableData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::memcpy(data + y * image.Stride() + x * 4, &argb, 4);
    image.MarkDirty();
    return image;
}

// An image of random premultiplied pixels; opaque ones when `opaque`, otherwise with random
// alpha (a quarter of them fully transparent).
inline TRasterImage RandomImage(TRandomSource& random, int width, int height, bool opaque) {
    TRasterImage image = TRasterImage::Create(width, height);
    std::uint8_t* data = image.MutableData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int alpha = opaque ? 255 : random.Next(4) == 0 ? 0 : random.Next(256);
            std::uint8_t* p = data + y * image.Stride() + x * 4;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>(alpha ? random.Next(alpha + 1) : 0);
            p[3] = static_cast<std::uint8_t>(alpha);
        }
    image.MarkDirty();
    return image;
}

class TTestImages final : public TCompositionImages {
public:
    void Prepare(const TFrameRequest&) override { ++Prepared; }
    const TRasterImage& BgStrip() const override { return Strip; }
    const FrameList* CurFrames(int colour, int direction) const override {
        return &Frames[colour][direction];
    }
    const FrameList* VerfolgerScaled() const override { return &Follower; }
    const FrameList* AlertScaled(int index) const override { return &Alert[index]; }

    TRasterImage Strip;
    FrameList Frames[3][2];
    FrameList Follower;
    FrameList Alert[3];
    int Prepared = 0;
};

class TQuietWait final : public TCompositorWait {
public:
    bool WaitForNextRefresh() override { return true; }
    void SleepAfterFailedWait() override {}
};

class TQuietPacing final : public TRunPacing {
public:
    bool RequestTimerResolution() override { return true; }
    void ReleaseTimerResolution() override {}
    void SetRaisedPriority(bool) override {}
};

class TElapsedHooks final : public TRunHooks {
public:
    void CaptureRunSettings() override {}
    std::int64_t ActiveElapsedMs() const override { return ElapsedMs; }
    void StopRun() override {}
    void BeginPause(bool) override {}
    std::int64_t ElapsedMs = 0;
};

class TNoWindow final : public TFrameWindow {
public:
    int ClientWidth() const override { return 0; }
    int ClientHeight() const override { return 0; }
    void PresentBackBuffer(int, int) override {}
    void ShowPaintBoxFallback() override {}
    void RequestPaintBoxRepaint() override {}
};

// Everything the composer reads, without a composer.
struct TComposeWorld {
    TComposeWorld() {
        Run.FRenderWidth = 64;
        Run.FRenderHeight = 40;
        Run.IsRunning = true;
        Controls.checkboxZeit().SetChecked(false);
    }

    TComposerParts Parts() {
        return {Clock, Images, Sprites, Follower, Alertness, Run, Controls, Hooks};
    }
    TSpriteObj& AddSprite(double x, double y, int frame = 0, int colour = 0) {
        Sprites.ActiveSprites.push_back(std::make_unique<TSpriteObj>(x, y, 100.0, 1.0, colour));
        Sprites.ActiveSprites.back()->FrameIndex = frame;
        return *Sprites.ActiveSprites.back();
    }
    void ShowAlertness(int mode, double x, double y, int frame = 0) {
        Alertness.AlertnessVars.ActiveMode = mode;
        Alertness.AlertnessVars.IsVisible = true;
        Alertness.AlertnessVars.X = x;
        Alertness.AlertnessVars.Y = y;
        Alertness.AlertnessVars.FrameIndex = frame;
        Alertness.FAlertOnsetPending = true;
    }

    TManualClock Clock;
    TTestImages Images;
    TPlainSettingsControls Controls;
    TRunState Run;
    TSeededRandom Random{7};
    TNoFrames NoFrames{1};
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Sprites{Random, NoFrames, Controls, Run, {Cursor, Sequence, Follower, Alertness}};
    TElapsedHooks Hooks;
};

// A composer over a world, with the frame loop it reads "fein" and the statistics from.
struct TComposerUnderTest {
    TComposerUnderTest(TComposeWorld& world, int processors)
        : Composer(std::make_unique<TCairoFrameComposer>(world.Parts(), processors)),
          Loop(TFrameLoopParts{world.Clock, Wait, Pacing, Settings, world.Run, world.Sprites,
                               world.Hooks, *Composer, Window},
               1.0 / 60) {
        Composer->SetFrameLoop(&Loop);
    }
    // Composes one frame of width x height on the back buffer, with the band workers.
    void Compose(int width, int height) {
        Composer->EnsureBackBuffer(width, height);
        Composer->DrawFrame(true, width, height);
    }
    std::uint32_t Pixel(int x, int y) const {
        const TBackBuffer& back = Composer->BackBuffer();
        std::uint32_t value;
        std::memcpy(&value, back.FBackBits + (static_cast<size_t>(y) * back.FBackW + x) * 4, 4);
        return value;
    }
    std::vector<std::uint8_t> Bytes() const {
        const TBackBuffer& back = Composer->BackBuffer();
        return {back.FBackBits,
                back.FBackBits + static_cast<size_t>(back.FBackW) * back.FBackH * 4};
    }

    TQuietWait Wait;
    TQuietPacing Pacing;
    TMemoryProgramSettings Settings;
    TNoWindow Window;
    std::unique_ptr<TCairoFrameComposer> Composer;
    TFrameLoop Loop;
};

} // namespace kalvero::test
