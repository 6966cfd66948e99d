#include "assets/art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>

namespace kalvero::art {

TColour Hex(uint32_t rgb, double alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

TColour Mix(const TColour& a, const TColour& b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t,
            a.A + (b.A - a.A) * t};
}

TColour Lighter(const TColour& c, double amount) {
    TColour white{1, 1, 1, c.A};
    return Mix(c, white, amount);
}

TColour Darker(const TColour& c, double amount) {
    TColour black{0, 0, 0, c.A};
    return Mix(c, black, amount);
}

TColour Hsv(double hue, double saturation, double value, double alpha) {
    hue = std::fmod(std::fmod(hue, 360.0) + 360.0, 360.0) / 60.0;
    const int sector = static_cast<int>(hue);
    const double f = hue - sector;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * f);
    const double t = value * (1 - saturation * (1 - f));
    switch (sector) {
    case 0:
        return {value, t, p, alpha};
    case 1:
        return {q, value, p, alpha};
    case 2:
        return {p, value, t, alpha};
    case 3:
        return {p, q, value, alpha};
    case 4:
        return {t, p, value, alpha};
    default:
        return {value, p, q, alpha};
    }
}

void SetColour(cairo_t* cr, const TColour& c) {
    cairo_set_source_rgba(cr, c.R, c.G, c.B, c.A);
}

void AddStop(cairo_pattern_t* pattern, double offset, const TColour& c) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.R, c.G, c.B, c.A);
}

void Outline(cairo_t* cr, const TColour& colour, double width) {
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void FillAndOutline(cairo_t* cr, const TColour& fill, const TColour& outline, double width) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    Outline(cr, outline, width);
}

void FillVertical(cairo_t* cr, double y0, double y1, const TColour& top, const TColour& bottom) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0, 0, y1);
    AddStop(gradient, 0, top);
    AddStop(gradient, 1, bottom);
    cairo_set_source(cr, gradient);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gradient);
}

void FillRadial(cairo_t* cr, double lx, double ly, double r0, double cx, double cy, double r1,
                const TColour& inner, const TColour& outer) {
    cairo_pattern_t* gradient = cairo_pattern_create_radial(lx, ly, r0, cx, cy, r1);
    AddStop(gradient, 0, inner);
    AddStop(gradient, 1, outer);
    cairo_set_source(cr, gradient);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gradient);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, TwoPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -Pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, Pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, Pi / 2, Pi);
    cairo_arc(cr, x + r, y + r, r, Pi, 1.5 * Pi);
    cairo_close_path(cr);
}

void Eye(cairo_t* cr, double cx, double cy, double r, double lookX, double lookY, double openness) {
    const TColour ink = Hex(0x1E1E28);
    if (openness < 0.15) {
        // Closed: a friendly curved lid line.
        cairo_new_path(cr);
        cairo_move_to(cr, cx - r, cy);
        cairo_curve_to(cr, cx - r * 0.5, cy + r * 0.6, cx + r * 0.5, cy + r * 0.6, cx + r, cy);
        Outline(cr, ink, std::max(1.2, r * 0.28));
        return;
    }
    cairo_save(cr);
    Ellipse(cr, cx, cy, r, r * openness);
    cairo_clip_preserve(cr);
    SetColour(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
    const double pr = r * 0.58;
    const double px = cx + lookX * r * 0.38;
    const double py = cy + lookY * r * 0.30;
    Ellipse(cr, px, py, pr, pr);
    SetColour(cr, ink);
    cairo_fill(cr);
    Ellipse(cr, px - pr * 0.35, py - pr * 0.38, pr * 0.32, pr * 0.32);
    SetColour(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
    cairo_restore(cr);
    Ellipse(cr, cx, cy, r, r * openness);
    Outline(cr, ink, std::max(1.0, r * 0.16));
}

void Highlight(cairo_t* cr, double cx, double cy, double rx, double ry, double angle,
               double alpha) {
    Ellipse(cr, cx, cy, rx, ry, angle);
    SetColour(cr, TColour{1, 1, 1, alpha});
    cairo_fill(cr);
}

TRandom::TRandom(uint64_t seed) : FState(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
    if (FState == 0)
        FState = 1;
    for (int i = 0; i < 4; ++i)
        Next();
}

uint64_t TRandom::Next() {
    FState ^= FState >> 12;
    FState ^= FState << 25;
    FState ^= FState >> 27;
    return FState * 0x2545F4914F6CDD1Dull;
}

double TRandom::Uniform() {
    return static_cast<double>(Next() >> 11) / 9007199254740992.0;
}

double TRandom::Range(double lo, double hi) {
    return lo + (hi - lo) * Uniform();
}

int TRandom::Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
}

TCanvas::TCanvas(int width, int height)
    : Width(width), Height(height),
      Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      Cr(cairo_create(Surface)) {
    cairo_set_antialias(Cr, CAIRO_ANTIALIAS_GOOD);
}

TCanvas::~TCanvas() {
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
}

std::vector<uint8_t> StraightRgba(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        uint8_t* o = out.data() + static_cast<size_t>(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (a == 0) {
                r = g = b = 0;
            } else if (a < 255) {
                r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
                g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
                b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
            }
            o[x * 4 + 0] = static_cast<uint8_t>(r);
            o[x * 4 + 1] = static_cast<uint8_t>(g);
            o[x * 4 + 2] = static_cast<uint8_t>(b);
            o[x * 4 + 3] = static_cast<uint8_t>(a);
        }
    }
    return out;
}

namespace {

struct TFile {
    explicit TFile(const std::string& path) : Handle(std::fopen(path.c_str(), "wb")) {
        if (!Handle)
            throw std::runtime_error("cannot write " + path);
    }
    ~TFile() {
        if (Handle)
            std::fclose(Handle);
    }
    void Close(const std::string& path) {
        const bool ok = std::fflush(Handle) == 0 && !std::ferror(Handle);
        std::fclose(Handle);
        Handle = nullptr;
        if (!ok)
            throw std::runtime_error("cannot write " + path);
    }
    FILE* Handle;
};

bool WritePngRows(FILE* file, int w, int h, int compression, std::vector<png_bytep>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, compression);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

void WritePng(cairo_surface_t* surface, const std::string& path, int compression) {
    std::vector<uint8_t> rgba = StraightRgba(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    std::vector<png_bytep> rows(h);
    for (int y = 0; y < h; ++y)
        rows[y] = rgba.data() + static_cast<size_t>(y) * w * 4;
    TFile file(path);
    if (!WritePngRows(file.Handle, w, h, compression, rows))
        throw std::runtime_error("cannot encode " + path);
    file.Close(path);
}

void WriteJpeg(cairo_surface_t* surface, const std::string& path, int quality) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    TFile file(path);
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.Handle);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = data + static_cast<size_t>(info.next_scanline) * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    file.Close(path);
}

void SetPlainFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void CentredText(cairo_t* cr, const std::string& utf8, double cx, double cy, double size) {
    SetPlainFont(cr, size, true);
    cairo_text_extents_t ink;
    cairo_text_extents(cr, utf8.c_str(), &ink);
    cairo_move_to(cr, cx - ink.x_bearing - ink.width / 2, cy - ink.y_bearing - ink.height / 2);
    cairo_text_path(cr, utf8.c_str());
}

} // namespace kalvero::art
