#pragma once

namespace kalvero {

// The timer of a playing sequence. Playback is not built yet; the simulation step already
// calls Advance every frame of an active run.
class TSequenceTimer {
public:
    // Counts the current entry's time down by dt seconds; at or below 0 the next entry applies.
    void Advance(double dt);
};

} // namespace kalvero
