#pragma once

#include "engine/raster_image.h"

#include <vector>

namespace kalvero {

// One animation in one facing direction and one colour: frame k of the animation is element k.
// The images are shared: the same picture may sit in several lists (a left list and a right
// list that is "same as left", or a scaled copy in the cache). An empty list is allowed.
using FrameList = std::vector<TRasterImage>;

} // namespace kalvero
