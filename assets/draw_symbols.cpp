// Letters, digits and the smiley.

#include "assets/art.h"
#include "assets/sets.h"

#include <algorithm>
#include <cmath>

namespace kalvero::art {

namespace {

// Picture n of "Alphabet/" shows Letters[n - 1]: A, Ä, then B to Z (so that B is picture 3 and
// Z picture 27), then the further German letters and the three diphthongs.
const char* const Letters[33] = {"A", "Ä", "B", "C", "D", "E", "F", "G", "H",  "I",  "J",
                                 "K", "L", "M", "N", "O", "P", "Q", "R", "S",  "T",  "U",
                                 "V", "W", "X", "Y", "Z", "Ö", "Ü", "ß", "AU", "EI", "EU"};

// ---- Alphabet, 96 x 96: red round buttons with white letters ----

void DrawLetter(cairo_t* cr, int frame) {
    const double c = 48, r = 44;
    Ellipse(cr, c, c + 1.5, r + 1.5, r + 1.5);
    SetColour(cr, TColour{0.2, 0, 0, 0.22});
    cairo_fill(cr);
    Ellipse(cr, c, c, r, r);
    cairo_pattern_t* face = cairo_pattern_create_radial(c - 14, c - 18, 4, c, c, r);
    AddStop(face, 0, Hex(0xFF6F61));
    AddStop(face, 0.55, Hex(0xE0302A));
    AddStop(face, 1, Hex(0xB3171A));
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    Outline(cr, Hex(0x7A0E10), 2);
    Ellipse(cr, c, c, r - 5, r - 5);
    Outline(cr, TColour{1, 1, 1, 0.22}, 1.5);
    // Gloss on the upper half
    Ellipse(cr, c, c - 21, 28, 15);
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, c - 36, 0, c - 6);
    AddStop(gloss, 0, TColour{1, 1, 1, 0.42});
    AddStop(gloss, 1, TColour{1, 1, 1, 0.0});
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);

    const std::string text = Letters[frame];
    const bool pair = text.size() == 2 && static_cast<unsigned char>(text[0]) < 0x80;
    const double size = pair ? 38 : 56;
    CentredText(cr, text, c + 1.2, c + 2.0, size);
    SetColour(cr, TColour{0.35, 0.0, 0.0, 0.45});
    cairo_fill(cr);
    CentredText(cr, text, c, c, size);
    SetColour(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
}

// ---- Ziffern, 128 x 128: the digits 0 to 9 on coloured tiles ----

void DrawDigit(cairo_t* cr, int frame) {
    static const uint32_t colours[10] = {0x1E88E5, 0x43A047, 0xFB8C00, 0x8E24AA, 0x00897B,
                                         0xD81B60, 0x3949AB, 0xF4511E, 0x7CB342, 0x0097A7};
    const TColour base = Hex(colours[frame]);
    RoundedRect(cr, 7, 9, 116, 116, 26);
    SetColour(cr, TColour{0, 0, 0, 0.2});
    cairo_fill(cr);
    RoundedRect(cr, 6, 6, 116, 116, 26);
    FillVertical(cr, 6, 122, Lighter(base, 0.25), Darker(base, 0.2));
    Outline(cr, Darker(base, 0.55), 2.5);
    RoundedRect(cr, 12, 12, 104, 50, 20);
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, 12, 0, 62);
    AddStop(gloss, 0, TColour{1, 1, 1, 0.38});
    AddStop(gloss, 1, TColour{1, 1, 1, 0.0});
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);
    const std::string digit(1, static_cast<char>('0' + frame));
    CentredText(cr, digit, 65.5, 66.5, 82);
    SetColour(cr, TColour{0, 0, 0, 0.3});
    cairo_fill(cr);
    CentredText(cr, digit, 64, 64, 82);
    SetColour(cr, Hex(0xFFFFFF));
    cairo_fill(cr);
}

// ---- Smiley, 80 x 80: forty frames from a smile to a laugh, a wink, surprise and back ----

struct TExpression {
    double Smile, Open, Wink, Surprise;
};

double Smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

TExpression ExpressionAt(int frame) {
    struct TKey {
        int Frame;
        TExpression E;
    };
    static const TKey keys[] = {
        {0, {0.55, 0, 0, 0}}, {7, {1.0, 0, 0, 0}},  {12, {1.0, 1.0, 0, 0}}, {17, {1.0, 0.9, 0, 0}},
        {21, {0.8, 0, 0, 0}}, {25, {0.8, 0, 1, 0}}, {28, {0.8, 0, 1, 0}},   {31, {0.4, 0, 0, 0}},
        {34, {0.0, 0, 0, 1}}, {36, {0.0, 0, 0, 1}}, {40, {0.55, 0, 0, 0}}};
    for (size_t i = 0; i + 1 < std::size(keys); ++i) {
        if (frame >= keys[i].Frame && frame < keys[i + 1].Frame) {
            const double t =
                Smooth(double(frame - keys[i].Frame) / (keys[i + 1].Frame - keys[i].Frame));
            const TExpression& a = keys[i].E;
            const TExpression& b = keys[i + 1].E;
            return {a.Smile + (b.Smile - a.Smile) * t, a.Open + (b.Open - a.Open) * t,
                    a.Wink + (b.Wink - a.Wink) * t, a.Surprise + (b.Surprise - a.Surprise) * t};
        }
    }
    return keys[0].E;
}

