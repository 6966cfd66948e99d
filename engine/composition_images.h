#pragma once

#include "engine/frame_list.h"

namespace kalvero {

class TImageCatalogue;
struct TFrameRequest;

// The prepared pictures the frame composition draws from: the background strip, the current
// sprite frame lists, the follower list and the three alertness lists. Prepare runs on the
// composing thread before any band worker starts; the band workers only read afterwards.
class TCompositionImages {
public:
    virtual ~TCompositionImages() = default;
    // PrepareSpriteFrames and PrepareBackgroundStrip for the state of the display.
    virtual void Prepare(const TFrameRequest& request) = 0;
    // The pre-tiled background strip; absent when there is none.
    virtual const TRasterImage& BgStrip() const = 0;
    // colour 0 .. 2, direction 0 left, 1 right; null when absent.
    virtual const FrameList* CurFrames(int colour, int direction) const = 0;
    virtual const FrameList* VerfolgerScaled() const = 0;
    // index 0 Stern, 1 Drache, 2 Smiley; null when absent.
    virtual const FrameList* AlertScaled(int index) const = 0;
};

// The prepared pictures of the picture catalogue.
class TCatalogueImages final : public TCompositionImages {
public:
    explicit TCatalogueImages(TImageCatalogue& catalogue) : FCatalogue(catalogue) {}
    void Prepare(const TFrameRequest& request) override;
    const TRasterImage& BgStrip() const override;
    const FrameList* CurFrames(int colour, int direction) const override;
    const FrameList* VerfolgerScaled() const override;
    const FrameList* AlertScaled(int index) const override;

private:
    TImageCatalogue& FCatalogue;
};

} // namespace kalvero
