// The follower (a sun) and the three alertness stimuli: the star, the paper kite and the
// alertness smiley. All of them are shown at one and a half times their size.

#include "assets/art.h"
#include "assets/sets.h"

#include <algorithm>
#include <cmath>

namespace kalvero::art {

namespace {

const TColour Ink = Hex(0x3A2208);

void Cheek(cairo_t* cr, double x, double y, double rx, double ry) {
    Ellipse(cr, x, y, rx, ry);
    SetColour(cr, TColour{1.0, 0.42, 0.42, 0.45});
    cairo_fill(cr);
}

void Smile(cairo_t* cr, double x0, double x1, double y, double depth, double width) {
    cairo_move_to(cr, x0, y);
    cairo_curve_to(cr, x0 + (x1 - x0) * 0.25, y + depth, x0 + (x1 - x0) * 0.75, y + depth, x1, y);
    Outline(cr, Ink, width);
}

// ---- Verfolger, 96 x 96, 12 frames: a sun whose rays turn and pulse ----

void DrawVerfolger(cairo_t* cr, int frame) {
    const double c = 48;
    const double turn = frame * (Pi / 3) / 12; // the ray pattern repeats every 60 degrees
    const double pulse = 1.0 + 0.06 * std::sin(TwoPi * frame / 12);
    for (int i = 0; i < 12; ++i) {
        const double a = turn + i * TwoPi / 12;
        const double outer = (i % 2 ? 37 : 43) * pulse;
        const double half = i % 2 ? 0.13 : 0.17;
        cairo_move_to(cr, c + std::cos(a - half) * 26, c + std::sin(a - half) * 26);
        cairo_line_to(cr, c + std::cos(a) * outer, c + std::sin(a) * outer);
        cairo_line_to(cr, c + std::cos(a + half) * 26, c + std::sin(a + half) * 26);
        cairo_close_path(cr);
        SetColour(cr, i % 2 ? Hex(0xFFB300) : Hex(0xFF8F00));
        cairo_fill_preserve(cr);
        Outline(cr, Hex(0xD35400), 1.6);
    }
    Ellipse(cr, c, c, 29, 29);
    FillRadial(cr, c - 10, c - 11, 2, c, c, 30, Hex(0xFFF59D), Hex(0xFFC107));
    Outline(cr, Hex(0xD35400), 2);
    // Face looking to the left
    Eye(cr, c - 11, c - 5, 6, -0.7, 0.0);
    Eye(cr, c + 5, c - 5, 6, -0.7, 0.0);
    Cheek(cr, c - 17, c + 6, 4.5, 3);
    Cheek(cr, c + 11, c + 6, 4.5, 3);
    Smile(cr, c - 13, c + 5, c + 9, 8, 2.4);
}

// ---- Stern, 100 x 100, 12 frames: a golden star that twinkles ----

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, double angle) {
    for (int i = 0; i < 10; ++i) {
        const double a = angle - Pi / 2 + i * Pi / 5;
        const double r = i % 2 ? inner : outer;
        if (i == 0)
            cairo_move_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
        else
            cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    cairo_close_path(cr);
}

void Sparkle(cairo_t* cr, double x, double y, double size, double alpha) {
    if (size <= 0.5 || alpha <= 0.02)
        return;
    cairo_move_to(cr, x, y - size);
    cairo_curve_to(cr, x + size * 0.15, y - size * 0.15, x + size * 0.15, y - size * 0.15, x + size,
                   y);
    cairo_curve_to(cr, x + size * 0.15, y + size * 0.15, x + size * 0.15, y + size * 0.15, x,
                   y + size);
    cairo_curve_to(cr, x - size * 0.15, y + size * 0.15, x - size * 0.15, y + size * 0.15, x - size,
                   y);
    cairo_curve_to(cr, x - size * 0.15, y - size * 0.15, x - size * 0.15, y - size * 0.15, x,
                   y - size);
    cairo_close_path(cr);
    SetColour(cr, TColour{1.0, 0.98, 0.75, alpha});
    cairo_fill_preserve(cr);
    Outline(cr, TColour{0.95, 0.6, 0.0, alpha}, 1);
}

void DrawStern(cairo_t* cr, int frame) {
    const double phase = TwoPi * frame / 12;
    const double scale = 1.0 + 0.06 * std::sin(phase);
    const double tilt = 0.07 * std::sin(phase + 1.0);
    const double cx = 50, cy = 53;
    // Glow
    Ellipse(cr, cx, cy, 46, 46);
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 10, cx, cy, 46);
    AddStop(glow, 0, TColour{1.0, 0.95, 0.5, 0.55 + 0.2 * std::sin(phase)});
    AddStop(glow, 1, TColour{1.0, 0.95, 0.5, 0.0});
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    StarPath(cr, cx, cy, 40 * scale, 18 * scale, tilt);
    FillRadial(cr, cx - 10, cy - 14, 3, cx, cy, 42 * scale, Hex(0xFFF59D), Hex(0xFFA000));
    Outline(cr, Hex(0xC65F00), 2.6);
    StarPath(cr, cx, cy, 31 * scale, 14 * scale, tilt);
    Outline(cr, TColour{1, 1, 1, 0.35}, 1.5);
    Eye(cr, cx - 8, cy - 2, 4.6, -0.7, 0.0);
    Eye(cr, cx + 5, cy - 2, 4.6, -0.7, 0.0);
    Cheek(cr, cx - 13, cy + 7, 3.5, 2.3);
    Cheek(cr, cx + 9, cy + 7, 3.5, 2.3);
    Smile(cr, cx - 8, cx + 4, cy + 8, 6, 2.2);
    // Three glints that come and go one after the other
    const double spots[3][2] = {{16, 18}, {86, 30}, {80, 88}};
    for (int i = 0; i < 3; ++i) {
        const double s = std::sin(phase - i * TwoPi / 3);
        Sparkle(cr, spots[i][0], spots[i][1], 9 * std::max(0.0, s), std::max(0.0, s));
    }
}

// ---- Drache, 100 x 150, 20 frames: a paper kite whose tail flutters ----

void DrawDrache(cairo_t* cr, int frame) {
    const double phase = TwoPi * frame / 20;
    const double tilt = 0.07 * std::sin(phase);
    const double bob = 2.5 * std::sin(phase + 0.7);
    // Tail: a wave running down the string, trailing to the right
    auto tailPoint = [&](double t, double& x, double& y) {
        y = 90 + bob + t * 54;
        x = 50 + t * 26 + 8 * t * std::sin(phase * 1 - t * 2 * TwoPi * 0.6);
    };
    double x, y;
    tailPoint(0, x, y);
    cairo_move_to(cr, x, y);
    for (int i = 1; i <= 40; ++i) {
        tailPoint(i / 40.0, x, y);
        cairo_line_to(cr, x, y);
    }
    Outline(cr, Hex(0x5D4037), 1.8);
    static const uint32_t bows[3] = {0xE53935, 0xFDD835, 0x1E88E5};
    for (int i = 0; i < 3; ++i) {
        const double t = 0.28 + i * 0.27;
        double x0, y0, x1, y1;
        tailPoint(t - 0.02, x0, y0);
        tailPoint(t + 0.02, x1, y1);
        const double a = std::atan2(y1 - y0, x1 - x0) + Pi / 2;
        tailPoint(t, x, y);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, -9, -5);
        cairo_line_to(cr, -9, 5);
        cairo_close_path(cr);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 9, -5);
        cairo_line_to(cr, 9, 5);
        cairo_close_path(cr);
        FillAndOutline(cr, Hex(bows[i]), Ink, 1.4);
        cairo_restore(cr);
    }
    // The kite: four coloured panels
    cairo_save(cr);
    cairo_translate(cr, 50, 48 + bob);
    cairo_rotate(cr, tilt);
    const double top[2] = {0, -42}, left[2] = {-33, -6}, right[2] = {33, -6}, bottom[2] = {0, 42};
    const double centre[2] = {0, -6};
    const double* panels[4][2] = {{top, left}, {top, right}, {bottom, left}, {bottom, right}};
    static const uint32_t colours[4] = {0xE53935, 0xFDD835, 0x1E88E5, 0x43A047};
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, centre[0], centre[1]);
        cairo_line_to(cr, panels[i][0][0], panels[i][0][1]);
        cairo_line_to(cr, panels[i][1][0], panels[i][1][1]);
        cairo_close_path(cr);
        SetColour(cr, Hex(colours[i]));
        cairo_fill(cr);
    }
    cairo_move_to(cr, top[0], top[1]);
    cairo_line_to(cr, bottom[0], bottom[1]);
    cairo_move_to(cr, left[0], left[1]);
    cairo_line_to(cr, right[0], right[1]);
    Outline(cr, Hex(0x6D4C41), 2.2);
    cairo_move_to(cr, top[0], top[1]);
    cairo_line_to(cr, left[0], left[1]);
    cairo_line_to(cr, bottom[0], bottom[1]);
    cairo_line_to(cr, right[0], right[1]);
    cairo_close_path(cr);
    cairo_pattern_t* shine = cairo_pattern_create_linear(-30, -40, 30, 40);
    AddStop(shine, 0, TColour{1, 1, 1, 0.35});
    AddStop(shine, 0.5, TColour{1, 1, 1, 0.0});
    AddStop(shine, 1, TColour{0, 0, 0, 0.15});
    cairo_set_source(cr, shine);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shine);
    Outline(cr, Ink, 2.4);
    // A friendly face on the middle
    Eye(cr, -10, -12, 5, -0.7, 0.1);
    Eye(cr, 6, -12, 5, -0.7, 0.1);
    Smile(cr, -10, 4, 2, 7, 2.2);
    cairo_restore(cr);
}

