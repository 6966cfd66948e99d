#include "engine/frame_loop.h"

#include "engine/frame_composer.h"
#include "engine/frame_simulation.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "platform/clock.h"
#include "platform/refresh_wait.h"

#include <algorithm>
#include <cmath>

namespace kalvero {

namespace {
constexpr double MaxFrameTime = 0.1;  // seconds; longer stalls move objects no further
constexpr double MissedFactor = 1.5;  // a frame longer than 1.5 refreshes missed one
constexpr double SnapTolerance = 0.3; // snap when within 0.3 refreshes of a whole number
constexpr double TicksPerSecond = TClock::TicksPerSecond;

const QString TaktKey = QStringLiteral("Takt");
const QString FeinKey = QStringLiteral("Fein");

QString OnOff(bool on) {
    return on ? QStringLiteral("an") : QStringLiteral("aus");
}

QString StoredFlag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

double RefreshPeriodFromRate(double hz) {
    return std::isfinite(hz) && hz > 1.0 ? 1.0 / hz : 1.0 / 60.0;
}

QString FormatFixed(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return QString::number(std::round(value * scale) / scale, 'f', decimals);
}

TFrameLoop::TFrameLoop(TFrameLoopParts parts, double refreshPeriod)
    : FRefreshPeriod(refreshPeriod), FParts(parts) {
    FVSync = FParts.ProgramSettings.ProgramValue(TaktKey, QStringLiteral("1")) == "1";
    FSmooth = FParts.ProgramSettings.ProgramValue(FeinKey, QStringLiteral("1")) == "1";
}

double TFrameLoop::MeasureFrameTime() {
    const std::int64_t now = FParts.Stopwatch.NowTicks();
    const double dt = static_cast<double>(now - FLastTicks) / TicksPerSecond;
    FLastTicks = now;
    FStatGapMax = std::max(FStatGapMax, dt * 1000.0);
    FTotals.LongestGapMs = std::max(FTotals.LongestGapMs, dt * 1000.0);
    FTotals.LongGaps += dt > MaxFrameTime;
    if (FVSync && FRefreshPeriod > 0 && dt > MissedFactor * FRefreshPeriod) {
        ++FStatMissed;
        ++FStatMissedTotal;
    }
    return dt;
}

double TFrameLoop::SnapToRefreshes(double dt) const {
    if (!FVSync || FRefreshPeriod <= 0)
        return dt;
    // Nearest whole number of refreshes, halves to the even one.
    const double n = std::max(1.0, std::nearbyint(dt / FRefreshPeriod));
    const double snapped = n * FRefreshPeriod;
    return std::abs(dt - snapped) < SnapTolerance * FRefreshPeriod ? snapped : dt;
}

void TFrameLoop::AppIdle(bool& Done) {
    TRunState& run = FParts.Run;
    Done = true;
    if (!run.IsRunning || run.FPaused)
        return;
    const double dt = std::min(SnapToRefreshes(MeasureFrameTime()), MaxFrameTime);
    FParts.Simulation.SimulationStep(dt);
    if (!run.FRunCaptured)
        FParts.RunHooks.CaptureRunSettings();
    if (run.FTimeLimitMs > 0 && FParts.RunHooks.ActiveElapsedMs() >= run.FTimeLimitMs) {
        run.FStopReason = QStringLiteral("Zeit um");
        FParts.RunHooks.StopRun();
        FParts.Window.RequestPaintBoxRepaint();
        return;
    }
    if (run.FPauseEveryMs > 0 && FParts.RunHooks.ActiveElapsedMs() >= run.FNextPauseMs) {
        run.FNextPauseMs += run.FPauseEveryMs;
        FParts.RunHooks.BeginPause(true);
        return;
    }
    RenderAndPresent();
    if (FVSync && !FParts.CompositorWait.WaitForNextRefresh())
        FParts.CompositorWait.SleepAfterFailedWait();
    Done = false;
}

void TFrameLoop::RenderAndPresent() {
    const std::int64_t t0 = FParts.Stopwatch.NowTicks();
    TFrameComposer& composer = FParts.Composer;
    composer.EnsureBackBuffer(FParts.Window.ClientWidth(), FParts.Window.ClientHeight());
    if (!composer.HasBackBuffer()) {
        FParts.Window.ShowPaintBoxFallback();
        return;
    }
    const int width = composer.BackWidth();
    const int height = composer.BackHeight();
    FParts.Run.FRenderWidth = width;
    FParts.Run.FRenderHeight = height;
    composer.DrawFrame(true, width, height);
    FParts.Window.PresentBackBuffer(width, height);

    const std::int64_t t1 = FParts.Stopwatch.NowTicks();
    const double ms = static_cast<double>(t1 - t0) * 1000.0 / TicksPerSecond;
    ++FStatFrames;
    FStatRenderSum += ms;
    FStatRenderMax = std::max(FStatRenderMax, ms);
    ++FTotals.Frames;
    FTotals.LongestDrawMs = std::max(FTotals.LongestDrawMs, ms);
    RollStatistics(t1);
}

void TFrameLoop::RollStatistics(std::int64_t t1) {
    if (FStatStartTicks == 0 || FStatStartTicks > t1) {
        FStatStartTicks = t1;
        return;
    }
    if (t1 - FStatStartTicks < TClock::TicksPerSecond)
        return;
    FStatText = StatisticsLine(t1);
    FStatMissed = 0;
    FStatGapMax = 0.0;
    FStatFrames = 0;
    FStatRenderSum = 0.0;
    FStatRenderMax = 0.0;
    FStatStartTicks = t1;
}

QString TFrameLoop::StatisticsLine(std::int64_t t1) const {
    const double fps = FStatFrames * TicksPerSecond / static_cast<double>(t1 - FStatStartTicks);
    const double meanMs = FStatRenderSum / std::max(FStatFrames, 1);
    return QStringLiteral("%1 x %2   %3 Bilder/s   Zeichnen %4 ms (max %5)   Abstand max %6 ms   "
                          "verpasst %7 (ges. %8)   Takt %9 (F5)   fein %10 (F6)   %11 Reize   "
                          "%12 Threads")
        .arg(FParts.Composer.BackWidth())
        .arg(FParts.Composer.BackHeight())
        .arg(FormatFixed(fps, 0), FormatFixed(meanMs, 1), FormatFixed(FStatRenderMax, 1),
             FormatFixed(FStatGapMax, 1))
        .arg(FStatMissed)
        .arg(FStatMissedTotal)
        .arg(OnOff(FVSync), OnOff(FSmooth))
        .arg(FParts.Simulation.SpriteCount())
        .arg(FParts.Composer.BandWorkerCount() + 1);
}

void TFrameLoop::ResetLastTicks() {
    FLastTicks = FParts.Stopwatch.NowTicks();
}

void TFrameLoop::BeginRunTiming() {
    if (!FTimerRes)
        FTimerRes = FParts.Pacing.RequestTimerResolution();
    FParts.Pacing.SetRaisedPriority(true);
    FStatMissedTotal = 0;
    FStatMissed = 0;
    FStatGapMax = 0.0;
    FTotals = {};
}

void TFrameLoop::EndRunTiming() {
    FParts.Pacing.SetRaisedPriority(false);
    ReleaseTiming();
}

void TFrameLoop::ReleaseTiming() {
    if (FTimerRes) {
        FParts.Pacing.ReleaseTimerResolution();
        FTimerRes = false;
    }
}

void TFrameLoop::ToggleVSync() {
    FVSync = !FVSync;
    FParts.ProgramSettings.SetProgramValue(TaktKey, StoredFlag(FVSync));
    FShowStats = true;
}

void TFrameLoop::ToggleSmooth() {
    FSmooth = !FSmooth;
    FParts.ProgramSettings.SetProgramValue(FeinKey, StoredFlag(FSmooth));
    FShowStats = true;
}

} // namespace kalvero
