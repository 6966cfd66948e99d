// The animals: bumble-bee, fish, the two butterflies and the bird, all facing left.

#include "assets/art.h"
#include "assets/sets.h"

#include <cmath>

namespace kalvero::art {

namespace {

const TColour Ink = Hex(0x231C1A);

double Wave(int frame, int count, double phase = 0.0) {
    return std::sin(TwoPi * frame / count + phase);
}

// ---- Hummel, 200 x 160 (shown at a quarter) ----

void HummelWing(cairo_t* cr, double ax, double ay, double angle, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, ax, ay);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, 8, -19, 48, -23, 60, -6);
    cairo_curve_to(cr, 66, 7, 34, 17, 0, 0);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, -20, 0, 14);
    AddStop(g, 0, TColour{0.93, 0.97, 1.0, alpha});
    AddStop(g, 1, TColour{0.70, 0.85, 1.0, alpha});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    Outline(cr, TColour{0.16, 0.2, 0.3, 0.9}, 4);
    cairo_move_to(cr, 6, 0);
    cairo_curve_to(cr, 24, -8, 44, -10, 60, -6);
    Outline(cr, TColour{0.3, 0.4, 0.6, 0.6}, 2.5);
    cairo_restore(cr);
}

void DrawHummel(cairo_t* cr, int frame) {
    const double beat = Wave(frame, 6);
    const double wingAngle = -1.1 + 0.6 * beat; // from pointing up-back to pointing back
    const double bob = 2.0 * Wave(frame, 6, 1.2);
    cairo_translate(cr, 0, 4 + bob);

    HummelWing(cr, 112, 62, wingAngle - 0.28, 0.72);

    // Legs
    for (int i = 0; i < 3; ++i) {
        const double x = 84 + i * 24;
        cairo_move_to(cr, x, 126);
        cairo_curve_to(cr, x - 4, 136, x - 10, 140, x - 16, 142);
        Outline(cr, Ink, 5);
    }
    // Stinger
    cairo_move_to(cr, 164, 94);
    cairo_line_to(cr, 188, 104);
    cairo_line_to(cr, 164, 112);
    cairo_close_path(cr);
    FillAndOutline(cr, Hex(0x3A302B), Ink, 4);

    // Body with stripes
    Ellipse(cr, 114, 96, 58, 41, -0.06);
    FillRadial(cr, 96, 74, 4, 112, 96, 66, Hex(0xFFE45C), Hex(0xF2A900));
    cairo_save(cr);
    cairo_clip(cr);
    for (double x : {100.0, 132.0}) {
        cairo_move_to(cr, x, 48);
        cairo_curve_to(cr, x + 9, 80, x + 9, 112, x, 144);
        Outline(cr, Hex(0x2B2420), 15);
    }
    Ellipse(cr, 178, 100, 18, 40);
    SetColour(cr, Hex(0x2B2420));
    cairo_fill(cr);
    Highlight(cr, 104, 70, 26, 9, -0.15, 0.45);
    cairo_restore(cr);
    Ellipse(cr, 114, 96, 58, 41, -0.06);
    Outline(cr, Ink, 5);

    // Antennae
    cairo_move_to(cr, 44, 64);
    cairo_curve_to(cr, 40, 46, 30, 36, 20, 32);
    Outline(cr, Ink, 4.5);
    cairo_move_to(cr, 58, 62);
    cairo_curve_to(cr, 58, 44, 54, 32, 48, 24);
    Outline(cr, Ink, 4.5);
    for (auto [x, y] : {std::pair{20.0, 32.0}, std::pair{48.0, 24.0}}) {
        Ellipse(cr, x, y, 6, 6);
        FillAndOutline(cr, Hex(0x3A302B), Ink, 3);
    }

    // Head
    Ellipse(cr, 54, 90, 33, 32);
    FillRadial(cr, 44, 76, 3, 54, 90, 36, Hex(0x5A4A40), Hex(0x241C18));
    Outline(cr, Ink, 5);
    Eye(cr, 42, 82, 13, -0.7, 0.0);
    Ellipse(cr, 50, 104, 7, 4.5);
    SetColour(cr, TColour{1.0, 0.55, 0.6, 0.55});
    cairo_fill(cr);
    cairo_move_to(cr, 26, 100);
    cairo_curve_to(cr, 30, 110, 40, 111, 44, 104);
    Outline(cr, Hex(0xFFD6A0), 4);

    HummelWing(cr, 100, 64, wingAngle, 0.78);
}

