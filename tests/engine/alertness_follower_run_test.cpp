// The alertness task and the follower driven by the real frame loop and sprite field, with a
// run control that pauses the way the program does: while paused no frame is simulated.

#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_composer.h"
#include "engine/frame_loop.h"
#include "engine/plain_settings_controls.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/refresh_wait.h"

#include "alertness_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kalvero {
namespace {

using test::TAlertFrames;
using test::TRecordedSounds;

class TNoWait final : public TCompositorWait {
public:
    bool WaitForNextRefresh() override { return true; }
    void SleepAfterFailedWait() override {}
};

class TNoPacing final : public TRunPacing {
public:
    bool RequestTimerResolution() override { return true; }
    void ReleaseTimerResolution() override {}
    void SetRaisedPriority(bool) override {}
};

// Composes nothing, but takes the alertness onset as the real composition does.
class TOnsetComposer final : public TFrameComposer {
public:
    TOnsetComposer(TAlertnessTask& task, const TClock& clock) : FTask(task), FClock(clock) {}
    void EnsureBackBuffer(int width, int height) override {
        FWidth = width;
        FHeight = height;
    }
    bool HasBackBuffer() const override { return true; }
    int BackWidth() const override { return FWidth; }
    int BackHeight() const override { return FHeight; }
    void DrawFrame(bool, int, int) override {
        if (FTask.IsShown())
            FTask.TakeOnset(FClock.NowMs());
    }
    int BandWorkerCount() const override { return 0; }

private:
    TAlertnessTask& FTask;
    const TClock& FClock;
    int FWidth = 0, FHeight = 0;
};

class TScreen final : public TFrameWindow {
public:
    int ClientWidth() const override { return 1920; }
    int ClientHeight() const override { return 1080; }
    void PresentBackBuffer(int, int) override {}
    void ShowPaintBoxFallback() override {}
    void RequestPaintBoxRepaint() override {}
};

// Active time and pauses as the run control keeps them.
class TRunControl final : public TRunHooks {
public:
    TRunControl(const TClock& clock, TRunState& run) : FClock(clock), FRun(run) {}
    void CaptureRunSettings() override { FRun.FRunCaptured = true; }
    std::int64_t ActiveElapsedMs() const override {
        const std::int64_t now = FClock.NowMs();
        std::int64_t ms = now - FStartMs - FPauseAccumMs;
        if (FRun.FPaused)
            ms -= now - FPauseStartMs;
        return std::max<std::int64_t>(ms, 0);
    }
    void StopRun() override { FRun.IsRunning = false; }
    void BeginPause(bool) override {
        FRun.FPaused = true;
        FPauseStartMs = FClock.NowMs();
    }
    // Returns the pause length.
    std::int64_t EndPause() {
        const std::int64_t pauseMs = FClock.NowMs() - FPauseStartMs;
        FPauseAccumMs += pauseMs;
        FRun.FPaused = false;
        return pauseMs;
    }
    void Start() { FStartMs = FClock.NowMs(); }

private:
    const TClock& FClock;
    TRunState& FRun;
    std::int64_t FStartMs = 0, FPauseStartMs = 0, FPauseAccumMs = 0;
};

class EngineRunTest : public ::testing::Test {
protected:
    EngineRunTest() {
        Loop.FVSync = false; // frame times as measured, so they add up to the active time
        Controls.TrackBarNumberOfSprites().SetPosition(0);
        Clock.AdvanceMs(10000);
    }

    // What the run control does at run start.
    void StartRun(bool follower, int alertnessItem, int direction = -1) {
        Controls.checkboxVerfolger().SetChecked(follower);
        Field.BaseSpeedFactor = 20; // 800 px/s
        Field.MoveDirection = direction;
        Run.FRenderWidth = 1920;
        Run.FRenderHeight = 1080;
        Field.RebuildSprites();
        Alertness.ResetAlertness(alertnessItem);
        Follower.ResetForRun();
        Loop.ResetLastTicks();
        RunControl.Start();
        Run.IsRunning = true;
    }
    void Frame(std::int64_t ms = 16) {
        Clock.AdvanceMs(ms);
        bool done = true;
        Loop.AppIdle(done);
    }
    // The pause key, then wall time passing with the idle handler still called.
    void Pause(std::int64_t ms) {
        RunControl.BeginPause(false);
        for (std::int64_t t = 0; t < ms; t += 100)
            Frame(100);
    }
    void EndPause() {
        Alertness.ShiftOnset(RunControl.EndPause());
        Loop.ResetLastTicks();
    }

