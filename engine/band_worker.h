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
// far as it got), reports the band done and waits again.
//
// Every Kick starts a new frame. The band of a frame is drawn exactly once: by the worker, or,
// when the worker has not woken up yet by the time the composing thread gets to it (a busy
// machine), by the composing thread itself (TakeOver). A worker that wakes up late for a frame
// that is already drawn does nothing, so it can never mix up two frames.
class TBandWorker {
public:
    static constexpr std::int64_t DoneTimeoutMs = 1000;

    // Starts the thread at once, one priority step above normal (best effort).
    TBandWorker(int AIndex, std::shared_ptr<const TBandProc> AProc);
    // Asks the thread to end, wakes it and waits until it has ended.
    ~TBandWorker();
    TBandWorker(const TBandWorker&) = delete;
    TBandWorker& operator=(const TBandWorker&) = delete;

    // Starts drawing the band of a new frame.
    void Kick();
    // True when the worker had not started the band of the current frame: the caller now owns
    // it and draws it itself. False when the worker is drawing it (then call WaitDone).
    bool TakeOver();
    // Waits until the worker has drawn the band of the current frame, at most DoneTimeoutMs;
    // the caller goes on either way.
    void WaitDone();

    int Index() const { return FIndex; }

private:
    void Execute();
    bool Claim(std::uint64_t frame);

    const int FIndex;
    const std::shared_ptr<const TBandProc> FProc;
    TAutoResetEvent FStartEvent;
    std::atomic<bool> FTerminated{false};
    std::atomic<std::uint64_t> FKicked{0};  // frame of the latest Kick
    std::atomic<std::uint64_t> FClaimed{0}; // latest frame whose band someone has taken
    std::mutex FDoneMutex;
    std::condition_variable FDoneSignal;
    std::uint64_t FDone = 0; // latest frame whose band the worker has drawn
    std::thread FThread;
};

} // namespace kalvero