// ---- Fisch, 160 x 112 (shown at half): green body, red fins, blue stripes ----

const TColour FishGreen = Hex(0x2FC243);
const TColour FishDarkGreen = Hex(0x168A2A);
const TColour FishRed = Hex(0xE8352B);
const TColour FishBlue = Hex(0x2A5BEA);
const TColour FishInk = Hex(0x1B2420);

void DrawFisch(cairo_t* cr, int frame) {
    const double swing = 0.28 * Wave(frame, 6);
    // Tail, swinging about its root
    cairo_save(cr);
    cairo_translate(cr, 118, 58);
    cairo_rotate(cr, swing);
    cairo_move_to(cr, -6, -8);
    cairo_curve_to(cr, 10, -18, 20, -30, 31, -38);
    cairo_curve_to(cr, 25, -14, 25, 14, 31, 38);
    cairo_curve_to(cr, 20, 30, 10, 18, -6, 8);
    cairo_close_path(cr);
    FillAndOutline(cr, FishRed, FishInk, 3);
    cairo_move_to(cr, 6, -4);
    cairo_line_to(cr, 26, -22);
    cairo_move_to(cr, 8, 0);
    cairo_line_to(cr, 30, 0);
    cairo_move_to(cr, 6, 4);
    cairo_line_to(cr, 26, 22);
    Outline(cr, Darker(FishRed, 0.35), 2);
    cairo_restore(cr);

    // Dorsal and lower fins
    cairo_move_to(cr, 48, 30);
    cairo_curve_to(cr, 58, 4, 92, 2, 108, 32);
    cairo_close_path(cr);
    FillAndOutline(cr, FishRed, FishInk, 3);
    cairo_move_to(cr, 84, 84);
    cairo_curve_to(cr, 90, 104, 104, 104, 110, 80);
    cairo_close_path(cr);
    FillAndOutline(cr, FishRed, FishInk, 3);

    // Body
    Ellipse(cr, 72, 58, 54, 35);
    FillVertical(cr, 22, 94, Lighter(FishGreen, 0.25), FishDarkGreen);
    cairo_save(cr);
    cairo_clip(cr);
    for (double x : {86.0, 106.0}) {
        cairo_move_to(cr, x, 18);
        cairo_curve_to(cr, x + 8, 44, x + 8, 72, x, 98);
        Outline(cr, FishBlue, 9);
    }
    Highlight(cr, 62, 36, 26, 7, -0.1, 0.35);
    cairo_restore(cr);
    Ellipse(cr, 72, 58, 54, 35);
    Outline(cr, FishInk, 3);

    // Gill, pectoral fin, eye, mouth
    cairo_move_to(cr, 58, 38);
    cairo_curve_to(cr, 66, 50, 66, 66, 58, 78);
    Outline(cr, TColour{0.05, 0.3, 0.1, 0.7}, 2.5);
    cairo_save(cr);
    cairo_translate(cr, 70, 66);
    cairo_rotate(cr, 0.35 + 0.25 * Wave(frame, 6, 1.0));
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, 10, -6, 24, -2, 26, 6);
    cairo_curve_to(cr, 18, 12, 6, 8, 0, 0);
    cairo_close_path(cr);
    FillAndOutline(cr, FishRed, FishInk, 2.5);
    cairo_restore(cr);
    Eye(cr, 40, 48, 11, -0.7, -0.1);
    cairo_move_to(cr, 20, 64);
    cairo_curve_to(cr, 24, 70, 30, 70, 34, 66);
    Outline(cr, FishInk, 3);
}

// ---- Butterflies, 80 x 72: top view, head to the left, wings above and below the body ----

struct TWingColours {
    TColour Fore, ForeDark, Spot, Hind, HindDark, Edge;
    bool Dots;
};

void ForeWing(cairo_t* cr) {
    cairo_move_to(cr, 28, 35);
    cairo_curve_to(cr, 18, 20, 10, 6, 22, 2);
    cairo_curve_to(cr, 38, -2, 50, 10, 44, 34);
    cairo_close_path(cr);
}

void HindWing(cairo_t* cr) {
    cairo_move_to(cr, 40, 35);
    cairo_curve_to(cr, 48, 22, 62, 14, 72, 20);
    cairo_curve_to(cr, 78, 28, 66, 36, 44, 36);
    cairo_close_path(cr);
}

