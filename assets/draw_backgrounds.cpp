// The 72 background pictures, 1024 x 768. Everything repeats seamlessly sideways (the display
// tiles the picture and scrolls it): hill lines are sums of whole waves over the width and every
// object near an edge is drawn again one width further.

#include "assets/art.h"
#include "assets/sets.h"

#include <algorithm>
#include <cmath>

namespace kalvero::art {

namespace {

constexpr double W = BackgroundWidth;
constexpr double H = BackgroundHeight;

template <typename TDraw> void Wrapped(double x, double halfWidth, TDraw draw) {
    draw(x);
    if (x - halfWidth < 0)
        draw(x + W);
    if (x + halfWidth > W)
        draw(x - W);
}

void Gradient(cairo_t* cr, double y0, double y1, const TColour& top, const TColour& bottom) {
    cairo_rectangle(cr, 0, y0, W, y1 - y0);
    FillVertical(cr, y0, y1, top, bottom);
    cairo_new_path(cr);
}

void Plain(cairo_t* cr, const TColour& c) {
    SetColour(cr, c);
    cairo_paint(cr);
}

// ---- Sky and clouds ----

void CloudPath(cairo_t* cr, double x, double y, double s) {
    static const double puffs[][3] = {{-44, 6, 22}, {-22, -8, 28}, {4, -20, 32}, {32, -8, 26},
                                      {52, 6, 20},  {-8, 8, 24},   {22, 10, 22}};
    for (const auto& p : puffs) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + p[0] * s, y + p[1] * s, p[2] * s, 0, TwoPi);
    }
}

void Cloud(cairo_t* cr, double x, double y, double s, const TColour& light, const TColour& shade,
           double alpha) {
    Wrapped(x, 80 * s, [&](double cx) {
        cairo_push_group(cr);
        CloudPath(cr, cx, y + 5 * s, s);
        SetColour(cr, shade);
        cairo_fill(cr);
        CloudPath(cr, cx, y, s);
        FillVertical(cr, y - 50 * s, y + 30 * s, light, Mix(light, shade, 0.45));
        cairo_new_path(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    });
}

struct TSky {
    uint32_t Top, Bottom;
    int Clouds;
    double MinScale, MaxScale;
    uint32_t CloudLight = 0xFFFFFF, CloudShade = 0xC9D8E8;
    double CloudAlpha = 0.95;
    double CloudBottom = 0.55; // clouds stay above this fraction of the height
};

void Sky(cairo_t* cr, TRandom& rng, const TSky& sky, double horizon = H) {
    Gradient(cr, 0, horizon, Hex(sky.Top), Hex(sky.Bottom));
    for (int i = 0; i < sky.Clouds; ++i) {
        const double s = rng.Range(sky.MinScale, sky.MaxScale);
        const double x = (i + rng.Range(0.1, 0.9)) * W / sky.Clouds;
        const double y = rng.Range(70, H * sky.CloudBottom);
        Cloud(cr, x, y, s, Hex(sky.CloudLight), Hex(sky.CloudShade), sky.CloudAlpha);
    }
}

void Sun(cairo_t* cr, double x, double y, double r, const TColour& colour) {
    Ellipse(cr, x, y, r * 2.6, r * 2.6);
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, r * 0.8, x, y, r * 2.6);
    AddStop(glow, 0, TColour{colour.R, colour.G, colour.B, 0.45});
    AddStop(glow, 1, TColour{colour.R, colour.G, colour.B, 0.0});
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    Ellipse(cr, x, y, r, r);
    FillRadial(cr, x - r * 0.3, y - r * 0.3, 1, x, y, r, Lighter(colour, 0.6), colour);
    cairo_new_path(cr);
}

// ---- Hills, fields and plants ----

struct TWaveLine {
    double Base;
    double Amplitudes[3];
    int Waves[3]; // whole waves over the width
    double Phases[3];
    double At(double x) const {
        double y = Base;
        for (int i = 0; i < 3; ++i)
            y -= Amplitudes[i] * std::sin(TwoPi * Waves[i] * x / W + Phases[i]);
        return y;
    }
};

TWaveLine RandomLine(TRandom& rng, double base, double amplitude) {
    return {base,
            {amplitude, amplitude * 0.45, amplitude * 0.2},
            {rng.Int(1, 2), rng.Int(3, 4), rng.Int(6, 9)},
            {rng.Range(0, TwoPi), rng.Range(0, TwoPi), rng.Range(0, TwoPi)}};
}

void LinePath(cairo_t* cr, const TWaveLine& line, double bottom = H) {
    cairo_move_to(cr, 0, bottom);
    for (int x = 0; x <= W; x += 4)
        cairo_line_to(cr, x, line.At(x));
    cairo_line_to(cr, W, bottom);
    cairo_close_path(cr);
}

void Hill(cairo_t* cr, const TWaveLine& line, const TColour& top, const TColour& bottom) {
    LinePath(cr, line);
    FillVertical(cr, line.Base - 80, H, top, bottom);
    cairo_new_path(cr);
}

void SmallFlower(cairo_t* cr, double x, double y, double r, const TColour& petal) {
    Wrapped(x, r * 2, [&](double cx) {
        for (int i = 0; i < 5; ++i) {
            const double a = i * TwoPi / 5;
            Ellipse(cr, cx + std::cos(a) * r * 0.7, y + std::sin(a) * r * 0.7, r * 0.55, r * 0.55);
        }
        SetColour(cr, petal);
        cairo_fill(cr);
        Ellipse(cr, cx, y, r * 0.45, r * 0.45);
        SetColour(cr, Hex(0xFFD54F));
        cairo_fill(cr);
    });
}

void Flowers(cairo_t* cr, TRandom& rng, const TWaveLine& ground, int count, double size,
             const std::vector<uint32_t>& colours) {
    for (int i = 0; i < count; ++i) {
        const double x = rng.Range(0, W);
        const double depth = rng.Uniform();
        const double y = ground.At(x) + 14 + depth * (H - ground.At(x) - 20);
        const double r = size * (0.5 + depth);
        SmallFlower(cr, x, y, r, Hex(colours[rng.Int(0, int(colours.size()) - 1)]));
    }
}

