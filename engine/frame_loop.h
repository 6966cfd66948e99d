#pragma once

#include <QString>
#include <cstdint>

namespace kalvero {

class TClock;
class TCompositorWait;
class TRunPacing;
class TProgramSettings;
class TFrameSimulation;
class TFrameComposer;
struct TRunState;

// What the frame loop asks of the run control and the run recording.
class TRunHooks {
public:
    virtual ~TRunHooks() = default;
    // Captures the run's settings for the protocol; sets FRunCaptured.
    virtual void CaptureRunSettings() = 0;
    // Milliseconds since the run started, pauses not counted, never negative.
    virtual std::int64_t ActiveElapsedMs() const = 0;
    // Ends the run (uses FStopReason, clears IsRunning, restores the settings screen).
    virtual void StopRun() = 0;
    // Begins a pause; sets FPaused and presents one frame showing the pause screen.
    virtual void BeginPause(bool reminder) = 0;
};

// What the frame loop asks of the window that shows the frames.
class TFrameWindow {
public:
    virtual ~TFrameWindow() = default;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Copies the rectangle 0, 0, width, height of the back buffer to the window.
    virtual void PresentBackBuffer(int width, int height) = 0;
    // Without a back buffer frames are drawn by the paint box: make it visible and repaint it.
    virtual void ShowPaintBoxFallback() = 0;
    virtual void RequestPaintBoxRepaint() = 0;
};

struct TFrameLoopParts {
    const TClock& Stopwatch;
    TCompositorWait& CompositorWait;
    TRunPacing& Pacing;
    TProgramSettings& ProgramSettings;
    TRunState& Run;
    TFrameSimulation& Simulation;
    TRunHooks& RunHooks;
    TFrameComposer& Composer;
    TFrameWindow& Window;
};

// Refresh period from the display's refresh rate in Hz; 1/60 s unless the rate is above 1.
double RefreshPeriodFromRate(double hz);

// A decimal with halves rounded away from zero, as the statistics line shows it.
QString FormatFixed(double value, int decimals);

// Totals of a run from its start (benchmarks read them).
struct TFrameTotals {
    std::int64_t Frames = 0;
    double LongestGapMs = 0.0;  // longest time between two frames
    std::int64_t LongGaps = 0;  // times between two frames of more than 100 ms
    double LongestDrawMs = 0.0; // longest composing and presenting of one frame
};

// The frame loop: one pass per idle notification while a run is active and not paused. Measures
// the frame time, advances the simulation, checks the time limit and the pause reminder, draws
// and presents the frame and keeps the frame statistics. "Takt" and "Fein" are read from the
// program settings at construction (default on).
class TFrameLoop {
public:
    TFrameLoop(TFrameLoopParts parts, double refreshPeriod);

    // One pass. Done is set to false only when a frame was presented and the loop is to go on.
    void AppIdle(bool& Done);
    // Composes the frame, copies it to the window, measures its draw time and rolls the
    // statistics over once a second.
    void RenderAndPresent();

    // Timing duties of the run control: the last-frame reading (run start, end of a pause),
    // start of a run (timer resolution, priority, statistics), end of a run, window destruction.
    void ResetLastTicks();
    void BeginRunTiming();
    void EndRunTiming();
    void ReleaseTiming();

    // Keys F5, F6, F8 during a run.
    void ToggleVSync();
    void ToggleSmooth();
    void ToggleStats() { FShowStats = !FShowStats; }

    const TFrameTotals& Totals() const { return FTotals; }
    // Starts the totals anew, e.g. after a warm-up.
    void ResetTotals() { FTotals = {}; }

    bool FVSync = true;
    bool FSmooth = true;
    bool FShowStats = false;
    bool FTimerRes = false;
    QString FStatText;

    double FRefreshPeriod;
    std::int64_t FLastTicks = 0;
    std::int32_t FStatFrames = 0;
    std::int64_t FStatStartTicks = 0;
    double FStatRenderSum = 0.0;
    double FStatRenderMax = 0.0;
    double FStatGapMax = 0.0;
    std::int32_t FStatMissed = 0;
    std::int32_t FStatMissedTotal = 0;

private:
    TFrameTotals FTotals;

    double MeasureFrameTime();
    double SnapToRefreshes(double dt) const;
    void RollStatistics(std::int64_t t1);
    QString StatisticsLine(std::int64_t t1) const;

    TFrameLoopParts FParts;
};

} // namespace kalvero
