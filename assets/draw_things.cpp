// Vehicles, bubbles, balloons and the flower wheel.

#include "assets/art.h"
#include "assets/sets.h"

#include <cmath>

namespace kalvero::art {

namespace {

const TColour Ink = Hex(0x22201F);

// ---- Auto, 160 x 96 (shown at 0.8): a red car driving left; the wheels roll ----

void Wheel(cairo_t* cr, double cx, double cy, double r, double angle) {
    Ellipse(cr, cx, cy, r, r);
    FillRadial(cr, cx - 3, cy - 3, 1, cx, cy, r, Hex(0x4A4A4A), Hex(0x1C1C1C));
    Outline(cr, Ink, 2);
    Ellipse(cr, cx, cy, r * 0.58, r * 0.58);
    FillRadial(cr, cx - 2, cy - 2, 1, cx, cy, r * 0.6, Hex(0xF2F4F7), Hex(0xA9B0BA));
    Outline(cr, Hex(0x555A60), 1.5);
    for (int i = 0; i < 5; ++i) {
        const double a = angle + i * TwoPi / 5;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.14, cy + std::sin(a) * r * 0.14);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.52, cy + std::sin(a) * r * 0.52);
    }
    Outline(cr, Hex(0x6A717A), 2.4);
    Ellipse(cr, cx, cy, r * 0.16, r * 0.16);
    SetColour(cr, Hex(0x50565E));
    cairo_fill(cr);
    // A tread mark on the tyre shows the roll even where the spokes look alike.
    const double a = angle + 0.3;
    Ellipse(cr, cx + std::cos(a) * r * 0.8, cy + std::sin(a) * r * 0.8, 1.6, 1.6);
    SetColour(cr, Hex(0x6E6E6E));
    cairo_fill(cr);
}

void CarBody(cairo_t* cr) {
    cairo_move_to(cr, 10, 72);
    cairo_curve_to(cr, 6, 64, 6, 54, 12, 50);
    cairo_curve_to(cr, 22, 44, 34, 42, 44, 41);
    cairo_curve_to(cr, 52, 26, 58, 18, 72, 17);
    cairo_line_to(cr, 104, 17);
    cairo_curve_to(cr, 114, 18, 120, 28, 126, 40);
    cairo_curve_to(cr, 140, 42, 152, 44, 153, 54);
    cairo_curve_to(cr, 154, 62, 154, 68, 150, 72);
    cairo_close_path(cr);
}

void DrawAuto(cairo_t* cr, int frame) {
    const double roll = -frame * (TwoPi / 5) / 8; // left-moving wheels turn anticlockwise
    const TColour red = Hex(0xE8352F);
    CarBody(cr);
    FillVertical(cr, 16, 74, Lighter(red, 0.2), Darker(red, 0.25));
    cairo_save(cr);
    cairo_clip(cr);
    // Windows
    cairo_move_to(cr, 50, 41);
    cairo_curve_to(cr, 56, 28, 60, 23, 70, 22);
    cairo_line_to(cr, 84, 22);
    cairo_line_to(cr, 84, 41);
    cairo_close_path(cr);
    cairo_move_to(cr, 90, 22);
    cairo_line_to(cr, 103, 22);
    cairo_curve_to(cr, 110, 23, 114, 30, 119, 41);
    cairo_line_to(cr, 90, 41);
    cairo_close_path(cr);
    FillVertical(cr, 22, 41, Hex(0xD8F1FF), Hex(0x7FC2EC));
    Outline(cr, Ink, 1.8);
    Highlight(cr, 66, 29, 7, 2.2, -0.6, 0.7);
    // Waist stripe and door
    cairo_rectangle(cr, 0, 52, 160, 4);
    SetColour(cr, TColour{1, 1, 1, 0.55});
    cairo_fill(cr);
    cairo_move_to(cr, 87, 42);
    cairo_line_to(cr, 87, 70);
    Outline(cr, Darker(red, 0.45), 1.5);
    RoundedRect(cr, 92, 46, 9, 3, 1.5);
    SetColour(cr, Hex(0xECECEC));
    cairo_fill(cr);
    cairo_restore(cr);
    CarBody(cr);
    Outline(cr, Ink, 2.2);
    // Lights and bumpers
    Ellipse(cr, 12, 56, 4.5, 4);
    FillAndOutline(cr, Hex(0xFFE66B), Ink, 1.5);
    RoundedRect(cr, 147, 51, 6, 8, 2);
    FillAndOutline(cr, Hex(0xFF7A2E), Ink, 1.5);
    RoundedRect(cr, 4, 64, 18, 7, 3.5);
    FillAndOutline(cr, Hex(0xC9CED6), Ink, 1.5);
    RoundedRect(cr, 140, 64, 17, 7, 3.5);
    FillAndOutline(cr, Hex(0xC9CED6), Ink, 1.5);
    // Wheel arches and wheels
    for (double x : {40.0, 120.0}) {
        Ellipse(cr, x, 72, 19, 17);
        SetColour(cr, Hex(0x3A1210));
        cairo_fill(cr);
        Wheel(cr, x, 74, 16, roll);
    }
}