void Conifer(cairo_t* cr, double x, double base, double h, const TColour& colour) {
    Wrapped(x, h * 0.3, [&](double cx) {
        cairo_rectangle(cr, cx - h * 0.03, base - h * 0.12, h * 0.06, h * 0.14);
        SetColour(cr, Darker(Hex(0x6D4C41), 0.2));
        cairo_fill(cr);
        for (int i = 0; i < 3; ++i) {
            const double top = base - h + i * h * 0.26;
            const double half = h * (0.16 + i * 0.06);
            cairo_move_to(cr, cx, top);
            cairo_line_to(cr, cx + half, top + h * 0.42);
            cairo_line_to(cr, cx - half, top + h * 0.42);
            cairo_close_path(cr);
        }
        SetColour(cr, colour);
        cairo_fill(cr);
    });
}

void RoundTree(cairo_t* cr, double x, double base, double h, const TColour& colour) {
    Wrapped(x, h * 0.4, [&](double cx) {
        cairo_rectangle(cr, cx - h * 0.05, base - h * 0.45, h * 0.1, h * 0.47);
        SetColour(cr, Hex(0x795548));
        cairo_fill(cr);
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, base - h * 0.7, h * 0.3, 0, TwoPi);
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx - h * 0.2, base - h * 0.55, h * 0.22, 0, TwoPi);
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx + h * 0.2, base - h * 0.55, h * 0.22, 0, TwoPi);
        FillVertical(cr, base - h, base - h * 0.35, Lighter(colour, 0.2), Darker(colour, 0.15));
        cairo_new_path(cr);
    });
}

void TreeRow(cairo_t* cr, TRandom& rng, double base, double height, int count,
             const TColour& colour, bool round) {
    for (int i = 0; i < count; ++i) {
        const double x = (i + rng.Range(0.0, 1.0)) * W / count;
        const double h = height * rng.Range(0.75, 1.2);
        const double b = base + rng.Range(-6, 10);
        if (round)
            RoundTree(cr, x, b, h, colour);
        else
            Conifer(cr, x, b, h, colour);
    }
}

void Meadow(cairo_t* cr, TRandom& rng, const TSky& sky, uint32_t far, uint32_t near, int flowers,
            bool sun) {
    Sky(cr, rng, sky);
    if (sun)
        Sun(cr, 760, 150, 52, Hex(0xFFD54F));
    const TWaveLine back = RandomLine(rng, 470, 38);
    Hill(cr, back, Hex(far), Darker(Hex(far), 0.2));
    const TWaveLine front = RandomLine(rng, 560, 30);
    Hill(cr, front, Hex(near), Darker(Hex(near), 0.25));
    if (flowers > 0)
        Flowers(cr, rng, front, flowers, 7,
                {0xFFFFFF, 0xFFEB3B, 0xF06292, 0xBA68C8, 0xFF8A65, 0x64B5F6});
}

// ---- Water ----

void WaveLines(cairo_t* cr, double y0, double y1, int rows, const TColour& colour, double width) {
    for (int r = 0; r < rows; ++r) {
        const double y = y0 + (y1 - y0) * (r + 0.5) / rows;
        const int waves = 16 + (r % 3) * 8;
        const double amp = 2 + 4.0 * r / rows;
        cairo_move_to(cr, 0, y);
        for (int x = 0; x <= W; x += 4)
            cairo_line_to(cr, x, y + amp * std::sin(TwoPi * waves * x / W + r * 1.7));
        Outline(cr, colour, width * (0.6 + 0.8 * r / rows));
    }
}

void Sea(cairo_t* cr, TRandom& rng, const TSky& sky, double horizon, uint32_t seaTop,
         uint32_t seaBottom, bool sun) {
    Sky(cr, rng,
        TSky{sky.Top, sky.Bottom, sky.Clouds, sky.MinScale, sky.MaxScale, sky.CloudLight,
             sky.CloudShade, sky.CloudAlpha, horizon / H - 0.1},
        horizon);
    if (sun)
        Sun(cr, 300, horizon - 90, 46, Hex(0xFFB74D));
    Gradient(cr, horizon, H, Hex(seaTop), Hex(seaBottom));
    WaveLines(cr, horizon + 10, H, 12, TColour{1, 1, 1, 0.28}, 2.5);
}

// ---- Night ----

void Stars(cairo_t* cr, TRandom& rng, int count, double maxY, double brightness) {
    for (int i = 0; i < count; ++i) {
        const double x = rng.Range(0, W), y = rng.Range(0, maxY);
        const double r = rng.Range(0.6, 2.0);
        const double a = brightness * rng.Range(0.4, 1.0);
        Wrapped(x, 3, [&](double cx) {
            Ellipse(cr, cx, y, r, r);
            SetColour(cr, TColour{1, 1, 0.92, a});
            cairo_fill(cr);
        });
    }
    for (int i = 0; i < count / 20; ++i) {
        const double x = rng.Range(0, W), y = rng.Range(0, maxY * 0.8), s = rng.Range(4, 8);
        Wrapped(x, s, [&](double cx) {
            cairo_move_to(cr, cx - s, y);
            cairo_line_to(cr, cx + s, y);
            cairo_move_to(cr, cx, y - s);
            cairo_line_to(cr, cx, y + s);
            Outline(cr, TColour{1, 1, 0.9, 0.8 * brightness}, 1.2);
        });
    }
}

void Moon(cairo_t* cr, double x, double y, double r) {
    Ellipse(cr, x, y, r * 2.2, r * 2.2);
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, r, x, y, r * 2.2);
    AddStop(glow, 0, TColour{1, 1, 0.85, 0.25});
    AddStop(glow, 1, TColour{1, 1, 0.85, 0.0});
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_save(cr);
    Ellipse(cr, x, y, r, r);
    Ellipse(cr, x + r * 0.45, y - r * 0.2, r * 0.85, r * 0.85);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    Ellipse(cr, x, y, r, r);
    cairo_clip(cr);
    cairo_new_path(cr);
    Ellipse(cr, x, y, r, r);
    Ellipse(cr, x + r * 0.45, y - r * 0.2, r * 0.85, r * 0.85);
    SetColour(cr, Hex(0xFFF6C8));
    cairo_fill(cr);
    cairo_restore(cr);
}

// ---- Towns ----

std::vector<double> RowWidths(TRandom& rng, double lo, double hi) {
    std::vector<double> widths;
    double sum = 0;
    while (sum < W - hi) {
        widths.push_back(std::round(rng.Range(lo, hi)));
        sum += widths.back();
    }
    widths.push_back(W - sum); // the row fills the width exactly, so it repeats without a seam
    return widths;
}

