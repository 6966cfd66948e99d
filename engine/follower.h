#pragma once

#include "engine/sprite_obj.h"

#include <memory>

namespace kalvero {

class TRandomSource;

// What the follower reads each frame, taken by the sprite field from the settings controls,
// its working copies, the run state and the picture catalogue.
struct TFollowerInput {
    bool Enabled = false;   // checkboxVerfolger
    double BaseSpeed = 0.0; // pixels per second
    int MoveDirection = -1; // -1 leftwards, +1 rightwards
    int RenderWidth = 0;    // FRenderWidth
    int RenderHeight = 0;   // FRenderHeight
    float Px = 1.0f;        // FPx
    int FrameCount = 0;     // frames of the follower list
    int Width = 0;          // width of its first scaled frame; 0 when the list is empty
};

// The follower ("Verfolger"): one larger stimulus that crosses the screen in the direction of
// motion at the base speed, waits 4 seconds off screen after each crossing and then crosses
// again at a new random height. The wait only runs down with the frame times handed to
// Advance, so time spent paused does not count.
class TFollower {
public:
    // Advances the follower by dt seconds (last-but-one step of the simulation step): removes
    // it when switched off, counts the wait down, creates it off screen when needed, moves and
    // animates it and sends it back behind the entry edge when it has left the screen.
    void Advance(double dt, const TFollowerInput& input, TRandomSource& random);
    // Frees the follower object; a later frame creates a new one at the start position.
    void Remove() { VerfolgerObj.reset(); }
    // Run start: no wait, the follower comes in right away.
    void ResetForRun() { FVerfolgerRespawnTimer = 0.0; }
    // The composition draws the follower while this holds.
    bool IsShown() const { return VerfolgerObj && FVerfolgerRespawnTimer <= 0.0; }

    std::unique_ptr<TSpriteObj> VerfolgerObj;
    double FVerfolgerRespawnTimer = 0.0; // seconds; while above 0 the follower waits off screen
};

// Follower width: the scaled first frame's width, 150 x FPx when there is none.
double FollowerWidth(const TFollowerInput& input);

} // namespace kalvero