// ---- Flugzeug, 160 x 96 (shown at 0.8): a yellow propeller plane flying left ----

void Fuselage(cairo_t* cr) {
    cairo_move_to(cr, 26, 40);
    cairo_curve_to(cr, 50, 31, 110, 33, 148, 35);
    cairo_line_to(cr, 151, 45);
    cairo_curve_to(cr, 120, 55, 62, 65, 28, 62);
    cairo_curve_to(cr, 20, 58, 19, 45, 26, 40);
    cairo_close_path(cr);
}

void DrawFlugzeug(cairo_t* cr, int frame) {
    const TColour yellow = Hex(0xFFC21F), red = Hex(0xE53935);
    // Far wing, tail fin and stabiliser
    Ellipse(cr, 86, 40, 26, 5, -0.12);
    FillAndOutline(cr, Darker(yellow, 0.25), Ink, 1.8);
    cairo_move_to(cr, 120, 36);
    cairo_line_to(cr, 136, 9);
    cairo_curve_to(cr, 142, 6, 150, 6, 152, 10);
    cairo_line_to(cr, 150, 38);
    cairo_close_path(cr);
    FillAndOutline(cr, red, Ink, 2);
    // Undercarriage
    cairo_move_to(cr, 60, 60);
    cairo_line_to(cr, 56, 76);
    Outline(cr, Hex(0x555555), 2.5);
    Ellipse(cr, 56, 78, 6, 6);
    FillAndOutline(cr, Hex(0x2E2E2E), Ink, 1.5);
    // Fuselage with a red stripe and windows
    Fuselage(cr);
    FillVertical(cr, 32, 64, Lighter(yellow, 0.3), Darker(yellow, 0.15));
    cairo_save(cr);
    cairo_clip(cr);
    cairo_move_to(cr, 20, 52);
    cairo_curve_to(cr, 60, 50, 110, 44, 160, 40);
    Outline(cr, red, 5);
    for (double x : {72.0, 88.0, 104.0}) {
        Ellipse(cr, x, 42, 4.5, 4.5);
        FillAndOutline(cr, Hex(0x9DD8FF), Ink, 1.4);
    }
    Highlight(cr, 70, 36, 28, 2.5, -0.02, 0.55);
    cairo_restore(cr);
    Fuselage(cr);
    Outline(cr, Ink, 2);
    // Cockpit with the pilot
    cairo_move_to(cr, 40, 37);
    cairo_curve_to(cr, 42, 24, 58, 20, 64, 35);
    cairo_close_path(cr);
    FillVertical(cr, 22, 37, Hex(0xD9F2FF), Hex(0x79BDE8));
    Outline(cr, Ink, 1.8);
    Ellipse(cr, 52, 31, 4.5, 4.5);
    SetColour(cr, Hex(0x8D5A3B));
    cairo_fill(cr);
    // Near wing and stabiliser
    Ellipse(cr, 140, 43, 14, 3.6, 0.05);
    FillAndOutline(cr, red, Ink, 1.6);
    Ellipse(cr, 76, 56, 36, 8.5, 0.08);
    FillVertical(cr, 48, 64, Lighter(yellow, 0.2), Darker(yellow, 0.2));
    Outline(cr, Ink, 2);
    Ellipse(cr, 104, 58, 5, 3.4, 0.08);
    SetColour(cr, red);
    cairo_fill(cr);
    // Nose and propeller (two blades, turned in 30 degree steps)
    Ellipse(cr, 19, 50, 3, 26);
    SetColour(cr, TColour{0.6, 0.6, 0.65, 0.22});
    cairo_fill(cr);
    const double turn = frame * Pi / 6;
    const double reach = 25 * std::cos(turn);
    const double depth = 5 * std::sin(turn);
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 18, 50);
        cairo_curve_to(cr, 18 - 4 - depth * side * 0.3, 50 + side * reach * 0.4, 18 - depth * side,
                       50 + side * reach * 0.8, 18 - depth * side, 50 + side * reach);
        cairo_curve_to(cr, 18 - depth * side + 4, 50 + side * reach * 0.8, 22,
                       50 + side * reach * 0.4, 18, 50);
        cairo_close_path(cr);
        FillAndOutline(cr, Hex(0x6D4C41), Ink, 1.6);
    }
    cairo_move_to(cr, 28, 40);
    cairo_curve_to(cr, 22, 42, 18, 46, 16, 50);
    cairo_curve_to(cr, 18, 54, 22, 58, 28, 62);
    cairo_close_path(cr);
    FillAndOutline(cr, red, Ink, 1.8);
}

