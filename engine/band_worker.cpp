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
    FKicked.fetch_add(1, std::memory_order_acq_rel);
    FStartEvent.Set();
}

bool TBandWorker::Claim(std::uint64_t frame) {
    std::uint64_t claimed = FClaimed.load(std::memory_order_acquire);
    while (claimed < frame)
        if (FClaimed.compare_exchange_weak(claimed, frame, std::memory_order_acq_rel))
            return true;
    return false;
}

bool TBandWorker::TakeOver() {
    return Claim(FKicked.load(std::memory_order_acquire));
}

void TBandWorker::WaitDone() {
    const std::uint64_t frame = FKicked.load(std::memory_order_acquire);
    std::unique_lock lock(FDoneMutex);
    FDoneSignal.wait_for(lock, std::chrono::milliseconds(DoneTimeoutMs),
                         [&] { return FDone >= frame; });
}

void TBandWorker::Execute() {
    RaiseOwnPriority();
    while (!FTerminated.load()) {
        FStartEvent.Wait();
        if (FTerminated.load())
            return;
        const std::uint64_t frame = FKicked.load(std::memory_order_acquire);
        if (!Claim(frame))
            continue; // drawn by the composing thread already
        try {
            if (FProc && *FProc)
                (*FProc)(FIndex);
        } catch (...) {
            // The band stays as far as it got; the frame goes on.
        }
        {
            std::lock_guard lock(FDoneMutex);
            FDone = frame;
        }
        FDoneSignal.notify_all();
    }
}

} // namespace kalvero
