#pragma once

#include "engine/raster_image.h"

namespace kalvero {

// round(length x factor), halves to the even neighbour, at least 1.
int ScaledLength(int length, float factor);

// The image resampled by a factor: round(width x s) x round(height x s) pixels. Factors below 1
// use linear filtering with area averaging (the effect of linear mipmapping); factors of 1 and
// above use bicubic resampling with the Mitchell filter (B = C = 1/3). When the size does not
// change the result is the input itself (the picture would only be softened). The input is
// returned as well when no scaled image can be made.
TRasterImage ScaleImage(const TRasterImage& image, float s);

} // namespace kalvero