// ---- Alertness, 100 x 100, 22 frames: a smiley that hops, laughs and blinks ----

void DrawAlertness(cairo_t* cr, int frame) {
    const double phase = TwoPi * frame / 22;
    const double hop = std::fabs(std::sin(phase)); // two hops per loop
    const double squash = 1.0 - 0.08 * (1 - hop) * (1 - hop);
    const double cx = 50, cy = 56 - 10 * hop, r = 38;
    const double laugh = 0.5 + 0.5 * std::sin(phase * 2 - Pi / 2);
    const double blink = frame >= 9 && frame <= 11 ? (frame == 10 ? 1.0 : 0.6) : 0.0;
    // Shadow on the ground
    Ellipse(cr, cx, 95, 26 - 6 * hop, 3.5);
    SetColour(cr, TColour{0, 0, 0, 0.18 - 0.08 * hop});
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy + r);
    cairo_scale(cr, 2.0 - squash, squash);
    cairo_translate(cr, -cx, -(cy + r));
    Ellipse(cr, cx, cy, r, r);
    FillRadial(cr, cx - 13, cy - 15, 3, cx, cy, r, Hex(0xFFEE70), Hex(0xFF9F1A));
    Outline(cr, Hex(0xC0560A), 2.6);
    Highlight(cr, cx - 16, cy - 20, 10, 5, -0.6, 0.5);
    const double eyeOpen = 1.0 - blink;
    Eye(cr, cx - 14, cy - 8, 8.5, -0.7, -0.1, eyeOpen);
    Eye(cr, cx + 8, cy - 8, 8.5, -0.7, -0.1, eyeOpen);
    Cheek(cr, cx - 24, cy + 8, 6, 3.8);
    Cheek(cr, cx + 17, cy + 8, 6, 3.8);
    // Grin that opens into a laugh
    const double mx = cx - 3, my = cy + 9, half = 15;
    const double lower = 10 + 7 * laugh, upper = 2 + 1 * laugh;
    cairo_move_to(cr, mx - half, my);
    cairo_curve_to(cr, mx - half * 0.5, my + upper, mx + half * 0.5, my + upper, mx + half, my);
    cairo_curve_to(cr, mx + half * 0.6, my + lower * 1.3, mx - half * 0.6, my + lower * 1.3,
                   mx - half, my);
    cairo_close_path(cr);
    SetColour(cr, Hex(0x8E1F1A));
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_new_path(cr);
    Ellipse(cr, mx, my + lower * 1.05, half * 0.55, lower * 0.4);
    SetColour(cr, Hex(0xF06292));
    cairo_fill(cr);
    cairo_rectangle(cr, mx - half, my - 2, half * 2, 4.5);
    SetColour(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
    cairo_restore(cr);
    Outline(cr, Ink, 2.4);
    cairo_restore(cr);
}

} // namespace

std::vector<TFrameSet> OtherSets() {
    return {
        {"Verfolger", 12, 96, 96, DrawVerfolger},
        {"Stern", 12, 100, 100, DrawStern},
        {"Drache", 20, 100, 150, DrawDrache},
        {"Alertness", 22, 100, 100, DrawAlertness},
    };
}

} // namespace kalvero::art
