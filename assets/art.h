#pragma once

// Drawing helpers shared by the picture generator: colours, outlines, eyes, gradients, a seeded
// random source of its own (so that the pictures are the same on every run and library version),
// and the PNG, JPEG and contact-sheet writers.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kalvero::art {

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

struct TColour {
    double R = 0, G = 0, B = 0, A = 1;
};

// 0xRRGGBB
TColour Hex(uint32_t rgb, double alpha = 1.0);
TColour Mix(const TColour& a, const TColour& b, double t);
TColour Lighter(const TColour& c, double amount); // towards white
TColour Darker(const TColour& c, double amount);  // towards black
// Hue 0..360, saturation and value 0..1.
TColour Hsv(double hue, double saturation, double value, double alpha = 1.0);

void SetColour(cairo_t* cr, const TColour& c);
void AddStop(cairo_pattern_t* pattern, double offset, const TColour& c);

// Fills the current path with a colour and strokes it with a dark outline; keeps nothing.
void FillAndOutline(cairo_t* cr, const TColour& fill, const TColour& outline, double width);
// Fills the current path with a vertical gradient from top colour to bottom colour between y0
// and y1, then outlines it.
void FillVertical(cairo_t* cr, double y0, double y1, const TColour& top, const TColour& bottom);
// Fills the current path with a radial gradient (light spot at lx, ly) and preserves the path.
void FillRadial(cairo_t* cr, double lx, double ly, double r0, double cx, double cy, double r1,
                const TColour& inner, const TColour& outer);
void Outline(cairo_t* cr, const TColour& colour, double width);

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle = 0.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A cartoon eye: white ball, dark pupil offset towards (lookX, lookY) (-1..1) and a glint.
void Eye(cairo_t* cr, double cx, double cy, double r, double lookX, double lookY,
         double openness = 1.0);
// A soft white highlight ellipse.
void Highlight(cairo_t* cr, double cx, double cy, double rx, double ry, double angle, double alpha);

// A small deterministic random source (xorshift64*), independent of any library version.
class TRandom {
public:
    explicit TRandom(uint64_t seed);
    uint64_t Next();
    double Uniform(); // [0, 1)
    double Range(double lo, double hi);
    int Int(int lo, int hi); // inclusive

private:
    uint64_t FState;
};

// Owned Cairo surface and context.
struct TCanvas {
    TCanvas(int width, int height);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    int Width, Height;
    cairo_surface_t* Surface;
    cairo_t* Cr;
};

// Straight (not premultiplied) RGBA rows from a premultiplied ARGB32 surface.
std::vector<uint8_t> StraightRgba(cairo_surface_t* surface);
// Writes an 8-bit RGBA PNG (zlib level 1 to 9); throws std::runtime_error on failure.
void WritePng(cairo_surface_t* surface, const std::string& path, int compression = 9);
// Writes an opaque surface as a baseline JPEG of the given quality.
void WriteJpeg(cairo_surface_t* surface, const std::string& path, int quality);

// Text in DejaVu Sans Bold, centred on (cx, cy) by its ink box, without hinting so that the
// outlines are the same whatever the font configuration says.
void CentredText(cairo_t* cr, const std::string& utf8, double cx, double cy, double size);
void SetPlainFont(cairo_t* cr, double size, bool bold);

} // namespace kalvero::art