    TManualClock Clock;
    TSeededRandom Random{5};
    TAlertFrames Frames;
    TRunState Run;
    TPlainSettingsControls Controls;
    TMemoryProgramSettings Settings;
    TRunControl RunControl{Clock, Run};
    TRecordedSounds Sounds;
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness{TAlertnessParts{Clock, Random, Frames, Run, RunControl, Sounds}};
    TSpriteField Field{Random, Frames, Controls, Run, {Cursor, Sequence, Follower, Alertness}};
    TNoWait Wait;
    TNoPacing Pacing;
    TOnsetComposer Composer{Alertness, Clock};
    TScreen Screen;
    TFrameLoop Loop{
        TFrameLoopParts{Clock, Wait, Pacing, Settings, Run, Field, RunControl, Composer, Screen},
        1.0 / 60};
};

TEST_F(EngineRunTest, FollowerKeepsCrossingWithoutSpritesAndItsWaitLeavesPausesOut) {
    StartRun(true, 0);
    for (int crossing = 0; crossing < 2; ++crossing) {
        int frames = 0;
        while (!(Follower.FVerfolgerRespawnTimer > 0) && frames++ < 1000)
            Frame();
        ASSERT_FALSE(Follower.IsShown()) << "crossing " << crossing;
        const std::int64_t leftAt = RunControl.ActiveElapsedMs();
        Frame();
        Pause(10000);
        EndPause();
        while (!Follower.IsShown() && frames++ < 2000)
            Frame();
        const std::int64_t hiddenMs = RunControl.ActiveElapsedMs() - leftAt;
        EXPECT_GE(hiddenMs, 4000);
        EXPECT_LE(hiddenMs, 4000 + 2 * 16);
    }
    EXPECT_TRUE(Field.ActiveSprites.empty());
}

TEST_F(EngineRunTest, StimulusStaysThroughAPauseAndItsReactionTimeLeavesThePauseOut) {
    StartRun(false, 1);
    int frames = 0;
    while (!Alertness.AlertnessVars.IsVisible && frames++ < 200)
        Frame();
    ASSERT_TRUE(Alertness.AlertnessVars.IsVisible);
    ASSERT_FALSE(Alertness.FAlertOnsetPending); // drawn in the pass in which it appeared
    Frame();
    const int frameIndex = Alertness.AlertnessVars.FrameIndex;
    Pause(30000);
    EXPECT_TRUE(Alertness.AlertnessVars.IsVisible);
    EXPECT_EQ(Alertness.AlertnessVars.FrameIndex, frameIndex);
    EndPause();
    Frame();
    Alertness.SpaceBar();
    ASSERT_EQ(Alertness.FStim.size(), 1u);
    EXPECT_EQ(Alertness.FStim[0].Outcome, soHit);
    EXPECT_EQ(Alertness.FStim[0].RtMs, 2 * 16);
    EXPECT_NEAR(Alertness.FStim[0].TimeSec, RunControl.ActiveElapsedMs() / 1000.0, 1e-9);
}

TEST_F(EngineRunTest, StimulusStartsAtTheSideWhereTheSpritesEnter) {
    StartRun(false, 3, 1);
    int frames = 0;
    while (!Alertness.AlertnessVars.IsVisible && frames++ < 200)
        Frame();
    EXPECT_EQ(Alertness.AlertnessVars.X, 50);
    EXPECT_EQ(Alertness.FAlertPosPct, 7); // centre 125 of 1920: 6.51 %
}

} // namespace
} // namespace kalvero
