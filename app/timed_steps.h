#pragma once

#include <functional>

class QObject;
class QWidget;

namespace kalvero {

// The steps of a self-check of the running program, driven from the event loop: each step waits
// for a condition or a delay and then starts the next. Nothing runs any more once finished.
class TTimedSteps {
public:
    TTimedSteps(QObject& owner, int pollMs) : FOwner(owner), FPollMs(pollMs) {}

    // Runs next as soon as ready holds, checking every poll interval.
    void WaitFor(std::function<bool()> ready, std::function<void()> next);
    // Runs step after ms milliseconds.
    void After(int ms, std::function<void()> step);

    bool Finished() const { return FFinished; }
    // Marks the check as finished; false when it already was.
    bool MarkFinished();

private:
    QObject& FOwner;
    int FPollMs;
    bool FFinished = false;
};

// Ends the program at the end of a self-check: an open modal window and the main window close.
void QuitAfterSelfCheck(QWidget& mainWindow);

} // namespace kalvero
