#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kalvero {

// An event that one Set wakes exactly one wait for, then resets itself. Initially not set.
class TAutoResetEvent {
public:
    void Set();
    // Waits without limit and consumes the signal.
    void Wait();
    // Waits at most timeoutMs; true when the signal came (and was consumed).
    bool WaitFor(std::int64_t timeoutMs);

private:
    std::mutex FMutex;
    std::condition_variable FSignal;
    bool FSet = false;
};

// The band procedure: draws the band with the given index.
using TBandProc = std::function<void(int)>;

// A thread that draws one band of the frame per Kick. It waits for its start event, calls the
// band procedure with its index (an exception it raises is discarded and the band is left as
// far as it got), sets its done event and waits again.
class TBandWorker {
public:
    static constexpr std::int64_t DoneTimeoutMs = 1000;

    // Starts the thread at once, one priority step above normal (best effort).
    TBandWorker(int AIndex, std::shared_ptr<const TBandProc> AProc);
    // Asks the thread to end, wakes it and waits until it has ended.
    ~TBandWorker();
    TBandWorker(const TBandWorker&) = delete;
    TBandWorker& operator=(const TBandWorker&) = delete;

    // Starts drawing one band. If the previous band was never reported done (WaitDone ran out of
    // time), its done signal is collected first, so that a late signal cannot be mistaken for
    // the end of this band.
    void Kick();
    // Waits for the band to be drawn, at most DoneTimeoutMs; the caller goes on either way.
    void WaitDone();

    int Index() const { return FIndex; }

private:
    void Execute();

    const int FIndex;
    const std::shared_ptr<const TBandProc> FProc;
    TAutoResetEvent FStartEvent;
    TAutoResetEvent FDoneEvent;
    std::atomic<bool> FTerminated{false};
    bool FOutstanding = false; // kicked, done not yet received
    std::thread FThread;
};

} // namespace kalvero
