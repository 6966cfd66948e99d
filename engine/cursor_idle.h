#pragma once

namespace kalvero {

// What hides and shows the mouse cursor over the display.
class TCursorDisplay {
public:
    virtual ~TCursorDisplay() = default;
    virtual void SetCursorHidden(bool hidden) = 0;
};

// Hides the mouse cursor after 3 seconds without movement during a run and shows it again at
// the next movement and at the end of the run. Without a display connected only the state is
// kept. The simulation step calls Advance first thing every frame of a run.
class TCursorIdle {
public:
    static constexpr double HideAfterSec = 3.0;

    void Connect(TCursorDisplay* display) { FDisplay = display; }

    // Adds dt seconds of idle time; once it exceeds 3 seconds the cursor is hidden.
    void Advance(double dt);
    // Mouse movement during a run: idle time 0, a hidden cursor comes back.
    void MouseMoved();
    // Run start: no idle time, the cursor counts as shown.
    void ResetForRun();
    // Run end: a hidden cursor comes back.
    void ShowAgain();

    double FCursorIdleTime = 0.0; // seconds since the last mouse movement during a run
    bool FCursorIsHidden = false;

private:
    void SetHidden(bool hidden);

    TCursorDisplay* FDisplay = nullptr;
};

} // namespace kalvero
