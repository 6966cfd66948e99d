#pragma once

#include <QString>
#include <cstdint>

namespace kalvero {

// State of the current run shared by the display engine and the run control. The run control
// sets and clears the run flags and limits; the frame loop writes the render size every frame,
// FStopReason "Zeit um" and reads the limits; the run recording sets FRunCaptured.
struct TRunState {
    bool IsRunning = false;
    bool FPaused = false;
    bool FPauseIsReminder = false;

    // Display area in pixels and the display's pixel scale (pixels per inch / 96, fixed at run
    // start).
    int FRenderWidth = 0;
    int FRenderHeight = 0;
    float FPx = 1.0f;

    std::int64_t FTimeLimitMs = 0;  // 0 = unlimited
    std::int64_t FPauseEveryMs = 0; // 0 = no pause reminders
    std::int64_t FNextPauseMs = 0;  // active run time of the next reminder
    QString FStopReason;
    bool FRunCaptured = false;
};

} // namespace kalvero
