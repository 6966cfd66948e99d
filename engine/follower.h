#pragma once

#include "engine/sprite_obj.h"

#include <memory>

namespace kalvero {

// The follower ("Verfolger"): one larger stimulus that crosses the screen again and again.
// Its per-frame movement is not built yet; the sprite field already calls Advance every frame,
// removes the follower when the field is rebuilt and gives it the base speed when speeds change.
class TFollower {
public:
    // Advances the follower by dt seconds (last-but-one step of the simulation step).
    void Advance(double dt);
    // Frees the follower object; a later frame creates a new one.
    void Remove() { VerfolgerObj.reset(); }

    std::unique_ptr<TSpriteObj> VerfolgerObj;
    double FVerfolgerRespawnTimer = 0.0;
};

} // namespace kalvero
