#pragma once

#include <string>

typedef struct _cairo cairo_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace kalvero {

// A font of the default typeface (fontconfig's "sans-serif") at a size in pixels, owned for its
// lifetime. A font that cannot be made is absent.
class TCairoFont {
public:
    TCairoFont() = default;
    explicit TCairoFont(double sizePx);
    ~TCairoFont();
    TCairoFont(TCairoFont&& other) noexcept;
    TCairoFont& operator=(TCairoFont&& other) noexcept;
    TCairoFont(const TCairoFont&) = delete;
    TCairoFont& operator=(const TCairoFont&) = delete;

    explicit operator bool() const { return FFont != nullptr; }
    double SizePx() const { return FSizePx; }
    // Advance width of a UTF-8 text in pixels; 0 for an absent font.
    double TextWidth(const std::string& utf8) const;
    // Draws a single line of UTF-8 text with its baseline starting at (x, baseline) in the
    // context's current source.
    void DrawText(cairo_t* cr, double x, double baseline, const std::string& utf8) const;

private:
    cairo_scaled_font_t* FFont = nullptr;
    double FSizePx = 0.0;
};

} // namespace kalvero
