#pragma once

typedef struct _cairo_surface cairo_surface_t;

namespace kalvero {

// Draws picture over target, scaled into the rectangle (x, y, width, height) with Mitchell
// cubic resampling (B = C = 1/3); the parts outside the target are cut off. Both are image
// surfaces in CAIRO_FORMAT_ARGB32.
void DrawPictureScaled(cairo_surface_t* target, cairo_surface_t* picture, double x, double y,
                       double width, double height);

} // namespace kalvero