// ---- Rakete, 200 x 100 (shown at 0.4): nose to the left, the flame flickers ----

void RocketBody(cairo_t* cr) {
    cairo_move_to(cr, 8, 50);
    cairo_curve_to(cr, 26, 28, 52, 28, 70, 28);
    cairo_line_to(cr, 146, 28);
    cairo_curve_to(cr, 150, 28, 152, 31, 152, 34);
    cairo_line_to(cr, 152, 66);
    cairo_curve_to(cr, 152, 69, 150, 72, 146, 72);
    cairo_line_to(cr, 70, 72);
    cairo_curve_to(cr, 52, 72, 26, 72, 8, 50);
    cairo_close_path(cr);
}

void Flame(cairo_t* cr, double length, double wobble, double spread, const TColour& colour) {
    cairo_move_to(cr, 160, 50 - spread);
    cairo_curve_to(cr, 160 + length * 0.4, 50 - spread * 1.2 + wobble, 160 + length * 0.75,
                   50 - spread * 0.5 - wobble, 160 + length, 50 + wobble);
    cairo_curve_to(cr, 160 + length * 0.75, 50 + spread * 0.5 + wobble, 160 + length * 0.4,
                   50 + spread * 1.2 - wobble, 160, 50 + spread);
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void DrawRakete(cairo_t* cr, int frame) {
    static const double lengths[4] = {34, 27, 37, 30};
    static const double wobbles[4] = {0, 3, -2, -4};
    const double length = lengths[frame % 4], wobble = wobbles[frame % 4];
    Flame(cr, length, wobble, 17, Hex(0xFF5722, 0.9));
    Flame(cr, length * 0.74, -wobble * 0.6, 11, Hex(0xFFA000));
    Flame(cr, length * 0.45, wobble * 0.4, 6, Hex(0xFFF59D));
    // Nozzle
    cairo_move_to(cr, 150, 38);
    cairo_line_to(cr, 162, 34);
    cairo_line_to(cr, 162, 66);
    cairo_line_to(cr, 150, 62);
    cairo_close_path(cr);
    FillAndOutline(cr, Hex(0x78838C), Ink, 2.5);
    // Fins behind the body
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 112, 50 + side * 20);
        cairo_line_to(cr, 142, 50 + side * 44);
        cairo_curve_to(cr, 150, 50 + side * 46, 156, 50 + side * 44, 154, 50 + side * 36);
        cairo_line_to(cr, 150, 50 + side * 20);
        cairo_close_path(cr);
        FillVertical(cr, 50 + side * 46, 50, Hex(0xE53935), Hex(0xB71C1C));
        Outline(cr, Ink, 3);
    }
    RocketBody(cr);
    FillVertical(cr, 28, 72, Hex(0xFFFFFF), Hex(0xB8C4CC));
    cairo_save(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, 46, 100);
    SetColour(cr, Hex(0xE53935));
    cairo_fill(cr);
    cairo_rectangle(cr, 124, 0, 8, 100);
    SetColour(cr, Hex(0xE53935));
    cairo_fill(cr);
    Highlight(cr, 90, 35, 50, 3, 0, 0.7);
    cairo_restore(cr);
    RocketBody(cr);
    Outline(cr, Ink, 3);
    cairo_move_to(cr, 46, 29);
    cairo_line_to(cr, 46, 71);
    Outline(cr, Ink, 2);
    // Middle fin seen from the side
    cairo_move_to(cr, 118, 50);
    cairo_line_to(cr, 150, 50);
    Outline(cr, Hex(0xB71C1C), 6);
    // Porthole
    Ellipse(cr, 80, 50, 13, 13);
    FillAndOutline(cr, Hex(0xC9D3DA), Ink, 2.5);
    Ellipse(cr, 80, 50, 8.5, 8.5);
    FillRadial(cr, 77, 47, 1, 80, 50, 9, Hex(0x9BE0FF), Hex(0x1E6FB8));
    Outline(cr, Ink, 1.5);
    Highlight(cr, 77, 46.5, 3, 2, -0.6, 0.85);
}