void Windows(cairo_t* cr, double x, double top, double w, double h, double size,
             const TColour& glass, TRandom& rng, double litShare) {
    const int cols = std::max(1, int((w - size) / (size * 2)));
    const int rows = std::max(1, int((h - size * 2.5) / (size * 2.2)));
    const double gap = (w - cols * size) / (cols + 1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const bool lit = rng.Uniform() < litShare;
            RoundedRect(cr, x + gap + c * (size + gap), top + size + r * size * 2.2, size,
                        size * 1.3, 1.5);
            SetColour(cr, lit ? Hex(0xFFE082) : glass);
            cairo_fill(cr);
        }
}

void Houses(cairo_t* cr, TRandom& rng, double base, double minH, double maxH,
            const std::vector<uint32_t>& walls, const TColour& roof, const TColour& glass,
            double litShare, bool gables) {
    double x = 0;
    for (double w : RowWidths(rng, 70, 120)) {
        const double h = std::round(rng.Range(minH, maxH));
        const TColour wall = Hex(walls[rng.Int(0, int(walls.size()) - 1)]);
        const double inset = 3;
        cairo_rectangle(cr, x + inset, base - h, w - 2 * inset, h);
        SetColour(cr, wall);
        cairo_fill_preserve(cr);
        Outline(cr, Darker(wall, 0.35), 1.5);
        if (gables) {
            cairo_move_to(cr, x, base - h + 1);
            cairo_line_to(cr, x + w / 2, base - h - w * 0.42);
            cairo_line_to(cr, x + w, base - h + 1);
            cairo_close_path(cr);
        } else {
            cairo_rectangle(cr, x, base - h - 8, w, 10);
        }
        SetColour(cr, roof);
        cairo_fill_preserve(cr);
        Outline(cr, Darker(roof, 0.35), 1.5);
        Windows(cr, x + inset, base - h, w - 2 * inset, h - 28, 12, glass, rng, litShare);
        RoundedRect(cr, x + w / 2 - 9, base - 30, 18, 30, 3);
        SetColour(cr, Darker(wall, 0.45));
        cairo_fill(cr);
        x += w;
    }
}

void Towers(cairo_t* cr, TRandom& rng, double base, double minH, double maxH, const TColour& colour,
            const TColour& glass, double litShare) {
    double x = 0;
    for (double w : RowWidths(rng, 50, 95)) {
        const double h = std::round(rng.Range(minH, maxH));
        const TColour c = Mix(colour, Hex(0xFFFFFF), rng.Range(0, 0.18));
        cairo_rectangle(cr, x + 2, base - h, w - 4, h);
        SetColour(cr, c);
        cairo_fill(cr);
        Windows(cr, x + 2, base - h, w - 4, h, 7, glass, rng, litShare);
        x += w;
    }
}

// ---- Mountains ----

// One cartoon mountain: a lit left flank, a shaded right flank and, if asked, a snow cap.
void Mountain(cairo_t* cr, double peakX, double base, double height, double halfWidth,
              const TColour& rock, bool snow) {
    Wrapped(peakX, halfWidth, [&](double x) {
        const double top = base - height;
        cairo_move_to(cr, x - halfWidth, base);
        cairo_line_to(cr, x, top);
        cairo_line_to(cr, x + halfWidth, base);
        cairo_close_path(cr);
        SetColour(cr, rock);
        cairo_fill(cr);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + halfWidth, base);
        cairo_line_to(cr, x + halfWidth * 0.15, base);
        cairo_close_path(cr);
        SetColour(cr, Darker(rock, 0.22));
        cairo_fill(cr);
        if (!snow)
            return;
        const double depth = 0.3; // share of the height under snow
        const double dy = height * depth, dx = halfWidth * depth;
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + dx, top + dy);
        cairo_line_to(cr, x + dx * 0.45, top + dy * 0.78);
        cairo_line_to(cr, x + dx * 0.1, top + dy * 1.02);
        cairo_line_to(cr, x - dx * 0.3, top + dy * 0.8);
        cairo_line_to(cr, x - dx * 0.62, top + dy * 1.0);
        cairo_line_to(cr, x - dx, top + dy);
        cairo_close_path(cr);
        SetColour(cr, Hex(0xF7FBFF));
        cairo_fill(cr);
    });
}

// Two ranges, the far one paler, peaks spread evenly with some jitter.
void Mountains(cairo_t* cr, TRandom& rng, double base, double height, const TColour& rock,
               bool snow) {
    const TColour far = Mix(rock, Hex(0xC9D9EA), 0.45);
    for (int i = 0; i < 7; ++i)
        Mountain(cr, (i + rng.Range(0.2, 0.8)) * W / 7, base, height * rng.Range(0.75, 1.05),
                 height * rng.Range(0.6, 0.85), far, snow);
    cairo_rectangle(cr, 0, base, W, H - base); // the foot of the range
    SetColour(cr, Mix(far, rock, 0.5));
    cairo_fill(cr);
    for (int i = 0; i < 5; ++i)
        Mountain(cr, (i + rng.Range(0.2, 0.8)) * W / 5, base + 20, height * rng.Range(0.6, 0.85),
                 height * rng.Range(0.7, 0.95), rock, snow && rng.Uniform() < 0.7);
}

// ---- Patterns ----

void HorizontalStripes(cairo_t* cr, double height, const std::vector<uint32_t>& colours) {
    for (int i = 0; i * height < H; ++i) {
        cairo_rectangle(cr, 0, i * height, W, height);
        SetColour(cr, Hex(colours[i % colours.size()]));
        cairo_fill(cr);
    }
}

void VerticalStripes(cairo_t* cr, double width, const std::vector<uint32_t>& colours) {
    for (int i = 0; i * width < W; ++i) {
        cairo_rectangle(cr, i * width, 0, width, H);
        SetColour(cr, Hex(colours[i % colours.size()]));
        cairo_fill(cr);
    }
}

void Checker(cairo_t* cr, double size, uint32_t a, uint32_t b) {
    Plain(cr, Hex(a));
    for (int j = 0; j * size < H; ++j)
        for (int i = j % 2; i * size < W; i += 2)
            cairo_rectangle(cr, i * size, j * size, size, size);
    SetColour(cr, Hex(b));
    cairo_fill(cr);
}

