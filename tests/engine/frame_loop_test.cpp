#include "engine/frame_composer.h"
#include "engine/frame_loop.h"
#include "engine/frame_simulation.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "platform/clock.h"
#include "platform/refresh_wait.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <deque>
#include <vector>

namespace kalvero {
namespace {

constexpr std::int64_t Ms = 1'000'000; // ticks per millisecond
constexpr double Hz60 = 1.0 / 60.0;

struct TEventLog {
    QStringList Events;
};

class TFakeWait final : public TCompositorWait {
public:
    explicit TFakeWait(TEventLog& log) : FLog(log) {}
    bool WaitForNextRefresh() override {
        FLog.Events << "wait";
        return Succeeds;
    }
    void SleepAfterFailedWait() override { FLog.Events << "sleep"; }
    bool Succeeds = true;

private:
    TEventLog& FLog;
};

class TFakePacing final : public TRunPacing {
public:
    bool RequestTimerResolution() override {
        ++Requests;
        return Grants;
    }
    void ReleaseTimerResolution() override { ++Releases; }
    void SetRaisedPriority(bool raised) override { Raised = raised; }
    bool Grants = true;
    int Requests = 0, Releases = 0;
    bool Raised = false;
};

class TFakeSimulation final : public TFrameSimulation {
public:
    explicit TFakeSimulation(TEventLog& log) : FLog(log) {}
    void SimulationStep(double dt) override {
        Steps.push_back(dt);
        FLog.Events << "step";
    }
    int SpriteCount() const override { return 40; }
    std::vector<double> Steps;

private:
    TEventLog& FLog;
};

class TFakeHooks final : public TRunHooks {
public:
    TFakeHooks(TEventLog& log, TRunState& run) : FLog(log), FRun(run) {}
    void CaptureRunSettings() override {
        FLog.Events << "capture";
        FRun.FRunCaptured = true;
    }
    std::int64_t ActiveElapsedMs() const override { return ElapsedMs; }
    void StopRun() override {
        FLog.Events << "stop:" + FRun.FStopReason;
        FRun.IsRunning = false;
    }
    void BeginPause(bool reminder) override {
        FLog.Events << (reminder ? "reminder" : "pause");
        FRun.FPaused = true;
    }
    std::int64_t ElapsedMs = 0;

private:
    TEventLog& FLog;
    TRunState& FRun;
};

// Draws by advancing the clock by the queued draw times (5 ms when the queue is empty).
class TFakeComposer final : public TFrameComposer {
public:
    TFakeComposer(TEventLog& log, TManualClock& clock) : FLog(log), FClock(clock) {}
    void EnsureBackBuffer(int width, int height) override {
        if (HasSurface) {
            FWidth = width;
            FHeight = height;
        }
    }
    bool HasBackBuffer() const override { return HasSurface; }
    int BackWidth() const override { return FWidth; }
    int BackHeight() const override { return FHeight; }
    void DrawFrame(bool allowBandWorkers, int, int) override {
        EXPECT_TRUE(allowBandWorkers);
        FLog.Events << "draw";
        std::int64_t ticks = 5 * Ms;
        if (!DrawTicks.empty()) {
            ticks = DrawTicks.front();
            DrawTicks.pop_front();
        }
        FClock.AdvanceTicks(ticks);
    }
    int BandWorkerCount() const override { return 3; }
    bool HasSurface = true;
    std::deque<std::int64_t> DrawTicks;

private:
    TEventLog& FLog;
    TManualClock& FClock;
    int FWidth = 0, FHeight = 0;
};

class TFakeWindow final : public TFrameWindow {
public:
    explicit TFakeWindow(TEventLog& log) : FLog(log) {}
    int ClientWidth() const override { return 1920; }
    int ClientHeight() const override { return 1080; }
    void PresentBackBuffer(int, int) override { FLog.Events << "present"; }
    void ShowPaintBoxFallback() override { FLog.Events << "fallback"; }
    void RequestPaintBoxRepaint() override { FLog.Events << "repaint"; }

private:
    TEventLog& FLog;
};

class FrameLoopTest : public ::testing::Test {
protected:
    FrameLoopTest() {
        Clock.SetTicks(1000 * Ms);
        Run.IsRunning = true;
        Run.FRunCaptured = true;
    }

