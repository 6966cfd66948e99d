#pragma once

#include <cstdint>

namespace kalvero {

class TRasterImage;

// Rows of 32-bit premultiplied pixels (blue, green, red, alpha in memory) that a band or a
// whole frame is drawn into. Row 0 of the target is frame row FrameY0.
struct TPixelTarget {
    std::uint8_t* Pixels = nullptr;
    int Stride = 0; // bytes per row
    int Width = 0;
    int Height = 0;
    int FrameY0 = 0;

    std::uint32_t* Row(int frameY) const {
        return reinterpret_cast<std::uint32_t*>(Pixels +
                                                static_cast<long>(frameY - FrameY0) * Stride);
    }
};

// How a picture is sampled when its position is not a whole pixel.
enum class TSampling {
    Nearest, // the position is rounded to whole pixels
    Linear,  // the picture is interpolated linearly between neighbouring pixels
};

// The drawing primitives of the band workers. Every output row depends only on its frame row,
// never on where a band starts, so a frame drawn in bands equals one drawn in one go byte for
// byte. Positions are taken to 1/256 pixel; whole-pixel positions are plain copies and blends.

// Fills the target's rows frameY0 .. frameY1 - 1 with one colour (0xAARRGGBB, premultiplied).
void FillRows(const TPixelTarget& target, int frameY0, int frameY1, std::uint32_t argb);

// Draws an opaque background strip with its top-left corner at (x, 0) over the rows
// frameY0 .. frameY1 - 1 (the strip is only ever offset horizontally). Whatever the strip does
// not cover is white. With linear sampling a fractional x interpolates horizontally only.
void DrawStripRows(const TPixelTarget& target, int frameY0, int frameY1, const TRasterImage& strip,
                   double x, TSampling sampling);

// Draws a picture unscaled with its top-left corner at (x, y), blended over the target
// (premultiplied source over), clipped to the target's rows frameY0 .. frameY1 - 1 and its
// width. With linear sampling fractional positions are interpolated; outside its edges the
// picture is transparent.
void DrawImageRows(const TPixelTarget& target, int frameY0, int frameY1, const TRasterImage& image,
                   double x, double y, TSampling sampling);

// Premultiplied source-over of one pixel (exposed for tests).
std::uint32_t BlendOver(std::uint32_t source, std::uint32_t destination);

} // namespace kalvero
