#pragma once

#include <cstdint>

namespace kalvero {

// The wait after each presented frame in "Takt" mode: until the display's next refresh.
class TCompositorWait {
public:
    virtual ~TCompositorWait() = default;
    // Blocks until the next refresh boundary; false when no such wait is possible.
    virtual bool WaitForNextRefresh() = 0;
    // The short sleep used instead when the wait failed (1 ms), so the loop still yields.
    virtual void SleepAfterFailedWait() = 0;
};

// The first multiple of periodNs that lies after nowNs.
std::int64_t NextRefreshBoundaryNs(std::int64_t nowNs, std::int64_t periodNs);

// Sleeps to the next multiple of the refresh period on CLOCK_MONOTONIC (absolute deadline, so
// late wake-ups do not add up). Fails when the period is not positive.
class TRefreshBoundaryWait final : public TCompositorWait {
public:
    explicit TRefreshBoundaryWait(double periodSeconds);
    bool WaitForNextRefresh() override;
    void SleepAfterFailedWait() override;

private:
    std::int64_t FPeriodNs;
};

// What a run asks of the operating system for steady frame pacing.
class TRunPacing {
public:
    virtual ~TRunPacing() = default;
    // Requests a 1 ms system timer resolution; true when it is in effect.
    virtual bool RequestTimerResolution() = 0;
    virtual void ReleaseTimerResolution() = 0;
    // Raises the calling thread's priority above normal, or returns it to normal.
    virtual void SetRaisedPriority(bool raised) = 0;
};

// Linux: timers are already fine-grained, so the resolution request just succeeds; the priority
// is changed through the thread's nice value, best effort (failures are ignored).
class TThreadPacing final : public TRunPacing {
public:
    bool RequestTimerResolution() override { return true; }
    void ReleaseTimerResolution() override {}
    void SetRaisedPriority(bool raised) override;

private:
    bool FRaised = false;
    int FNormalNice = 0;
};

} // namespace kalvero