// One wing pair above the body line; the caller mirrors it for the pair below.
void WingPair(cairo_t* cr, const TWingColours& c, double lineWidth) {
    HindWing(cr);
    FillVertical(cr, 14, 36, c.Hind, c.HindDark);
    cairo_save(cr);
    cairo_clip(cr);
    HindWing(cr);
    Outline(cr, c.Edge, 5);
    cairo_restore(cr);
    HindWing(cr);
    Outline(cr, Ink, lineWidth);

    ForeWing(cr);
    FillVertical(cr, 2, 36, c.Fore, c.ForeDark);
    cairo_save(cr);
    cairo_clip(cr);
    Ellipse(cr, 26, 14, 7, 6, 0.4);
    SetColour(cr, c.Spot);
    cairo_fill(cr);
    ForeWing(cr);
    Outline(cr, c.Edge, 5);
    cairo_move_to(cr, 30, 34);
    cairo_curve_to(cr, 26, 24, 24, 14, 22, 4);
    cairo_move_to(cr, 34, 34);
    cairo_curve_to(cr, 36, 22, 38, 12, 40, 6);
    Outline(cr, TColour{0.1, 0.08, 0.08, 0.55}, 1.2);
    cairo_restore(cr);
    ForeWing(cr);
    Outline(cr, Ink, lineWidth);
    if (c.Dots)
        for (auto [x, y] : {std::pair{18.0, 6.0}, {28.0, 2.5}, {38.0, 4.5}, {68.0, 20.0}})
            Highlight(cr, x, y, 1.3, 1.3, 0, 0.95);
}

void DrawButterfly(cairo_t* cr, int frame, const TWingColours& colours) {
    // Drawn a little smaller than the canvas so that antennae and wing tips keep clear of the
    // edges.
    cairo_translate(cr, 41, 36);
    cairo_scale(cr, 0.93, 0.93);
    cairo_translate(cr, -40, -36);
    const double open = 0.5 + 0.5 * std::cos(TwoPi * frame / 10);
    const double f = 0.28 + 0.72 * open;
    constexpr double axis = 36;
    for (int side : {-1, 1}) {
        cairo_save(cr);
        cairo_translate(cr, 0, axis);
        cairo_scale(cr, 1, side * f);
        cairo_translate(cr, 0, -axis);
        WingPair(cr, colours, 1.6 / std::max(f, 0.5));
        cairo_restore(cr);
    }
    // Body, head and antennae
    Ellipse(cr, 42, 36, 22, 4.2);
    FillAndOutline(cr, Hex(0x3B2F2B), Ink, 1.2);
    Ellipse(cr, 18, 36, 6.2, 5.8);
    FillAndOutline(cr, Hex(0x3B2F2B), Ink, 1.2);
    Highlight(cr, 16.5, 34, 1.6, 1.6, 0, 0.9);
    for (double dy : {-1.0, 1.0}) {
        cairo_move_to(cr, 14, 36 + dy * 3);
        cairo_curve_to(cr, 8, 36 + dy * 8, 5, 36 + dy * 14, 2.5, 36 + dy * 20);
        Outline(cr, Ink, 1.3);
        Ellipse(cr, 2.5, 36 + dy * 20, 1.8, 1.8);
        SetColour(cr, Ink);
        cairo_fill(cr);
    }
}

void DrawSchmetterling(cairo_t* cr, int frame) {
    const TWingColours monarch{Hex(0xFFB030), Hex(0xF06A00), Hex(0xFFE07A, 0.9),
                               Hex(0xFFA024), Hex(0xE05A00), Hex(0x2A1E18),
                               true};
    DrawButterfly(cr, frame, monarch);
}

void DrawSchmetterling2(cairo_t* cr, int frame) {
    // Blue fore wings with a red spot, green hind wings: every channel swap looks different.
    const TWingColours blue{Hex(0x3C78FF), Hex(0x1640D0), Hex(0xEE2A2A), Hex(0x38D060),
                            Hex(0x139A38), Hex(0x1A1A40), false};
    DrawButterfly(cr, frame, blue);
}

// ---- Vogel, 120 x 100 (shown at 0.8): a round blue bird ----

void BirdWingPath(cairo_t* cr) {
    cairo_move_to(cr, 0, -9);
    cairo_curve_to(cr, 18, -17, 36, -13, 48, -5);
    cairo_curve_to(cr, 46, -1, 44, 0, 42, 1);
    cairo_curve_to(cr, 44, 5, 41, 8, 37, 8);
    cairo_curve_to(cr, 37, 11, 33, 13, 28, 12);
    cairo_curve_to(cr, 18, 13, 6, 11, 0, 8);
    cairo_close_path(cr);
}

