#include "engine/raster_image.h"

#include <cairo.h>
#include <cstring>
#include <utility>

namespace kalvero {

TRasterImage::TRasterImage(const TRasterImage& other) : FSurface(other.FSurface) {
    if (FSurface)
        cairo_surface_reference(FSurface);
}

TRasterImage::TRasterImage(TRasterImage&& other) noexcept
    : FSurface(std::exchange(other.FSurface, nullptr)) {}

TRasterImage& TRasterImage::operator=(const TRasterImage& other) {
    if (this != &other) {
        TRasterImage copy(other);
        std::swap(FSurface, copy.FSurface);
    }
    return *this;
}

TRasterImage& TRasterImage::operator=(TRasterImage&& other) noexcept {
    if (this != &other) {
        TRasterImage old(std::move(*this));
        FSurface = std::exchange(other.FSurface, nullptr);
    }
    return *this;
}

TRasterImage::~TRasterImage() {
    if (FSurface)
        cairo_surface_destroy(FSurface);
}

TRasterImage TRasterImage::Create(int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    // Cairo keeps pixel counts in int; refuse sizes whose byte count would overflow.
    if (static_cast<long long>(width) * height > (1LL << 28))
        return {};
    return Adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

TRasterImage TRasterImage::Adopt(cairo_surface_t* surface) {
    if (!surface)
        return {};
    const bool usable = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                        cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
                        cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32 &&
                        cairo_image_surface_get_data(surface) != nullptr;
    if (!usable) {
        cairo_surface_destroy(surface);
        return {};
    }
    return TRasterImage(surface);
}

int TRasterImage::Width() const {
    return FSurface ? cairo_image_surface_get_width(FSurface) : 0;
}

int TRasterImage::Height() const {
    return FSurface ? cairo_image_surface_get_height(FSurface) : 0;
}

int TRasterImage::Stride() const {
    return FSurface ? cairo_image_surface_get_stride(FSurface) : 0;
}

const uint8_t* TRasterImage::Data() const {
    return FSurface ? cairo_image_surface_get_data(FSurface) : nullptr;
}

uint8_t* TRasterImage::MutableData() {
    if (!FSurface)
        return nullptr;
    cairo_surface_flush(FSurface);
    return cairo_image_surface_get_data(FSurface);
}

void TRasterImage::MarkDirty() {
    if (FSurface)
        cairo_surface_mark_dirty(FSurface);
}

uint32_t TRasterImage::PixelAt(int x, int y) const {
    if (!FSurface || x < 0 || y < 0 || x >= Width() || y >= Height())
        return 0;
    uint32_t value;
    std::memcpy(&value, Data() + static_cast<size_t>(y) * Stride() + static_cast<size_t>(x) * 4, 4);
    return value;
}

TCairoContext::TCairoContext(const TRasterImage& target) {
    if (target.Surface())
        FContext = cairo_create(target.Surface());
}

TCairoContext::~TCairoContext() {
    if (FContext)
        cairo_destroy(FContext);
}

bool TCairoContext::Ok() const {
    return FContext && cairo_status(FContext) == CAIRO_STATUS_SUCCESS;
}

TRasterImage CopyImage(const TRasterImage& source) {
    if (!source)
        return {};
    TRasterImage copy = TRasterImage::Create(source.Width(), source.Height());
    if (!copy)
        return {};
    cairo_surface_flush(source.Surface());
    uint8_t* target = copy.MutableData();
    const size_t rowBytes = static_cast<size_t>(source.Width()) * 4;
    for (int y = 0; y < source.Height(); ++y)
        std::memcpy(target + static_cast<size_t>(y) * copy.Stride(),
                    source.Data() + static_cast<size_t>(y) * source.Stride(), rowBytes);
    copy.MarkDirty();
    return copy;
}

} // namespace kalvero
