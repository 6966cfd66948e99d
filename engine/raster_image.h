#pragma once

#include <cstdint>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace kalvero {

// A shared raster image: a Cairo image surface in CAIRO_FORMAT_ARGB32 (32-bit pixels in
// blue-green-red-alpha byte order, premultiplied alpha). Copies share the surface by reference
// count; an image is written only while it is being made and is read-only once handed out, so
// several threads may draw from it at the same time. A default-constructed image is absent.
class TRasterImage {
public:
    TRasterImage() = default;
    TRasterImage(const TRasterImage& other);
    TRasterImage(TRasterImage&& other) noexcept;
    TRasterImage& operator=(const TRasterImage& other);
    TRasterImage& operator=(TRasterImage&& other) noexcept;
    ~TRasterImage();

    // A new image of width x height pixels, all fully transparent. Absent when the size is not
    // positive or the memory cannot be had.
    static TRasterImage Create(int width, int height);
    // Takes over one reference of an image surface in ARGB32; absent if it is not a usable one.
    static TRasterImage Adopt(cairo_surface_t* surface);

    explicit operator bool() const { return FSurface != nullptr; }
    int Width() const;
    int Height() const;
    int Stride() const;
    const uint8_t* Data() const;
    // The surface to draw from (as a source), or nullptr.
    cairo_surface_t* Surface() const { return FSurface; }

    // Pixel access while the image is being made. Call MarkDirty after writing the memory
    // outside Cairo.
    uint8_t* MutableData();
    void MarkDirty();
    // Premultiplied ARGB value of one pixel (0xAARRGGBB); 0 outside the image.
    uint32_t PixelAt(int x, int y) const;

private:
    explicit TRasterImage(cairo_surface_t* surface) : FSurface(surface) {}
    cairo_surface_t* FSurface = nullptr;
};

// A Cairo drawing context on an image, owned for one scope.
class TCairoContext {
public:
    explicit TCairoContext(const TRasterImage& target);
    ~TCairoContext();
    TCairoContext(const TCairoContext&) = delete;
    TCairoContext& operator=(const TCairoContext&) = delete;

    cairo_t* Get() const { return FContext; }
    bool Ok() const;

private:
    cairo_t* FContext = nullptr;
};

// An exact copy of an image (its own pixels); absent when the source is absent or memory fails.
TRasterImage CopyImage(const TRasterImage& source);

} // namespace kalvero
