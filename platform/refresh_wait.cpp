#include "platform/refresh_wait.h"

#include <cerrno>
#include <cmath>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace kalvero {

namespace {
constexpr std::int64_t NsPerSecond = 1'000'000'000;
constexpr int RaisedNiceStep = 5;

std::int64_t MonotonicNowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * NsPerSecond + now.tv_nsec;
}

bool SleepUntilNs(std::int64_t deadlineNs) {
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(deadlineNs / NsPerSecond);
    deadline.tv_nsec = static_cast<long>(deadlineNs % NsPerSecond);
    int result;
    while ((result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr)) ==
           EINTR) {
    }
    return result == 0;
}
} // namespace

std::int64_t NextRefreshBoundaryNs(std::int64_t nowNs, std::int64_t periodNs) {
    if (periodNs <= 0)
        return nowNs;
    return (nowNs / periodNs + 1) * periodNs;
}

TRefreshBoundaryWait::TRefreshBoundaryWait(double periodSeconds)
    : FPeriodNs(std::isfinite(periodSeconds) && periodSeconds > 0
                    ? static_cast<std::int64_t>(std::llround(periodSeconds * NsPerSecond))
                    : 0) {}

bool TRefreshBoundaryWait::WaitForNextRefresh() {
    if (FPeriodNs <= 0)
        return false;
    return SleepUntilNs(NextRefreshBoundaryNs(MonotonicNowNs(), FPeriodNs));
}

void TRefreshBoundaryWait::SleepAfterFailedWait() {
    SleepUntilNs(MonotonicNowNs() + NsPerSecond / 1000);
}

void TThreadPacing::SetRaisedPriority(bool raised) {
    if (raised == FRaised)
        return;
    const auto thread = static_cast<id_t>(gettid());
    if (raised) {
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, thread);
        if (errno != 0)
            return;
        FNormalNice = nice;
        if (setpriority(PRIO_PROCESS, thread, nice - RaisedNiceStep) == 0)
            FRaised = true;
    } else {
        setpriority(PRIO_PROCESS, thread, FNormalNice);
        FRaised = false;
    }
}

} // namespace kalvero
