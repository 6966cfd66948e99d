#pragma once

#include "engine/frame_simulation.h"
#include "engine/sprite_obj.h"

#include <memory>
#include <optional>
#include <vector>

namespace kalvero {

class TRandomSource;
class TFrameSource;
class TSettingsControls;
class TFollower;
class TAlertnessTask;
class TSequenceTimer;
class TCursorIdle;
struct TRunState;
struct TFrameRequest;
struct TFollowerInput;

// The components the simulation step advances besides the sprites, in the order it calls them.
struct TSimulationParts {
    TCursorIdle& Cursor;
    TSequenceTimer& Sequence;
    TFollower& Follower;
    TAlertnessTask& Alertness;
};

// Seconds per animation frame of a stimulus set; none for sets that keep the frame chosen at
// spawn (letters, digits, cars, ...). Values outside 0 .. 14 animate at 0.1 s.
std::optional<double> SecondsPerFrame(int spriteType);

// The crowd of moving pictures: the sprite list with its working copies of the settings and the
// per-frame simulation step. Reads the count and the variance from the settings controls.
class TSpriteField final : public TFrameSimulation {
public:
    TSpriteField(TRandomSource& random, TFrameSource& frames, TSettingsControls& controls,
                 const TRunState& run, TSimulationParts parts);
    ~TSpriteField() override;

    std::unique_ptr<TSpriteObj> SpawnSprite();
    // Clears the list, spawns the count of TrackBarNumberOfSprites, then removes the follower.
    void RebuildSprites();
    // Spawns missing sprites at the end or removes surplus ones from the end.
    void AdjustSpriteCount();
    // Recomputes every speed after a change of the speed step or the variance.
    void UpdateSpriteSpeeds();
    void ResetBackOffset() { BackOffset = 0.0; }

    void SimulationStep(double dt) override;
    int SpriteCount() const override { return static_cast<int>(ActiveSprites.size()); }

    // BaseSpeedFactor x 40 x FPx pixels per second.
    double BaseSpeed() const;
    // Frames of the current set's plain leftward list, at least 1.
    int CurrentFrameCount() const;
    // Width of the current set's first scaled frame; 100 x FPx when there is none.
    double SpriteWidth() const;
    // The state the picture caches are prepared for.
    TFrameRequest FrameRequest() const;

    std::vector<std::unique_ptr<TSpriteObj>> ActiveSprites;
    double BaseSpeedFactor = 5.0;
    int MoveDirection = -1; // -1 leftwards (enter at the right), +1 rightwards
    int CurrentSpriteType = 0;
    int CurrentBackgroundIndex = 0;
    double BackOffset = 0.0; // background scroll offset, 0 .. tile width

private:
    int RandomY();
    int RandomColor();
    int VarianceItem() const;
    void ScrollBackground(double dt);
    void MoveSprite(TSpriteObj& sprite, double dt, std::optional<double> secondsPerFrame,
                    int frameCount, double width);
    void ReEnter(TSpriteObj& sprite, int frameCount, double width);
    // What the follower reads this frame.
    TFollowerInput FollowerInput();

    TRandomSource& FRandom;
    TFrameSource& FFrames;
    TSettingsControls& FControls;
    const TRunState& FRun;
    TSimulationParts FParts;
};

} // namespace kalvero