void BirdWing(cairo_t* cr, double angle, const TColour& light, const TColour& dark) {
    cairo_save(cr);
    cairo_translate(cr, 62, 48);
    cairo_rotate(cr, angle);
    BirdWingPath(cr);
    FillVertical(cr, -14, 12, light, dark);
    Outline(cr, Ink, 2);
    cairo_move_to(cr, 14, -2);
    cairo_curve_to(cr, 24, -4, 32, -3, 40, 0);
    Outline(cr, TColour{0, 0, 0.2, 0.35}, 1.4);
    cairo_restore(cr);
}

void DrawVogel(cairo_t* cr, int frame) {
    const double s = Wave(frame, 21);
    const double angle = -0.3 - 0.95 * s; // raised at s = 1, lowered at s = -1
    const double lift = 2.5 * Wave(frame, 21, 0.8);
    // A little smaller than the canvas, so that beak and tail keep clear of the edges.
    cairo_translate(cr, 60, 50 + lift);
    cairo_scale(cr, 0.94, 0.94);
    cairo_translate(cr, -59, -50);
    const TColour blue = Hex(0x3D8EF7), darkBlue = Hex(0x1F5BC8);

    BirdWing(cr, angle - 0.22, Darker(blue, 0.2), Darker(darkBlue, 0.25));
    // Tail feathers
    for (double a : {-0.38, 0.0, 0.38}) {
        cairo_save(cr);
        cairo_translate(cr, 88, 58);
        cairo_rotate(cr, a - 0.1);
        Ellipse(cr, 16, 0, 17, 5.5);
        FillAndOutline(cr, darkBlue, Ink, 2);
        cairo_restore(cr);
    }
    // Feet
    for (double x : {54.0, 64.0}) {
        cairo_move_to(cr, x, 80);
        cairo_line_to(cr, x - 3, 88);
        cairo_move_to(cr, x - 3, 88);
        cairo_line_to(cr, x - 8, 90);
        Outline(cr, Hex(0xF08C00), 2.4);
    }
    // Body and belly
    Ellipse(cr, 62, 58, 33, 25, -0.12);
    FillVertical(cr, 32, 84, Lighter(blue, 0.15), darkBlue);
    cairo_save(cr);
    cairo_clip(cr);
    Ellipse(cr, 54, 72, 25, 15, -0.1);
    SetColour(cr, Hex(0xFFF2D2));
    cairo_fill(cr);
    cairo_restore(cr);
    Ellipse(cr, 62, 58, 33, 25, -0.12);
    Outline(cr, Ink, 2);
    // Head
    Ellipse(cr, 32, 42, 20, 19);
    FillVertical(cr, 22, 62, Lighter(blue, 0.2), blue);
    Outline(cr, Ink, 2);
    // Beak
    cairo_move_to(cr, 15, 37);
    cairo_curve_to(cr, 9, 38, 5, 41, 1, 44);
    cairo_curve_to(cr, 6, 45, 11, 45, 15, 45);
    cairo_close_path(cr);
    FillAndOutline(cr, Hex(0xFFB300), Ink, 1.8);
    cairo_move_to(cr, 15, 45);
    cairo_curve_to(cr, 10, 46, 6, 46, 3, 45);
    cairo_curve_to(cr, 7, 49, 11, 51, 16, 50);
    cairo_close_path(cr);
    FillAndOutline(cr, Hex(0xF08C00), Ink, 1.8);
    Eye(cr, 27, 37, 6.5, -0.7, -0.05);
    Ellipse(cr, 34, 50, 4.5, 3);
    SetColour(cr, TColour{1.0, 0.45, 0.55, 0.55});
    cairo_fill(cr);
    // Crest
    cairo_move_to(cr, 30, 24);
    cairo_curve_to(cr, 30, 16, 36, 12, 40, 14);
    cairo_curve_to(cr, 38, 18, 38, 22, 38, 25);
    Outline(cr, darkBlue, 3);

    BirdWing(cr, angle, Lighter(blue, 0.25), darkBlue);
}

} // namespace

std::vector<TFrameSet> AnimalSets() {
    return {
        {"Hummel", 6, 200, 160, DrawHummel},
        {"Fisch", 6, 160, 112, DrawFisch},
        {"Schmetterling", 10, 80, 72, DrawSchmetterling},
        {"schmetterling2", 10, 80, 72, DrawSchmetterling2},
        {"Vogel", 21, 120, 100, DrawVogel},
    };
}

} // namespace kalvero::art