void Dots(cairo_t* cr, double spacing, double radius, uint32_t ground,
          const std::vector<uint32_t>& colours) {
    Plain(cr, Hex(ground));
    int k = 0;
    for (int j = 0; j * spacing * 0.5 < H + spacing; ++j)
        for (int i = 0; i * spacing < W + spacing; ++i, ++k) {
            const double x = i * spacing + (j % 2) * spacing / 2, y = j * spacing * 0.5;
            Wrapped(x, radius, [&](double cx) { Ellipse(cr, cx, y, radius, radius); });
            SetColour(cr, Hex(colours[k % colours.size()]));
            cairo_fill(cr);
        }
}

void WaveBands(cairo_t* cr, const std::vector<uint32_t>& colours) {
    const double band = 64;
    for (int i = -1; i * band < H + band; ++i) {
        auto edge = [&](double y0, bool forward) {
            for (int s = 0; s <= W; s += 4) {
                const double x = forward ? s : W - s;
                cairo_line_to(cr, x, y0 + 14 * std::sin(TwoPi * 4 * x / W + i * 0.6));
            }
        };
        cairo_move_to(cr, 0, i * band);
        edge(i * band, true);
        edge((i + 1) * band, false);
        cairo_close_path(cr);
        SetColour(cr, Hex(colours[(i + 8) % colours.size()]));
        cairo_fill(cr);
    }
}

void DiagonalStripes(cairo_t* cr, double period, uint32_t a, uint32_t b) {
    Plain(cr, Hex(a));
    for (double c = -H - period; c < W + period; c += period) {
        cairo_move_to(cr, c, 0);
        cairo_line_to(cr, c + period / 2, 0);
        cairo_line_to(cr, c + period / 2 + H, H);
        cairo_line_to(cr, c + H, H);
        cairo_close_path(cr);
    }
    SetColour(cr, Hex(b));
    cairo_fill(cr);
}

void Honeycomb(cairo_t* cr, const std::vector<uint32_t>& colours, uint32_t line) {
    const double w = W / 16, a = w / std::sqrt(3.0);
    int k = 0;
    for (int row = -1; row * 1.5 * a < H + a; ++row)
        for (int col = 0; col <= 16; ++col, ++k) {
            const double cx = col * w + (row % 2 ? w / 2 : 0), cy = row * 1.5 * a;
            for (int i = 0; i < 6; ++i) {
                const double ang = Pi / 6 + i * Pi / 3;
                const double px = cx + a * std::cos(ang), py = cy + a * std::sin(ang);
                if (i == 0)
                    cairo_move_to(cr, px, py);
                else
                    cairo_line_to(cr, px, py);
            }
            cairo_close_path(cr);
            SetColour(cr, Hex(colours[(col % 16 * 7 + row * 3 + 64) % colours.size()]));
            cairo_fill_preserve(cr);
            Outline(cr, Hex(line), 2);
        }
}

void Bokeh(cairo_t* cr, TRandom& rng, uint32_t top, uint32_t bottom, int count) {
    Gradient(cr, 0, H, Hex(top), Hex(bottom));
    for (int i = 0; i < count; ++i) {
        const double x = rng.Range(0, W), y = rng.Range(0, H), r = rng.Range(20, 90);
        const TColour c = Hsv(rng.Range(0, 360), 0.35, 1.0, rng.Range(0.12, 0.3));
        Wrapped(x, r, [&](double cx) {
            Ellipse(cr, cx, y, r, r);
            SetColour(cr, c);
            cairo_fill(cr);
        });
    }
}

void Triangles(cairo_t* cr, TRandom& rng, double hue, double spread) {
    const double s = 64;
    for (int j = 0; j * s < H; ++j)
        for (int i = 0; i < 16; ++i)
            for (int half = 0; half < 2; ++half) {
                const double x = i * s, y = j * s;
                cairo_move_to(cr, x, y);
                if (half == 0) {
                    cairo_line_to(cr, x + s, y);
                    cairo_line_to(cr, x, y + s);
                } else {
                    cairo_move_to(cr, x + s, y);
                    cairo_line_to(cr, x + s, y + s);
                    cairo_line_to(cr, x, y + s);
                }
                cairo_close_path(cr);
                SetColour(cr, Hsv(hue + rng.Range(-spread, spread), rng.Range(0.25, 0.45),
                                  rng.Range(0.85, 0.97)));
                cairo_fill(cr);
            }
}

void Plaid(cairo_t* cr, uint32_t ground, uint32_t a, uint32_t b) {
    Plain(cr, Hex(ground));
    for (int i = 0; i * 128 < W; ++i) {
        cairo_rectangle(cr, i * 128 + 16, 0, 40, H);
        SetColour(cr, Hex(a, 0.45));
        cairo_fill(cr);
        cairo_rectangle(cr, i * 128 + 84, 0, 10, H);
        SetColour(cr, Hex(b, 0.5));
        cairo_fill(cr);
    }
    for (int j = 0; j * 128 < H; ++j) {
        cairo_rectangle(cr, 0, j * 128 + 16, W, 40);
        SetColour(cr, Hex(a, 0.45));
        cairo_fill(cr);
        cairo_rectangle(cr, 0, j * 128 + 84, W, 10);
        SetColour(cr, Hex(b, 0.5));
        cairo_fill(cr);
    }
}

void Rainbow(cairo_t* cr) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, H);
    for (int i = 0; i <= 6; ++i)
        AddStop(g, i / 6.0, Hsv(i * 50.0, 0.28, 1.0));
    cairo_rectangle(cr, 0, 0, W, H);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// ---- Scenes ----

void UnderWater(cairo_t* cr, TRandom& rng) {
    Gradient(cr, 0, H, Hex(0x4FC3F7), Hex(0x0D3C78));
    for (int i = 0; i < 7; ++i) {
        const double x = (i + rng.Range(0.2, 0.8)) * W / 7;
        Wrapped(x, 140, [&](double cx) {
            cairo_move_to(cr, cx - 30, 0);
            cairo_line_to(cr, cx + 30, 0);
            cairo_line_to(cr, cx + 120, H * 0.8);
            cairo_line_to(cr, cx + 20, H * 0.8);
            cairo_close_path(cr);
            SetColour(cr, TColour{1, 1, 1, 0.07});
            cairo_fill(cr);
        });
    }
    const TWaveLine sand = RandomLine(rng, 700, 14);
    Hill(cr, sand, Hex(0xE8D39A), Hex(0xBFA463));
    for (int i = 0; i < 18; ++i) {
        const double x = rng.Range(0, W), h = rng.Range(80, 200), ph = rng.Range(0, TwoPi);
        const TColour c = Hsv(rng.Range(95, 150), 0.7, rng.Range(0.45, 0.7));
        Wrapped(x, 30, [&](double cx) {
            const double b = sand.At(cx) + 12;
            cairo_move_to(cr, cx, b);
            for (int k = 1; k <= 20; ++k) {
                const double t = k / 20.0;
                cairo_line_to(cr, cx + 12 * t * std::sin(ph + t * 7), b - h * t);
            }
            Outline(cr, c, 7);
        });
    }
    for (int i = 0; i < 40; ++i) {
        const double x = rng.Range(0, W), y = rng.Range(40, 600), r = rng.Range(3, 11);
        Wrapped(x, r, [&](double cx) {
            Ellipse(cr, cx, y, r, r);
            Outline(cr, TColour{1, 1, 1, 0.5}, 1.5);
            Highlight(cr, cx - r * 0.35, y - r * 0.35, r * 0.25, r * 0.25, 0, 0.6);
        });
    }
}

