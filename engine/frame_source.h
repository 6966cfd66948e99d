#pragma once

namespace kalvero {

// What the scaled frame caches and the background strip are made for: the state of the
// display at the moment of the call. Filled by the sprite field from its working copies.
struct TFrameRequest {
    int SpriteType = 0;      // CurrentSpriteType: stimulus set 0 .. 14, anything else has no frames
    int BackgroundIndex = 0; // CurrentBackgroundIndex: 0 .. number of backgrounds - 1
    float Px = 1.0f;         // FPx: display pixel scale, fixed at run start
    int RenderWidth = 0;     // FRenderWidth, pixels
    int RenderHeight = 0;    // FRenderHeight, pixels
};

// The part of the picture catalogue that the moving sprite field (and the follower and the
// alertness task) needs: frame counts, the widths of the scaled first frames and the two
// "bring the caches up to date" calls. The image catalogue (TImageCatalogue) implements it;
// tests implement it with fixed numbers.
//
// All widths are in display pixels of the scaled frames; 0 means "that list is empty" (the
// caller then uses its own fallback width, e.g. 100 x FPx for sprites).
class TFrameSource {
public:
    virtual ~TFrameSource() = default;

    // Makes the scaled frame lists of the request's stimulus set (all colour variants, both
    // directions), the scaled follower list and the three scaled alertness lists current.
    // Called at run start and in every simulation step; cheap when nothing changed.
    virtual void PrepareSpriteFrames(const TFrameRequest& request) = 0;

    // Makes the background strip for the request's background index and render size current.
    // Called at the same places as PrepareSpriteFrames.
    virtual void PrepareBackgroundStrip(const TFrameRequest& request) = 0;

    // Number of frames in the plain (colour 0), leftward, unscaled list of a stimulus set;
    // 0 for an empty list or a set outside 0 .. 14.
    virtual int PlainFrameCount(int spriteType) const = 0;

    // Width of the first frame of the current set's first scaled list (colour 0, leftward)
    // as made by the last PrepareSpriteFrames; 0 when that list is empty or none was made.
    virtual int CurrentSpriteWidth() const = 0;

    // Width of one tile of the background strip made by the last PrepareBackgroundStrip;
    // 0 when there is no strip.
    virtual int BackgroundTileWidth() const = 0;

    // Number of frames of the unscaled follower list, and the width of its first scaled frame
    // (0 when empty).
    virtual int FollowerFrameCount() const = 0;
    virtual int FollowerWidth() const = 0;

    // Alertness pictures. AlertnessFrameCount: length of the unscaled list of mode 1 "Stern",
    // 2 "Drache", any other mode "Smiley". AlertnessWidth: width of the first scaled frame of
    // mode 1 .. 3; 0 when that list is empty or for any other mode.
    virtual int AlertnessFrameCount(int mode) const = 0;
    virtual int AlertnessWidth(int mode) const = 0;
};

} // namespace kalvero
