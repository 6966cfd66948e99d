#include "searchtest/search_picture.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <pixman.h>

namespace kalvero {

namespace {

pixman_image_t* PixmanOver(cairo_surface_t* surface) {
    return pixman_image_create_bits(
        PIXMAN_a8r8g8b8, cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface),
        reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)),
        cairo_image_surface_get_stride(surface));
}

// Mitchell-Netravali as the reconstruction filter when enlarging, as the sampling filter
// (widened by the scale) when reducing.
void SetMitchellFilter(pixman_image_t* image, double scaleX, double scaleY) {
    const auto reconstruct = [](double s) {
        return s < 1 ? PIXMAN_KERNEL_CUBIC : PIXMAN_KERNEL_IMPULSE;
    };
    const auto sample = [](double s) {
        return s < 1 ? PIXMAN_KERNEL_IMPULSE : PIXMAN_KERNEL_CUBIC;
    };
    int count = 0;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &count, pixman_double_to_fixed(scaleX), pixman_double_to_fixed(scaleY), reconstruct(scaleX),
        reconstruct(scaleY), sample(scaleX), sample(scaleY), 4, 4);
    if (!params)
        return;
    pixman_image_set_filter(image, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
    std::free(params);
}

} // namespace

void DrawPictureScaled(cairo_surface_t* target, cairo_surface_t* picture, double x, double y,
                       double width, double height) {
    if (!target || !picture || !(width > 0) || !(height > 0))
        return;
    const int targetW = cairo_image_surface_get_width(target);
    const int targetH = cairo_image_surface_get_height(target);
    const int left = std::max(0, static_cast<int>(std::floor(x)));
    const int top = std::max(0, static_cast<int>(std::floor(y)));
    const int right = std::min(targetW, static_cast<int>(std::ceil(x + width)));
    const int bottom = std::min(targetH, static_cast<int>(std::ceil(y + height)));
    const int pictureW = cairo_image_surface_get_width(picture);
    const int pictureH = cairo_image_surface_get_height(picture);
    if (right <= left || bottom <= top || pictureW <= 0 || pictureH <= 0)
        return;

    if (pictureW == width && pictureH == height && x == std::floor(x) && y == std::floor(y)) {
        // Not scaled: a plain copy, which Cairo does fastest.
        cairo_t* cr = cairo_create(target);
        cairo_set_source_surface(cr, picture, x, y);
        cairo_paint(cr);
        cairo_destroy(cr);
        return;
    }
    cairo_surface_flush(target);
    cairo_surface_flush(picture);
    pixman_image_t* src = PixmanOver(picture);
    pixman_image_t* dst = PixmanOver(target);
    if (src && dst) {
        // Maps target pixel positions into the picture.
        const double sx = pictureW / width;
        const double sy = pictureH / height;
        pixman_transform_t t;
        pixman_transform_init_identity(&t);
        t.matrix[0][0] = pixman_double_to_fixed(sx);
        t.matrix[0][2] = pixman_double_to_fixed(-x * sx);
        t.matrix[1][1] = pixman_double_to_fixed(sy);
        t.matrix[1][2] = pixman_double_to_fixed(-y * sy);
        pixman_image_set_transform(src, &t);
        pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
        SetMitchellFilter(src, sx, sy);
        pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, left, top, 0, 0, left, top,
                                 right - left, bottom - top);
    }
    if (src)
        pixman_image_unref(src);
    if (dst)
        pixman_image_unref(dst);
    cairo_surface_mark_dirty(target);
}

} // namespace kalvero