void SmileyEye(cairo_t* cr, double x, double y, double rx, double ry, double closed) {
    const TColour ink = Hex(0x3A2208);
    if (closed > 0.8) {
        cairo_move_to(cr, x - rx * 1.4, y + 1);
        cairo_curve_to(cr, x - rx * 0.6, y - ry * 0.7, x + rx * 0.6, y - ry * 0.7, x + rx * 1.4,
                       y + 1);
        Outline(cr, ink, 2.4);
        return;
    }
    Ellipse(cr, x, y, rx, ry * (1 - closed));
    SetColour(cr, ink);
    cairo_fill(cr);
    if (closed < 0.5)
        Highlight(cr, x - rx * 0.35, y - ry * 0.4 * (1 - closed), rx * 0.38, rx * 0.38, 0, 0.95);
}

void DrawFace(cairo_t* cr, double cx, double cy, double r, const TExpression& e) {
    const TColour ink = Hex(0x3A2208);
    Ellipse(cr, cx, cy, r, r);
    cairo_pattern_t* face =
        cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r);
    AddStop(face, 0, Hex(0xFFF59D));
    AddStop(face, 0.6, Hex(0xFFD736));
    AddStop(face, 1, Hex(0xF5A900));
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    Outline(cr, Hex(0xB36B00), r * 0.06);
    const double k = r / 36; // drawn for r = 36, looking a little to the left
    const double eyeY = cy - 8 * k - 2 * k * e.Surprise;
    const double eyeR = (4.3 + 1.2 * e.Surprise) * k, eyeH = (6.2 + 1.8 * e.Surprise) * k;
    SmileyEye(cr, cx - 13 * k, eyeY, eyeR, eyeH, 0);
    SmileyEye(cr, cx + 7 * k, eyeY, eyeR, eyeH, e.Wink);
    if (e.Surprise > 0.05) {
        for (double x : {cx - 13 * k, cx + 7 * k}) {
            cairo_move_to(cr, x - 5 * k, eyeY - 10 * k);
            cairo_curve_to(cr, x - 2 * k, eyeY - 13 * k, x + 2 * k, eyeY - 13 * k, x + 5 * k,
                           eyeY - 10 * k);
        }
        Outline(cr, TColour{ink.R, ink.G, ink.B, e.Surprise}, 2 * k);
    }
    // Cheeks
    for (double x : {cx - 22 * k, cx + 15 * k}) {
        Ellipse(cr, x, cy + 6 * k, 5 * k, 3.2 * k);
        SetColour(cr, TColour{1.0, 0.45, 0.4, 0.35 * (1 - e.Surprise)});
        cairo_fill(cr);
    }
    // Mouth: a closed shape between two curves; a line while it is shut
    const double mx = cx - 3 * k;
    const double half = (13 - 7 * e.Surprise) * k;
    const double corner = cy + (11 - 3 * e.Smile + 2 * e.Surprise) * k;
    const double lower = (3 + 8 * e.Smile + 5 * e.Open + 6 * e.Surprise) * k;
    const double openness = std::max(e.Open, e.Surprise);
    const double upper = lower * (1 - openness) + (-6 * e.Surprise + 1.5 * e.Open) * k * openness;
    auto mouthPath = [&] {
        cairo_move_to(cr, mx - half, corner);
        cairo_curve_to(cr, mx - half * 0.5, corner + upper * 1.3, mx + half * 0.5,
                       corner + upper * 1.3, mx + half, corner);
        cairo_curve_to(cr, mx + half * 0.5, corner + lower * 1.3, mx - half * 0.5,
                       corner + lower * 1.3, mx - half, corner);
        cairo_close_path(cr);
    };
    if (openness < 0.06) {
        cairo_move_to(cr, mx - half, corner);
        cairo_curve_to(cr, mx - half * 0.5, corner + lower * 1.3, mx + half * 0.5,
                       corner + lower * 1.3, mx + half, corner);
        Outline(cr, ink, 2.6 * k);
        return;
    }
    mouthPath();
    SetColour(cr, Hex(0x8E1F1A));
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    Ellipse(cr, mx, corner + lower * 1.05, half * 0.6, lower * 0.45);
    SetColour(cr, Hex(0xF06292));
    cairo_fill(cr);
    cairo_restore(cr);
    mouthPath();
    Outline(cr, ink, 2.2 * k);
}

void DrawSmiley(cairo_t* cr, int frame) {
    DrawFace(cr, 40, 40, 36, ExpressionAt(frame));
}

} // namespace

std::vector<TFrameSet> SymbolSets() {
    return {
        {"Alphabet", 33, 96, 96, DrawLetter, true},
        {"Ziffern", 10, 128, 128, DrawDigit, true},
        {"Smiley", 40, 80, 80, DrawSmiley},
    };
}

} // namespace kalvero::art
