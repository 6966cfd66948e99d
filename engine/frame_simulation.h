#pragma once

namespace kalvero {

// What the frame loop drives once per frame: the sprite field's simulation step.
class TFrameSimulation {
public:
    virtual ~TFrameSimulation() = default;
    // Advances everything that moves by dt seconds (at most 0.1).
    virtual void SimulationStep(double dt) = 0;
    // Number of sprites in the field, for the statistics line.
    virtual int SpriteCount() const = 0;
};

} // namespace kalvero