    TFrameLoop& Loop(double refreshPeriod = Hz60) {
        if (!FLoop) {
            FLoop =
                std::make_unique<TFrameLoop>(TFrameLoopParts{Clock, Wait, Pacing, Settings, Run,
                                                             Simulation, Hooks, Composer, Window},
                                             refreshPeriod);
            FLoop->ResetLastTicks();
        }
        return *FLoop;
    }
    // One pass that starts `gapTicks` after the previous pass ended.
    bool Pass(std::int64_t gapTicks) {
        Loop();
        Clock.AdvanceTicks(gapTicks);
        Log.Events.clear();
        bool done = false;
        Loop().AppIdle(done);
        return done;
    }

    TEventLog Log;
    TManualClock Clock;
    TFakeWait Wait{Log};
    TFakePacing Pacing;
    TMemoryProgramSettings Settings;
    TRunState Run;
    TFakeSimulation Simulation{Log};
    TFakeHooks Hooks{Log, Run};
    TFakeComposer Composer{Log, Clock};
    TFakeWindow Window{Log};

private:
    std::unique_ptr<TFrameLoop> FLoop;
};

struct TSnapCase {
    bool VSync;
    double FrameMs;
    double UsedMs;
    int Missed;
};

class SnapTest : public FrameLoopTest, public ::testing::WithParamInterface<TSnapCase> {};

TEST_P(SnapTest, FrameTimeIsSnappedToWholeRefreshesAndLateFramesCount) {
    const TSnapCase c = GetParam();
    Settings.SetProgramValue("Takt", c.VSync ? "1" : "0");
    Loop();
    Pass(static_cast<std::int64_t>(c.FrameMs * Ms));
    ASSERT_EQ(Simulation.Steps.size(), 1u);
    EXPECT_NEAR(Simulation.Steps[0] * 1000.0, c.UsedMs, 1e-6);
    EXPECT_EQ(Loop().FStatMissed, c.Missed);
    EXPECT_EQ(Loop().FStatMissedTotal, c.Missed);
}

INSTANTIATE_TEST_SUITE_P(
    At60Hz, SnapTest,
    ::testing::Values(TSnapCase{true, 18.0, 1000.0 / 60, 0}, TSnapCase{true, 22.0, 22.0, 0},
                      TSnapCase{true, 26.0, 26.0, 1}, TSnapCase{true, 33.0, 2000.0 / 60, 1},
                      TSnapCase{true, 8.0, 8.0, 0}, TSnapCase{false, 18.0, 18.0, 0},
                      TSnapCase{false, 33.0, 33.0, 0}));

TEST_F(FrameLoopTest, LongFrameIsCappedForTheSimulationButTheStatisticsKeepIt) {
    Settings.SetProgramValue("Takt", "0");
    Pass(350 * Ms); // starts the statistics period
    EXPECT_DOUBLE_EQ(Simulation.Steps.at(0), 0.1);
    EXPECT_DOUBLE_EQ(Loop().FStatGapMax, 350.0);
    while (Loop().FStatText.isEmpty())
        Pass(11 * Ms);
    EXPECT_TRUE(Loop().FStatText.contains("   Abstand max 350.0 ms   "))
        << Loop().FStatText.toStdString();
}

TEST_F(FrameLoopTest, StatisticsLineRollsOverOnceASecond) {
    Settings.SetProgramValue("Takt", "0");
    Composer.DrawTicks = {9 * Ms};
    int passes = 0;
    Pass(15 * Ms); // first frame: draw 9 ms, starts the period at its end; next gap 24 ms
    ++passes;
    const std::int64_t periodStart = Loop().FStatStartTicks;
    while (Clock.NowTicks() + 20 * Ms - periodStart < 1000 * Ms) {
        Pass(15 * Ms);
        ++passes;
        ASSERT_TRUE(Loop().FStatText.isEmpty()) << "closed early after " << passes;
    }
    Pass(15 * Ms); // this frame ends exactly one second after the period start
    ++passes;
    EXPECT_EQ(passes, 51);
    EXPECT_EQ(Loop().FStatText.toStdString(),
              "1920 x 1080   51 Bilder/s   Zeichnen 5.1 ms (max 9.0)   Abstand max 24.0 ms   "
              "verpasst 0 (ges. 0)   Takt aus (F5)   fein an (F6)   40 Reize   4 Threads");
    EXPECT_EQ(Loop().FStatFrames, 0);
    EXPECT_EQ(Loop().FStatRenderSum, 0.0);
    EXPECT_EQ(Loop().FStatRenderMax, 0.0);
    EXPECT_EQ(Loop().FStatGapMax, 0.0);
    EXPECT_EQ(Loop().FStatStartTicks, Clock.NowTicks());
    EXPECT_EQ(Run.FRenderWidth, 1920);
    EXPECT_EQ(Run.FRenderHeight, 1080);
}

TEST_F(FrameLoopTest, MissedRefreshesResetWithThePeriodButTheTotalStays) {
    Pass(40 * Ms); // 2.4 refreshes: missed
    while (Loop().FStatText.isEmpty())
        Pass(12 * Ms);
    EXPECT_TRUE(Loop().FStatText.contains("verpasst 1 (ges. 1)   Takt an (F5)"));
    EXPECT_EQ(Loop().FStatMissed, 0);
    EXPECT_EQ(Loop().FStatMissedTotal, 1);
}

TEST_F(FrameLoopTest, TimeLimitStopsTheRunBeforeTheReminderAndPresentsNothing) {
    Run.FRunCaptured = false;
    Run.FTimeLimitMs = 60000;
    Run.FPauseEveryMs = 60000;
    Run.FNextPauseMs = 60000;
    Hooks.ElapsedMs = 59999;
    EXPECT_FALSE(Pass(16 * Ms));
    EXPECT_EQ(Log.Events, QStringList({"step", "capture", "draw", "present", "wait"}));
    Hooks.ElapsedMs = 60000;
    EXPECT_TRUE(Pass(16 * Ms));
    EXPECT_EQ(Log.Events, QStringList({"step", "stop:Zeit um", "repaint"}));
    EXPECT_EQ(Run.FNextPauseMs, 60000);
    EXPECT_TRUE(Pass(16 * Ms)); // the run is over: nothing happens any more
    EXPECT_TRUE(Log.Events.isEmpty());
}

TEST_F(FrameLoopTest, ReminderPausesEveryIntervalOfActiveTime) {
    Run.FPauseEveryMs = 20 * 60000;
    Run.FNextPauseMs = 20 * 60000;
    Hooks.ElapsedMs = 20 * 60000;
    EXPECT_TRUE(Pass(16 * Ms));
    EXPECT_EQ(Log.Events, QStringList({"step", "reminder"}));
    EXPECT_EQ(Run.FNextPauseMs, 40 * 60000);
    EXPECT_TRUE(Pass(16 * Ms)); // paused: no pass does anything
    EXPECT_TRUE(Log.Events.isEmpty());
    Run.FPaused = false;
    Hooks.ElapsedMs = 40 * 60000 - 1;
    EXPECT_FALSE(Pass(16 * Ms));
    Hooks.ElapsedMs = 40 * 60000;
    EXPECT_TRUE(Pass(16 * Ms));
    EXPECT_EQ(Run.FNextPauseMs, 60 * 60000);
}

TEST_F(FrameLoopTest, FailedCompositorWaitSleepsAndTaktOffDoesNotWait) {
    Wait.Succeeds = false;
    Pass(16 * Ms);
    EXPECT_EQ(Log.Events.mid(Log.Events.size() - 2), QStringList({"wait", "sleep"}));
    Loop().ToggleVSync();
    Pass(16 * Ms);
    EXPECT_FALSE(Log.Events.contains("wait"));
    EXPECT_FALSE(Log.Events.contains("sleep"));
}

TEST_F(FrameLoopTest, WithoutBackBufferThePaintBoxDrawsAndNoStatisticsAreKept) {
    Composer.HasSurface = false;
    EXPECT_FALSE(Pass(16 * Ms));
    EXPECT_EQ(Log.Events, QStringList({"step", "fallback", "wait"}));
    EXPECT_EQ(Loop().FStatFrames, 0);
    EXPECT_EQ(Loop().FStatStartTicks, 0);
}

TEST_F(FrameLoopTest, PauseEndResetsTheFrameClock) {
    Pass(16 * Ms);
    Clock.AdvanceMs(5000);
    Loop().ResetLastTicks();
    Pass(16 * Ms);
    EXPECT_NEAR(Simulation.Steps.back(), 1.0 / 60, 1e-9);
}

struct TModeCase {
    const char* Stored;
    bool On;
};

class ModeTest : public FrameLoopTest, public ::testing::WithParamInterface<TModeCase> {};

TEST_P(ModeTest, TaktAndFeinAreReadOnceAndF5F6StoreTheNewValue) {
    Settings.SetProgramValue("Takt", GetParam().Stored);
    Settings.SetProgramValue("Fein", GetParam().Stored);
    TFrameLoop& loop = Loop();
    EXPECT_EQ(loop.FVSync, GetParam().On);
    EXPECT_EQ(loop.FSmooth, GetParam().On);
    EXPECT_FALSE(loop.FShowStats);
    loop.ToggleVSync();
    EXPECT_EQ(loop.FVSync, !GetParam().On);
    EXPECT_EQ(Settings.ProgramValue("Takt", "?"), GetParam().On ? "0" : "1");
    EXPECT_TRUE(loop.FShowStats);
    loop.ToggleStats();
    loop.ToggleSmooth();
    EXPECT_EQ(Settings.ProgramValue("Fein", "?"), GetParam().On ? "0" : "1");
    EXPECT_TRUE(loop.FShowStats);
    loop.ToggleStats();
    EXPECT_FALSE(loop.FShowStats);
    EXPECT_EQ(Settings.ProgramValue("Takt", "?"), GetParam().On ? "0" : "1"); // F8 stores nothing
}

INSTANTIATE_TEST_SUITE_P(Stored, ModeTest,
                         ::testing::Values(TModeCase{"1", true}, TModeCase{"0", false},
                                           TModeCase{"ja", false}));

TEST_F(FrameLoopTest, ModesDefaultToOnWithoutStoredValues) {
    EXPECT_TRUE(Loop().FVSync);
    EXPECT_TRUE(Loop().FSmooth);
}

TEST_F(FrameLoopTest, RunTimingRequestsAndReleasesTheTimerResolutionOnce) {
    TFrameLoop& loop = Loop();
    loop.FStatMissedTotal = 7;
    loop.FStatGapMax = 99;
    loop.BeginRunTiming();
    loop.BeginRunTiming();
    EXPECT_EQ(Pacing.Requests, 1);
    EXPECT_TRUE(loop.FTimerRes);
    EXPECT_TRUE(Pacing.Raised);
    EXPECT_EQ(loop.FStatMissedTotal, 0);
    EXPECT_EQ(loop.FStatGapMax, 0.0);
    loop.EndRunTiming();
    EXPECT_FALSE(Pacing.Raised);
    EXPECT_FALSE(loop.FTimerRes);
    EXPECT_EQ(Pacing.Releases, 1);
    loop.ReleaseTiming();
    EXPECT_EQ(Pacing.Releases, 1);
}

TEST_F(FrameLoopTest, RefusedTimerResolutionIsNotReleased) {
    Pacing.Grants = false;
    Loop().BeginRunTiming();
    EXPECT_FALSE(Loop().FTimerRes);
    Loop().EndRunTiming();
    EXPECT_EQ(Pacing.Releases, 0);
}

TEST(RefreshPeriodTest, FromTheDisplayRate) {
    EXPECT_DOUBLE_EQ(RefreshPeriodFromRate(144.0), 1.0 / 144);
    EXPECT_DOUBLE_EQ(RefreshPeriodFromRate(59.94), 1.0 / 59.94);
    for (double rate : {1.0, 0.0, -5.0})
        EXPECT_DOUBLE_EQ(RefreshPeriodFromRate(rate), 1.0 / 60) << rate;
}

TEST(FormatFixedTest, HalvesGoAwayFromZero) {
    EXPECT_EQ(FormatFixed(0.25, 1), "0.3");
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(59.4, 0), "59");
    EXPECT_EQ(FormatFixed(350.0, 1), "350.0");
}

TEST(RefreshBoundaryTest, NextMultipleOfThePeriod) {
    EXPECT_EQ(NextRefreshBoundaryNs(0, 100), 100);
    EXPECT_EQ(NextRefreshBoundaryNs(99, 100), 100);
    EXPECT_EQ(NextRefreshBoundaryNs(100, 100), 200);
    TRefreshBoundaryWait noPeriod(0.0);
    EXPECT_FALSE(noPeriod.WaitForNextRefresh());
}

} // namespace
} // namespace kalvero