void Beach(cairo_t* cr, TRandom& rng, bool palms) {
    Sky(cr, rng, TSky{0x4FA9F0, 0xC9ECFF, 5, 0.7, 1.2, 0xFFFFFF, 0xC9D8E8, 0.95, 0.32}, 330);
    Sun(cr, 820, 110, 44, Hex(0xFFD54F));
    Gradient(cr, 330, 480, Hex(0x1E88C8), Hex(0x4FC3D8));
    WaveLines(cr, 340, 470, 6, TColour{1, 1, 1, 0.3}, 2);
    const TWaveLine shore = RandomLine(rng, 490, 10);
    Hill(cr, shore, Hex(0xF6E2A8), Hex(0xE2BE72));
    cairo_move_to(cr, 0, shore.At(0) + 2);
    for (int x = 0; x <= W; x += 4)
        cairo_line_to(cr, x, shore.At(x) + 2);
    Outline(cr, TColour{1, 1, 1, 0.85}, 5);
    if (palms)
        for (double x : {180.0, 640.0}) {
            const double b = shore.At(x) + 160;
            cairo_move_to(cr, x, b);
            cairo_curve_to(cr, x + 10, b - 90, x + 40, b - 180, x + 30, b - 240);
            Outline(cr, Hex(0x8D6E63), 16);
            for (int i = 0; i < 6; ++i) {
                const double a = -Pi + i * Pi / 5 + 0.1;
                cairo_move_to(cr, x + 30, b - 240);
                cairo_curve_to(cr, x + 30 + std::cos(a) * 50, b - 270 + std::sin(a) * 30,
                               x + 30 + std::cos(a) * 100, b - 240 + std::sin(a) * 40 + 30,
                               x + 30 + std::cos(a) * 120, b - 220 + std::sin(a) * 60 + 40);
                Outline(cr, Hex(0x2E7D32), 12);
            }
        }
}

void Desert(cairo_t* cr, TRandom& rng, uint32_t skyTop, uint32_t skyBottom) {
    Gradient(cr, 0, H, Hex(skyTop), Hex(skyBottom));
    Sun(cr, 700, 170, 56, Hex(0xFFE082));
    const uint32_t tones[3] = {0xF0C987, 0xE3AE62, 0xD29247};
    for (int i = 0; i < 3; ++i) {
        const TWaveLine dune = RandomLine(rng, 440 + i * 100, 34 - i * 6);
        Hill(cr, dune, Hex(tones[i]), Darker(Hex(tones[i]), 0.15));
    }
}

void Forest(cairo_t* cr, TRandom& rng, uint32_t skyTop, uint32_t skyBottom,
            const std::vector<uint32_t>& layers, bool round, uint32_t ground, double mist) {
    Gradient(cr, 0, H, Hex(skyTop), Hex(skyBottom));
    for (size_t i = 0; i < layers.size(); ++i) {
        const double base = 380 + i * 110;
        TreeRow(cr, rng, base, 150 + i * 40, 18 - int(i) * 3, Hex(layers[i]), round);
        cairo_rectangle(cr, 0, base, W, H - base);
        const TColour layer = Hex(layers[i]);
        if (i + 1 == layers.size())
            SetColour(cr, Hex(ground));
        else
            SetColour(cr, round ? Darker(Hex(ground), 0.2) : layer);
        cairo_fill(cr);
        if (mist > 0) {
            Gradient(cr, base - 60, H, TColour{1, 1, 1, 0}, TColour{1, 1, 1, mist});
        }
    }
}

void City(cairo_t* cr, TRandom& rng, bool night) {
    if (night) {
        Gradient(cr, 0, H, Hex(0x0B1030), Hex(0x2A2F6A));
        Stars(cr, rng, 160, 380, 0.9);
        Moon(cr, 820, 120, 40);
        Towers(cr, rng, 700, 220, 430, Hex(0x1C2140), Hex(0x2C335C), 0.45);
        Houses(cr, rng, H, 140, 220, {0x303656, 0x3A3F63, 0x2B3050}, Hex(0x1E2238), Hex(0x394070),
               0.55, true);
    } else {
        Sky(cr, rng, TSky{0x64B5F6, 0xD6EEFF, 5, 0.6, 1.1});
        Towers(cr, rng, 620, 200, 420, Hex(0x9FB4CC), Hex(0xC9DCEB), 0.0);
        Houses(cr, rng, H, 160, 250, {0xFFCC80, 0xEF9A9A, 0xA5D6A7, 0x90CAF9, 0xFFF59D, 0xCE93D8},
               Hex(0xB5533C), Hex(0xD8F0FF), 0.0, true);
    }
}

// ---- The table of all 72 ----

struct TBackground {
    const char* Title;
    void (*Draw)(cairo_t*, TRandom&);
};

