#include "searchtest/search_picture.h"

#include <QImage>
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <pixman.h>

namespace kalvero {

TSearchPicture& TSearchPicture::operator=(TSearchPicture&& other) noexcept {
    if (this != &other) {
        if (FSurface)
            cairo_surface_destroy(FSurface);
        FSurface = other.FSurface;
        other.FSurface = nullptr;
    }
    return *this;
}

TSearchPicture::~TSearchPicture() {
    if (FSurface)
        cairo_surface_destroy(FSurface);
}

TSearchPicture TSearchPicture::Create(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return {};
    }
    return TSearchPicture(s);
}

int TSearchPicture::Width() const {
    return FSurface ? cairo_image_surface_get_width(FSurface) : 0;
}

int TSearchPicture::Height() const {
    return FSurface ? cairo_image_surface_get_height(FSurface) : 0;
}

unsigned TSearchPicture::PixelAt(int x, int y) const {
    if (!FSurface || x < 0 || y < 0 || x >= Width() || y >= Height())
        return 0;
    cairo_surface_flush(FSurface);
    const unsigned char* row =
        cairo_image_surface_get_data(FSurface) + y * cairo_image_surface_get_stride(FSurface);
    std::uint32_t value;
    std::memcpy(&value, row + x * 4, 4);
    return value;
}

TSearchPicture CopySearchPicture(const TSearchPicture& source) {
    TSearchPicture copy = TSearchPicture::Create(source.Width(), source.Height());
    if (!copy)
        return copy;
    cairo_surface_flush(source.Surface());
    cairo_surface_flush(copy.Surface());
    const int stride = cairo_image_surface_get_stride(source.Surface());
    std::memcpy(cairo_image_surface_get_data(copy.Surface()),
                cairo_image_surface_get_data(source.Surface()),
                static_cast<std::size_t>(stride) * source.Height());
    cairo_surface_mark_dirty(copy.Surface());
    return copy;
}

TSearchPicture LoadSearchPicture(const QString& path) {
    QImage image;
    if (!image.load(path))
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    TSearchPicture picture = TSearchPicture::Create(image.width(), image.height());
    if (!picture)
        return {};
    cairo_surface_t* s = picture.Surface();
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(data + y * stride, image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * 4);
    cairo_surface_mark_dirty(s);
    return picture;
}

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
