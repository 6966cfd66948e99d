#pragma once

#include <cstdint>

namespace kalvero {

// State of the alertness task; only the mode is kept so far.
struct TAlertnessState {
    std::int32_t ActiveMode = 0; // 0 off, 1 "Stern", 2 "Drache", 3 "Smiley"
};

// The alertness task. The per-frame update and the reset are not built yet; the sprite field
// calls UpdateAlertness as the last step of every simulation step and applying settings sets
// the mode.
class TAlertnessTask {
public:
    void ResetAlertness();
    void UpdateAlertness(double dt);

    TAlertnessState AlertnessVars;
};

} // namespace kalvero