// ---- Blasen, 64 x 64: ten soap bubbles of different sizes and shimmer ----

void DrawBlase(cairo_t* cr, int frame) {
    static const double radii[10] = {29, 24, 20, 27, 17, 30, 22, 26, 19, 28};
    const double r = radii[frame];
    const double hue = 190 + frame * 37;
    const double cx = 32, cy = 32;
    Ellipse(cr, cx, cy, r, r);
    cairo_pattern_t* body =
        cairo_pattern_create_radial(cx - r * 0.2, cy - r * 0.2, r * 0.1, cx, cy, r);
    AddStop(body, 0, Hsv(hue, 0.25, 1.0, 0.06));
    AddStop(body, 0.72, Hsv(hue, 0.35, 1.0, 0.16));
    AddStop(body, 0.92, Hsv(hue + 60, 0.55, 1.0, 0.5));
    AddStop(body, 1.0, Hsv(hue + 120, 0.6, 0.95, 0.8));
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // A second shimmer from the other side
    Ellipse(cr, cx, cy, r, r);
    cairo_pattern_t* shimmer =
        cairo_pattern_create_radial(cx + r * 0.35, cy + r * 0.35, r * 0.2, cx, cy, r);
    AddStop(shimmer, 0, Hsv(hue + 180, 0.5, 1.0, 0.0));
    AddStop(shimmer, 0.85, Hsv(hue + 200, 0.6, 1.0, 0.0));
    AddStop(shimmer, 1.0, Hsv(hue + 220, 0.7, 1.0, 0.45));
    cairo_set_source(cr, shimmer);
    cairo_fill(cr);
    cairo_pattern_destroy(shimmer);
    Ellipse(cr, cx, cy, r - 0.6, r - 0.6);
    Outline(cr, TColour{1, 1, 1, 0.75}, 1.3);
    Ellipse(cr, cx, cy, r, r);
    Outline(cr, Hsv(hue + 140, 0.6, 0.55, 0.6), 0.9);
    Highlight(cr, cx - r * 0.42, cy - r * 0.45, r * 0.26, r * 0.13, -0.75, 0.85);
    Highlight(cr, cx - r * 0.12, cy - r * 0.66, r * 0.07, r * 0.07, 0, 0.85);
    Highlight(cr, cx + r * 0.5, cy + r * 0.48, r * 0.12, r * 0.05, -0.75, 0.5);
}

// ---- Ballon, 120 x 200 (shown at 0.45): five colours ----

void BalloonShape(cairo_t* cr) {
    cairo_move_to(cr, 60, 12);
    cairo_curve_to(cr, 92, 12, 108, 40, 106, 68);
    cairo_curve_to(cr, 104, 100, 82, 124, 60, 130);
    cairo_curve_to(cr, 38, 124, 16, 100, 14, 68);
    cairo_curve_to(cr, 12, 40, 28, 12, 60, 12);
    cairo_close_path(cr);
}

void DrawBallon(cairo_t* cr, int frame) {
    static const uint32_t colours[5] = {0xE8302C, 0x1E88E5, 0xFDD22C, 0x3DAE48, 0x9C2FB8};
    const TColour c = Hex(colours[frame]);
    // String
    cairo_move_to(cr, 60, 138);
    cairo_curve_to(cr, 70, 152, 50, 166, 60, 180);
    cairo_curve_to(cr, 66, 188, 62, 194, 60, 197);
    Outline(cr, Hex(0x6B6B6B), 2.2);
    // Knot
    cairo_move_to(cr, 60, 128);
    cairo_line_to(cr, 53, 140);
    cairo_curve_to(cr, 58, 137, 62, 137, 67, 140);
    cairo_close_path(cr);
    FillAndOutline(cr, Darker(c, 0.15), Ink, 2.2);
    BalloonShape(cr);
    FillRadial(cr, 44, 44, 4, 60, 70, 74, Lighter(c, 0.35), Darker(c, 0.22));
    Outline(cr, Darker(c, 0.6), 3);
    Highlight(cr, 40, 44, 13, 22, 0.45, 0.55);
    Highlight(cr, 36, 72, 4, 7, 0.2, 0.45);
}

