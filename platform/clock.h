#pragma once

#include <cstdint>

namespace kalvero {

// A monotonic high-resolution clock read as ticks (nanoseconds) and milliseconds.
class TClock {
public:
    static constexpr std::int64_t TicksPerSecond = 1'000'000'000;
    virtual ~TClock() = default;
    virtual std::int64_t NowTicks() const = 0;
    std::int64_t NowMs() const { return NowTicks() / 1'000'000; }
};

// The real stopwatch: steady_clock, started at construction.
class TStopwatch final : public TClock {
public:
    TStopwatch();
    std::int64_t NowTicks() const override;

private:
    std::int64_t FStartTicks;
};

// A clock that only moves when told; for tests and the headless renderer.
class TManualClock final : public TClock {
public:
    std::int64_t NowTicks() const override { return FTicks; }
    void SetTicks(std::int64_t ticks) { FTicks = ticks; }
    void AdvanceTicks(std::int64_t ticks) { FTicks += ticks; }
    void AdvanceMs(std::int64_t ms) { FTicks += ms * 1'000'000; }

private:
    std::int64_t FTicks = 0;
};

} // namespace kalvero
