#include "engine/band_worker.h"

#include <cerrno>
#include <chrono>
#include <sys/resource.h>
#include <unistd.h>

namespace kalvero {

namespace {
// One step above normal: one nice level below the process's. Failures are ignored.
void RaiseOwnPriority() {
    const auto thread = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno == 0)
        setpriority(PRIO_PROCESS, thread, nice - 1);
}
} // namespace

void TAutoResetEvent::Set() {
    {
        std::lock_guard lock(FMutex);
        FSet = true;
    }
    FSignal.notify_one();
}

void TAutoResetEvent::Wait() {
    std::unique_lock lock(FMutex);
    FSignal.wait(lock, [this] { return FSet; });
    FSet = false;
}

bool TAutoResetEvent::WaitFor(std::int64_t timeoutMs) {
    std::unique_lock lock(FMutex);
    if (!FSignal.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return FSet; }))
        return false;
    FSet = false;
    return true;
}

TBandWorker::TBandWorker(int AIndex, std::shared_ptr<const TBandProc> AProc)
    : FIndex(AIndex), FProc(std::move(AProc)), FThread([this] { Execute(); }) {}

TBandWorker::~TBandWorker() {
    FTerminated.store(true);
    FStartEvent.Set();
    if (FThread.joinable())
        FThread.join();
}

void TBandWorker::Kick() {
    if (FOutstanding)
        FDoneEvent.Wait(); // drawing a band always ends; collect the late signal
    FOutstanding = true;
    FStartEvent.Set();
}

void TBandWorker::WaitDone() {
    if (FDoneEvent.WaitFor(DoneTimeoutMs))
        FOutstanding = false;
}

void TBandWorker::Execute() {
    RaiseOwnPriority();
    while (!FTerminated.load()) {
        FStartEvent.Wait();
        if (FTerminated.load())
            return;
        try {
            if (FProc && *FProc)
                (*FProc)(FIndex);
        } catch (...) {
            // The band stays as far as it got; the frame goes on.
        }
        FDoneEvent.Set();
    }
}

} // namespace kalvero