// ---- Heißluftballon, 140 x 180 (shown at 0.6): four envelopes ----

void EnvelopeShape(cairo_t* cr) {
    cairo_move_to(cr, 70, 6);
    cairo_curve_to(cr, 112, 6, 134, 38, 130, 70);
    cairo_curve_to(cr, 126, 98, 100, 116, 92, 128);
    cairo_line_to(cr, 48, 128);
    cairo_curve_to(cr, 40, 116, 14, 98, 10, 70);
    cairo_curve_to(cr, 6, 38, 28, 6, 70, 6);
    cairo_close_path(cr);
}

// Boundary of gore i of n, as a curve from the crown to the mouth.
void GoreEdge(cairo_t* cr, double u, bool reverse) {
    const double x1 = 70 + u * 76, x2 = 70 + u * 72, x3 = 70 + u * 22;
    if (!reverse) {
        cairo_line_to(cr, 70, 6);
        cairo_curve_to(cr, x1, 18, x2, 86, x3, 128);
    } else {
        cairo_line_to(cr, x3, 128);
        cairo_curve_to(cr, x2, 86, x1, 18, 70, 6);
    }
}

void DrawHeissluftballon(cairo_t* cr, int frame) {
    struct TPalette {
        uint32_t A, B, Band;
        int Gores;
    };
    static const TPalette palettes[4] = {{0xE8352F, 0xFFD23F, 0x2B5BD7, 8},
                                         {0x1E7FE0, 0xF5F5F5, 0xE8352F, 8},
                                         {0x43A047, 0xFF9800, 0xFFF176, 6},
                                         {0x8E24AA, 0x26C6DA, 0xFFD23F, 10}};
    const TPalette& p = palettes[frame];
    // Ropes and basket
    for (auto [x0, x1] : {std::pair{54.0, 59.0}, std::pair{86.0, 81.0}}) {
        cairo_move_to(cr, x0, 134);
        cairo_line_to(cr, x1, 152);
    }
    Outline(cr, Hex(0x6D4C41), 2);
    RoundedRect(cr, 55, 150, 30, 24, 4);
    FillVertical(cr, 150, 174, Hex(0xC68A4E), Hex(0x8D5A2B));
    Outline(cr, Ink, 2.2);
    for (double y : {158.0, 166.0}) {
        cairo_move_to(cr, 56, y);
        cairo_line_to(cr, 84, y);
    }
    Outline(cr, Hex(0x6D4424, 0.8), 1.3);
    RoundedRect(cr, 52, 147, 36, 6, 3);
    FillAndOutline(cr, Hex(0x7A4A22), Ink, 1.8);
    // Envelope with coloured gores and a band
    EnvelopeShape(cr);
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = 0; i < p.Gores; ++i) {
        const double u0 = -1.0 + 2.0 * i / p.Gores, u1 = -1.0 + 2.0 * (i + 1) / p.Gores;
        cairo_new_path(cr);
        cairo_move_to(cr, 70, 6);
        GoreEdge(cr, u0, false);
        GoreEdge(cr, u1, true);
        cairo_close_path(cr);
        SetColour(cr, Hex(i % 2 ? p.B : p.A));
        cairo_fill(cr);
    }
    cairo_move_to(cr, 0, 92);
    for (int i = 0; i <= 14; ++i)
        cairo_line_to(cr, i * 10, i % 2 ? 84 : 92);
    cairo_line_to(cr, 140, 104);
    for (int i = 14; i >= 0; --i)
        cairo_line_to(cr, i * 10, i % 2 ? 96 : 104);
    cairo_close_path(cr);
    SetColour(cr, Hex(p.Band));
    cairo_fill(cr);
    // Shading: light from the upper left
    EnvelopeShape(cr);
    cairo_pattern_t* shade = cairo_pattern_create_radial(46, 36, 6, 70, 64, 86);
    AddStop(shade, 0, TColour{1, 1, 1, 0.35});
    AddStop(shade, 0.6, TColour{1, 1, 1, 0.0});
    AddStop(shade, 1, TColour{0, 0, 0, 0.3});
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    for (int i = 1; i < p.Gores; ++i) {
        cairo_new_path(cr);
        GoreEdge(cr, -1.0 + 2.0 * i / p.Gores, false);
    }
    Outline(cr, TColour{0, 0, 0, 0.25}, 1.2);
    cairo_restore(cr);
    EnvelopeShape(cr);
    Outline(cr, Ink, 2.5);
    cairo_move_to(cr, 50, 128);
    cairo_line_to(cr, 90, 128);
    cairo_line_to(cr, 86, 136);
    cairo_line_to(cr, 54, 136);
    cairo_close_path(cr);
    FillAndOutline(cr, Hex(0x8D6E63), Ink, 2);
}

