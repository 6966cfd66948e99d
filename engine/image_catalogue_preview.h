#pragma once

#include "engine/raster_image.h"

class QImage;

namespace kalvero {

// The bitmap of an image for the settings-screen previews: a QImage with exactly the image's
// pixels (premultiplied ARGB, its own copy); a null QImage for an absent image.
QImage SkImageToBitmap(const TRasterImage& image);

} // namespace kalvero