const TBackground Backgrounds[] = {
    {"Himmel mit Wolken",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x3D9BF0, 0xCFEBFF, 7, 0.8, 1.5});
     }},
    {"Heller Himmel",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x8CCBF7, 0xEAF6FF, 4, 0.6, 1.0});
     }},
    {"Morgenhimmel",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x8FB8E8, 0xFFD3B5, 6, 0.7, 1.3, 0xFFF4F0, 0xE9B8C0, 0.9});
     }},
    {"Abendhimmel",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x3B2E78), Hex(0xFF9A52));
         Sun(cr, 500, 640, 70, Hex(0xFFB74D));
         for (int i = 0; i < 6; ++i)
             Cloud(cr, (i + r.Range(0.2, 0.8)) * W / 6, r.Range(120, 420), r.Range(0.8, 1.4),
                   Hex(0xFFB08A), Hex(0x9C5B7A), 0.85);
     }},
    {"Bewölkt",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x9AA8B8, 0xDDE3EA, 12, 0.9, 1.7, 0xF2F4F7, 0xA9B3BF, 0.95, 0.8});
     }},
    {"Himmel mit Sonne",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x2F8FE8), Hex(0xBFE4FF));
         Sun(cr, 300, 200, 64, Hex(0xFFD740));
         for (int i = 0; i < 5; ++i)
             Cloud(cr, (i + r.Range(0.2, 0.8)) * W / 5, r.Range(300, 620), r.Range(0.8, 1.3),
                   Hex(0xFFFFFF), Hex(0xC9D8E8), 0.95);
     }},
    {"Schäfchenwolken",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x4FA3EE, 0xD9F0FF, 22, 0.35, 0.6, 0xFFFFFF, 0xD0DDEA, 0.95, 0.85});
     }},
    {"Tiefblauer Himmel",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x0B4FC4, 0x3D8DEB, 4, 0.9, 1.4});
     }},
    {"Wiese",
     [](cairo_t* cr, TRandom& r) {
         Meadow(cr, r, TSky{0x58AEF5, 0xD8F0FF, 5, 0.6, 1.1, 0xFFFFFF, 0xC9D8E8, 0.95, 0.45},
                0x8BCB5A, 0x5DAE3C, 60, false);
     }},
    {"Blumenwiese",
     [](cairo_t* cr, TRandom& r) {
         Meadow(cr, r, TSky{0x6DB8F5, 0xE3F4FF, 4, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.4},
                0x9ED36A, 0x6BBF45, 260, false);
     }},
    {"Grüne Hügel",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x7CC0F5, 0xE8F6FF, 3, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.35});
         const uint32_t greens[4] = {0xB5DC8C, 0x93CC64, 0x6FB845, 0x4F9F32};
         for (int i = 0; i < 4; ++i)
             Hill(cr, RandomLine(r, 380 + i * 95, 40 - i * 5), Hex(greens[i]),
                  Darker(Hex(greens[i]), 0.15));
     }},
    {"Sommerwiese mit Sonne",
     [](cairo_t* cr, TRandom& r) {
         Meadow(cr, r, TSky{0x3D9BF0, 0xCFEBFF, 3, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.35},
                0xA5D65C, 0x7CC242, 120, true);
     }},
    {"Frühling",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x9AD3FA, 0xF0FAFF, 4, 0.5, 0.9, 0xFFFFFF, 0xD5E3EE, 0.95, 0.35});
         const TWaveLine back = RandomLine(r, 480, 30);
         Hill(cr, back, Hex(0xC5E69A), Hex(0xA8D878));
         TreeRow(cr, r, 500, 120, 9, Hex(0x8FD07A), true);
         const TWaveLine front = RandomLine(r, 580, 20);
         Hill(cr, front, Hex(0x9BD46E), Hex(0x74BF4A));
         Flowers(cr, r, front, 90, 6, {0xFFFFFF, 0xFFF176, 0xF8BBD0});
     }},
    {"Herbsthügel",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x8DB3D6, 0xF2E2C8, 5, 0.6, 1.1, 0xFFFFFF, 0xCFC7BE, 0.9, 0.4});
         const TWaveLine back = RandomLine(r, 470, 36);
         Hill(cr, back, Hex(0xD7A35A), Hex(0xB9803A));
         TreeRow(cr, r, 520, 130, 8, Hex(0xE0752E), true);
         Hill(cr, RandomLine(r, 590, 24), Hex(0xC58B3F), Hex(0x9A6428));
     }},
    {"Felder",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x5FAEF0, 0xDDF1FF, 4, 0.5, 0.9, 0xFFFFFF, 0xC9D8E8, 0.95, 0.3});
         const uint32_t fields[6] = {0xE6C35C, 0x8BC34A, 0xC9A24A, 0x6DAF3F, 0xDCE775, 0x9CCC65};
         for (int i = 0; i < 6; ++i)
             Hill(cr, RandomLine(r, 400 + i * 62, 12), Hex(fields[i]), Darker(Hex(fields[i]), 0.1));
     }},
    {"Winterlandschaft",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0xA9C6E0, 0xEEF4F9, 5, 0.7, 1.2, 0xFFFFFF, 0xCBD6E0, 0.9, 0.4});
         Hill(cr, RandomLine(r, 470, 40), Hex(0xF4F8FB), Hex(0xD5E1EC));
         TreeRow(cr, r, 520, 120, 10, Hex(0x4E7C6A), false);
         Hill(cr, RandomLine(r, 590, 26), Hex(0xFFFFFF), Hex(0xDCE6EF));
         for (int i = 0; i < 220; ++i) {
             const double x = r.Range(0, W), y = r.Range(0, H), s = r.Range(1.5, 3.5);
             Ellipse(cr, x, y, s, s);
             SetColour(cr, TColour{1, 1, 1, 0.85});
             cairo_fill(cr);
         }
     }},
    {"Meer",
     [](cairo_t* cr, TRandom& r) {
         Sea(cr, r, TSky{0x4FA3EE, 0xD6EEFF, 5, 0.6, 1.1}, 380, 0x1A73C8, 0x0B3E7A, false);
     }},
    {"Meer mit Wellen",
     [](cairo_t* cr, TRandom& r) {
         Sea(cr, r, TSky{0x64B5F6, 0xE3F2FD, 4, 0.6, 1.0}, 330, 0x2196F3, 0x0D47A1, false);
         WaveLines(cr, 360, H, 9, TColour{1, 1, 1, 0.55}, 4);
     }},
    {"Ruhige See",
     [](cairo_t* cr, TRandom& r) {
         Sea(cr, r, TSky{0xBFD9EE, 0xF3F8FC, 3, 0.6, 1.0, 0xFFFFFF, 0xDCE4EC, 0.8}, 420, 0x9CC5E3,
             0x6FA4CC, false);
     }},
    {"Unter Wasser", [](cairo_t* cr, TRandom& r) { UnderWater(cr, r); }},
    {"Strand", [](cairo_t* cr, TRandom& r) { Beach(cr, r, false); }},
    {"Meer am Abend",
     [](cairo_t* cr, TRandom& r) {
         Sea(cr, r, TSky{0x4A3A8C, 0xFFB27A, 4, 0.8, 1.3, 0xFFC9A8, 0x9A6A8C, 0.85}, 420, 0x5B4A8E,
             0x1F1E4E, true);
     }},
    {"Schiefergrau (Suche)",
     [](cairo_t* cr, TRandom& r) {
         // Behind the red letter buttons and the light header text: dark, calm, cool.
         Gradient(cr, 0, H, Hex(0x34465A), Hex(0x243240));
         for (int i = 0; i < 14; ++i) {
             const double x = r.Range(0, W), y = r.Range(0, H), rad = r.Range(90, 220);
             Wrapped(x, rad, [&](double cx) {
                 Ellipse(cr, cx, y, rad, rad);
                 cairo_pattern_t* g = cairo_pattern_create_radial(cx, y, 0, cx, y, rad);
                 AddStop(g, 0, TColour{0.55, 0.68, 0.8, 0.07});
                 AddStop(g, 1, TColour{0.55, 0.68, 0.8, 0.0});
                 cairo_set_source(cr, g);
                 cairo_fill(cr);
                 cairo_pattern_destroy(g);
             });
         }
     }},
    {"Nachthimmel",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x050A24), Hex(0x1B2A5E));
         Stars(cr, r, 300, H, 1.0);
     }},
    {"Nacht mit Mond",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x0A1440), Hex(0x27407A));
         Stars(cr, r, 180, H * 0.8, 0.9);
         Moon(cr, 700, 200, 60);
     }},
    {"Sternenhimmel",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x000000), Hex(0x0E1230));
         Stars(cr, r, 900, H, 1.0);
     }},
    {"Nacht über Hügeln",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x0B1238), Hex(0x3A4C8A));
         Stars(cr, r, 220, 460, 0.9);
         Moon(cr, 260, 150, 46);
         Hill(cr, RandomLine(r, 520, 40), Hex(0x1E3A3A), Hex(0x142828));
         Hill(cr, RandomLine(r, 620, 30), Hex(0x122424), Hex(0x0A1616));
     }},
    {"Stadt bei Nacht", [](cairo_t* cr, TRandom& r) { City(cr, r, true); }},
    {"Dämmerung",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x1C1F55), Hex(0xC77DA8));
         Stars(cr, r, 90, 360, 0.7);
         Hill(cr, RandomLine(r, 600, 26), Hex(0x3A2A4E), Hex(0x221833));
     }},
    {"Nadelwald",
     [](cairo_t* cr, TRandom& r) {
         Forest(cr, r, 0x8CC8F0, 0xE6F5FF, {0x7FA88A, 0x4F8A5E, 0x2E6B40}, false, 0x3F7A3A, 0);
     }},
    {"Laubwald",
     [](cairo_t* cr, TRandom& r) {
         Forest(cr, r, 0x86C5F2, 0xE3F4FF, {0x9CCB7A, 0x6EAE4C, 0x4A8E34}, true, 0x5C9A3C, 0);
     }},
    {"Waldrand",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x5CAEF2, 0xDDF1FF, 4, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.35});
         TreeRow(cr, r, 470, 190, 14, Hex(0x3E7D4E), false);
         cairo_rectangle(cr, 0, 460, W, H - 460);
         SetColour(cr, Hex(0x7CC04F));
         cairo_fill(cr);
         const TWaveLine front = RandomLine(r, 600, 18);
         Hill(cr, front, Hex(0x8ED05C), Hex(0x6BB43F));
         Flowers(cr, r, front, 70, 6, {0xFFFFFF, 0xFFEB3B, 0xE1BEE7});
     }},
    {"Nebelwald",
     [](cairo_t* cr, TRandom& r) {
         Forest(cr, r, 0xD9E2E6, 0xEEF2F3, {0xB7C7C2, 0x9BB0AA, 0x809A92}, false, 0x7F978F, 0.35);
     }},
    {"Dunkler Wald",
     [](cairo_t* cr, TRandom& r) {
         Forest(cr, r, 0x1F3550, 0x5B7A8C, {0x1E3A2E, 0x142A20, 0x0B1A13}, false, 0x0B1A13, 0);
     }},
    {"Herbstwald",
     [](cairo_t* cr, TRandom& r) {
         Forest(cr, r, 0x9CC3E0, 0xF5E6CC, {0xE3A04A, 0xD9702C, 0xB5461E}, true, 0x8D5A2B, 0);
     }},
    {"Bunte Stadt", [](cairo_t* cr, TRandom& r) { City(cr, r, false); }},
    {"Altstadt",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x7DB9EA, 0xE8F4FD, 4, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.3});
         Houses(cr, r, 660, 200, 330, {0xF5E0C3, 0xF1C9A5, 0xE8D7B0, 0xF7EBD9, 0xDDBFA0},
                Hex(0x9E3B2A), Hex(0x7FA7C4), 0.0, true);
         cairo_rectangle(cr, 0, 660, W, H - 660);
         SetColour(cr, Hex(0xA8A39A));
         cairo_fill(cr);
         for (int i = 0; i < 32; ++i) {
             cairo_rectangle(cr, i * 32, 700, 2, 68);
         }
         SetColour(cr, Hex(0x8E897F));
         cairo_fill(cr);
     }},
    {"Hochhäuser",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x3E8FE0, 0xCDE6FA, 4, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.3});
         Towers(cr, r, H, 300, 560, Hex(0x7F93AA), Hex(0xB7D3EA), 0.0);
         Towers(cr, r, H, 160, 330, Hex(0x5E7189), Hex(0x9CC0DE), 0.0);
     }},
    {"Dorf",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x6FB7F2, 0xE3F4FF, 4, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.35});
         Hill(cr, RandomLine(r, 470, 30), Hex(0xA6D47A), Hex(0x85C05A));
         TreeRow(cr, r, 500, 110, 7, Hex(0x5E9E45), true);
         Houses(cr, r, 640, 110, 150, {0xFFF3D6, 0xFFE0B2, 0xF8F8F8}, Hex(0xC0502E), Hex(0x9CCBEA),
                0.0, true);
         cairo_rectangle(cr, 0, 640, W, H - 640);
         FillVertical(cr, 640, H, Hex(0x79B84E), Hex(0x5E9E3A));
     }},
    {"Stadt am Abend",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x3F3A8A), Hex(0xF7A072));
         Towers(cr, r, 700, 220, 420, Hex(0x4B3F6B), Hex(0x6D5D8E), 0.35);
         Houses(cr, r, H, 150, 230, {0x6B4F7A, 0x7A5B82, 0x5E4570}, Hex(0x3E2C4F), Hex(0x8D7AA8),
                0.4, true);
     }},
    {"Häuserreihe pastell",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0xE4EEF5), Hex(0xF7F9FB));
         Houses(cr, r, H, 260, 380, {0xF3E6E8, 0xE8EEF3, 0xEEF3E6, 0xF5F0E1}, Hex(0xD9C9C9),
                Hex(0xDDE7EF), 0.0, true);
     }},
    {"Berge",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x3D8FE0, 0xD5ECFF, 3, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.25});
         Mountains(cr, r, 580, 300, Hex(0x7D8FA3), true);
         Hill(cr, RandomLine(r, 600, 30), Hex(0x6DAA50), Hex(0x4E8A38));
     }},
    {"Bergsee",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x5A9FE6, 0xE0F1FF, 3, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.2});
         Mountains(cr, r, 490, 250, Hex(0x8593A8), true);
         Gradient(cr, 470, H, Hex(0x5C9CCB), Hex(0x28608F));
         WaveLines(cr, 480, H, 8, TColour{1, 1, 1, 0.25}, 2);
         TreeRow(cr, r, 480, 90, 20, Hex(0x2F5E3E), false);
     }},
    {"Almwiese",
     [](cairo_t* cr, TRandom& r) {
         Sky(cr, r, TSky{0x4D9BE8, 0xDDF0FF, 3, 0.6, 1.0, 0xFFFFFF, 0xC9D8E8, 0.95, 0.2});
         Mountains(cr, r, 540, 260, Hex(0x9AA6B5), true);
         const TWaveLine meadow = RandomLine(r, 520, 40);
         Hill(cr, meadow, Hex(0x9CD26A), Hex(0x6FB444));
         Flowers(cr, r, meadow, 150, 6, {0xFFFFFF, 0xFFEB3B, 0xBA68C8, 0x64B5F6});
     }},
    {"Felsenschlucht",
     [](cairo_t* cr, TRandom& r) {
         Gradient(cr, 0, H, Hex(0x6FB0E8), Hex(0xF3E1C2));
         Mountains(cr, r, 560, 280, Hex(0xC9773F), false);
         Mountains(cr, r, 680, 200, Hex(0xA85A2C), false);
         Hill(cr, RandomLine(r, 660, 14), Hex(0xD9A066), Hex(0xB97F45));
     }},
    {"Wüste", [](cairo_t* cr, TRandom& r) { Desert(cr, r, 0x79B6EA, 0xF8E7C4); }},
    {"Sanddünen am Abend", [](cairo_t* cr, TRandom& r) { Desert(cr, r, 0xC77B63, 0xFCD9A0); }},
    {"Palmenstrand", [](cairo_t* cr, TRandom& r) { Beach(cr, r, true); }},
    {"Streifen waagerecht",
     [](cairo_t* cr, TRandom&) {
         HorizontalStripes(cr, 48, {0xBBDEFB, 0xFFF9C4, 0xC8E6C9, 0xFFE0B2});
     }},
    {"Streifen senkrecht",
     [](cairo_t* cr, TRandom&) {
         VerticalStripes(cr, 64, {0xE1F5FE, 0xB3E5FC});
     }},
    {"Schachbrett sanft", [](cairo_t* cr, TRandom&) { Checker(cr, 64, 0xE8EEF3, 0xD3DEE8); }},
    {"Schachbrett schwarz-weiß",
     [](cairo_t* cr, TRandom&) { Checker(cr, 64, 0xFFFFFF, 0x000000); }},
    {"Punkte",
     [](cairo_t* cr, TRandom&) {
         Dots(cr, 64, 12, 0xFFF8E1, {0xFFCC80, 0x90CAF9, 0xA5D6A7, 0xF48FB1});
     }},
    {"Wellen",
     [](cairo_t* cr, TRandom&) {
         WaveBands(cr, {0x0277BD, 0x0288D1, 0x039BE5, 0x03A9F4, 0x29B6F6, 0x4FC3F7});
     }},
    {"Schräge Streifen",
     [](cairo_t* cr, TRandom&) { DiagonalStripes(cr, 64, 0xFFF3E0, 0xFFE0B2); }},
    {"Waben",
     [](cairo_t* cr, TRandom&) {
         Honeycomb(cr, {0xFFF59D, 0xFFE082, 0xFFD54F, 0xFFECB3}, 0xE0A800);
     }},
    {"Lichtkreise", [](cairo_t* cr, TRandom& r) { Bokeh(cr, r, 0x1A237E, 0x4A148C, 70); }},
    {"Dreiecke", [](cairo_t* cr, TRandom& r) { Triangles(cr, r, 200, 30); }},
    {"Karomuster", [](cairo_t* cr, TRandom&) { Plaid(cr, 0xF1F8E9, 0x81C784, 0x1E88E5); }},
    {"Regenbogenverlauf", [](cairo_t* cr, TRandom&) { Rainbow(cr); }},
    {"Weiß", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xFFFFFF)); }},
    {"Hellgrau", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xD9D9D9)); }},
    {"Creme", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xFFF6E0)); }},
    {"Hellblau", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xCFE8FA)); }},
    {"Hellgrün", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xD7F0C8)); }},
    {"Blassgelb", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xFFF7B8)); }},
    {"Zartrosa", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0xFBE1E6)); }},
    {"Mittelgrau", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0x8C8C8C)); }},
    {"Dunkelgrau", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0x3C3C3C)); }},
    {"Dunkelblau", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0x0D1F4A)); }},
    {"Schwarz", [](cairo_t* cr, TRandom&) { Plain(cr, Hex(0x000000)); }},
    {"Streifen schwarz-weiß",
     [](cairo_t* cr, TRandom&) {
         HorizontalStripes(cr, 64, {0x000000, 0xFFFFFF});
     }},
};

static_assert(std::size(Backgrounds) == BackgroundCount);

} // namespace

void DrawBackground(cairo_t* cr, int number) {
    TRandom rng(static_cast<uint64_t>(number) * 7919);
    cairo_save(cr);
    Backgrounds[number - 1].Draw(cr, rng);
    cairo_restore(cr);
}

std::string BackgroundTitle(int number) {
    return Backgrounds[number - 1].Title;
}

} // namespace kalvero::art
