#include "platform/clock.h"

#include <chrono>

namespace kalvero {

namespace {
std::int64_t SteadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

TStopwatch::TStopwatch() : FStartTicks(SteadyNanoseconds()) {}

std::int64_t TStopwatch::NowTicks() const {
    return SteadyNanoseconds() - FStartTicks;
}

} // namespace kalvero