// ---- Sphere ("Blumenrad"), 128 x 128: a wreath of flowers turning once in 176 frames ----

void Flower(cairo_t* cr, double cx, double cy, double r, double angle, const TColour& petal,
            const TColour& heart, int petals) {
    for (int i = 0; i < petals; ++i) {
        const double a = angle + i * TwoPi / petals;
        Ellipse(cr, cx + std::cos(a) * r * 0.52, cy + std::sin(a) * r * 0.52, r * 0.5, r * 0.3, a);
        FillRadial(cr, cx, cy, 0, cx, cy, r, Lighter(petal, 0.35), petal);
        Outline(cr, Darker(petal, 0.5), 1);
    }
    Ellipse(cr, cx, cy, r * 0.32, r * 0.32);
    FillRadial(cr, cx - 1, cy - 1, 0, cx, cy, r * 0.32, Lighter(heart, 0.3), heart);
    Outline(cr, Darker(heart, 0.5), 1);
}

void DrawSphere(cairo_t* cr, int frame) {
    static const uint32_t petals[8] = {0xE53935, 0xFF9800, 0xFDD835, 0xEC407A,
                                       0x8E24AA, 0x1E88E5, 0xFAFAFA, 0x26A69A};
    const double turn = TwoPi * frame / 176;
    const double c = 64;
    // Green ring with leaves
    Ellipse(cr, c, c, 46, 46);
    Outline(cr, Hex(0x2E7D32), 6);
    Ellipse(cr, c, c, 46, 46);
    Outline(cr, Hex(0x66BB6A), 2.5);
    for (int i = 0; i < 8; ++i) {
        const double a = turn + (i + 0.5) * TwoPi / 8;
        Ellipse(cr, c + std::cos(a) * 46, c + std::sin(a) * 46, 8, 3.6, a + Pi / 2);
        FillAndOutline(cr, Hex(0x43A047), Hex(0x1B5E20), 1);
    }
    // Hub with spokes
    for (int i = 0; i < 8; ++i) {
        const double a = turn + i * TwoPi / 8;
        cairo_move_to(cr, c + std::cos(a) * 14, c + std::sin(a) * 14);
        cairo_line_to(cr, c + std::cos(a) * 40, c + std::sin(a) * 40);
    }
    Outline(cr, Hex(0x558B2F), 2.5);
    Flower(cr, c, c, 20, turn * 2, Hex(0xFFCA28), Hex(0x6D4C41), 12);
    for (int i = 0; i < 8; ++i) {
        const double a = turn + i * TwoPi / 8;
        Flower(cr, c + std::cos(a) * 46, c + std::sin(a) * 46, 15, a, Hex(petals[i]),
               Hex(i == 2 ? 0xE65100 : 0xFFD54F), 6);
    }
}

} // namespace

std::vector<TFrameSet> ThingSets() {
    return {
        {"Auto", 8, 160, 96, DrawAuto},
        {"Flugzeug", 6, 160, 96, DrawFlugzeug},
        {"Blasen", 10, 64, 64, DrawBlase},
        {"Ballon", 5, 120, 200, DrawBallon},
        {"Heißluftballon", 4, 140, 180, DrawHeissluftballon},
        {"Rakete", 4, 200, 100, DrawRakete},
        {"Sphere", 176, 128, 128, DrawSphere},
    };
}

} // namespace kalvero::art
