#pragma once

namespace kalvero {

class TSequencePlayer;

// The time left for the shown entry of a playing sequence. The simulation step advances it by
// the time of every active, unpaused frame of a run, so pauses never shorten an entry. When the
// time has run out the attached player shows its next entry.
class TSequenceTimer {
public:
    // The player whose entries the timer counts; null detaches.
    void Attach(TSequencePlayer* player) { FPlayer = player; }
    // While the attached player is playing: counts down by dt seconds; at or below 0 the next
    // entry applies (an entry of 0 seconds is therefore shown for one frame).
    void Advance(double dt);

    double FPlaylistTimer = 0.0; // seconds left for the current entry

private:
    TSequencePlayer* FPlayer = nullptr;
};

} // namespace kalvero
