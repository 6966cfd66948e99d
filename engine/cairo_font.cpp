#include "engine/cairo_font.h"

#include <cairo.h>
#include <utility>

namespace kalvero {

TCairoFont::TCairoFont(double sizePx) : FSizePx(sizePx) {
    cairo_font_face_t* face =
        cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_matrix_t fontMatrix, identity;
    cairo_matrix_init_scale(&fontMatrix, sizePx, sizePx);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_scaled_font_t* font = cairo_scaled_font_create(face, &fontMatrix, &identity, options);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(face);
    if (cairo_scaled_font_status(font) == CAIRO_STATUS_SUCCESS)
        FFont = font;
    else
        cairo_scaled_font_destroy(font);
}

TCairoFont::~TCairoFont() {
    if (FFont)
        cairo_scaled_font_destroy(FFont);
}

TCairoFont::TCairoFont(TCairoFont&& other) noexcept
    : FFont(std::exchange(other.FFont, nullptr)), FSizePx(other.FSizePx) {}

TCairoFont& TCairoFont::operator=(TCairoFont&& other) noexcept {
    if (this != &other) {
        if (FFont)
            cairo_scaled_font_destroy(FFont);
        FFont = std::exchange(other.FFont, nullptr);
        FSizePx = other.FSizePx;
    }
    return *this;
}

double TCairoFont::TextWidth(const std::string& utf8) const {
    if (!FFont)
        return 0.0;
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(FFont, utf8.c_str(), &extents);
    return extents.x_advance;
}

void TCairoFont::DrawText(cairo_t* cr, double x, double baseline, const std::string& utf8) const {
    if (!FFont || !cr)
        return;
    cairo_set_scaled_font(cr, FFont);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, utf8.c_str());
    cairo_new_path(cr);
}

} // namespace kalvero
