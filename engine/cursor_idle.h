#pragma once

namespace kalvero {

// Hides the mouse cursor after a while without movement during a run. Not built yet; the
// simulation step already calls Advance first thing every frame.
class TCursorIdle {
public:
    // Adds dt seconds of idle time; once it exceeds 3 seconds the cursor is hidden.
    void Advance(double dt);
};

} // namespace kalvero
