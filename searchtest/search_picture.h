#pragma once

#include <QString>

typedef struct _cairo_surface cairo_surface_t;

namespace kalvero {

// Owns one reference of a Cairo image surface (CAIRO_FORMAT_ARGB32, premultiplied alpha).
// A default-constructed picture is absent.
class TSearchPicture {
public:
    TSearchPicture() = default;
    explicit TSearchPicture(cairo_surface_t* surface) : FSurface(surface) {}
    TSearchPicture(TSearchPicture&& other) noexcept : FSurface(other.FSurface) {
        other.FSurface = nullptr;
    }
    TSearchPicture& operator=(TSearchPicture&& other) noexcept;
    TSearchPicture(const TSearchPicture&) = delete;
    TSearchPicture& operator=(const TSearchPicture&) = delete;
    ~TSearchPicture();

    // A new fully transparent picture; absent when the size is not positive or memory fails.
    static TSearchPicture Create(int width, int height);

    explicit operator bool() const { return FSurface != nullptr; }
    cairo_surface_t* Surface() const { return FSurface; }
    int Width() const;
    int Height() const;
    // Premultiplied 0xAARRGGBB of one pixel; 0 outside the picture.
    unsigned PixelAt(int x, int y) const;

private:
    cairo_surface_t* FSurface = nullptr;
};

// An exact copy with its own pixels; absent when the source is.
TSearchPicture CopySearchPicture(const TSearchPicture& source);

// Decodes a PNG or JPEG file; absent when it is missing or cannot be decoded.
TSearchPicture LoadSearchPicture(const QString& path);

// Draws picture over target, scaled into the rectangle (x, y, width, height) with Mitchell
// cubic resampling (B = C = 1/3); the parts outside the target are cut off.
void DrawPictureScaled(cairo_surface_t* target, cairo_surface_t* picture, double x, double y,
                       double width, double height);

} // namespace kalvero
