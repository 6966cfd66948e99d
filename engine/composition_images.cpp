#include "engine/composition_images.h"

#include "engine/image_catalogue.h"

namespace kalvero {

void TCatalogueImages::Prepare(const TFrameRequest& request) {
    FCatalogue.PrepareSpriteFrames(request);
    FCatalogue.PrepareBackgroundStrip(request);
}

const TRasterImage& TCatalogueImages::BgStrip() const {
    return FCatalogue.BgStrip();
}

const FrameList* TCatalogueImages::CurFrames(int colour, int direction) const {
    return FCatalogue.CurFrames(colour, direction);
}

const FrameList* TCatalogueImages::VerfolgerScaled() const {
    return FCatalogue.VerfolgerScaled();
}

const FrameList* TCatalogueImages::AlertScaled(int index) const {
    return FCatalogue.AlertScaled(index);
}

} // namespace kalvero
