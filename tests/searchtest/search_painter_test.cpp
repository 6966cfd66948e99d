#include "searchtest/search_board_painter.h"

#include "platform/random.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

// An opaque picture of one colour (0xRRGGBB).
TRasterImage Solid(int w, int h, unsigned rgb) {
    TRasterImage p = TRasterImage::Create(w, h);
    cairo_t* cr = cairo_create(p.Surface());
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return p;
}

void FillRect(const TRasterImage& p, double x, double y, double w, double h, unsigned rgb) {
    cairo_t* cr = cairo_create(p.Surface());
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_destroy(cr);
}

int Channel(unsigned argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

// Letter i gets the colour (10 * i, 255 - 5 * i, 100).
unsigned LetterColour(int i) {
    return (10u * i) << 16 | (255u - 5 * i) << 8 | 100u;
}

TSearchPictures LetterPictures(bool withBackground) {
    TSearchPictures pictures;
    for (int i = 0; i < SearchLetterCount; ++i)
        pictures.Letters[i] = Solid(40, 40, LetterColour(i));
    if (withBackground)
        pictures.Background = Solid(8, 8, 0x3050A0);
    return pictures;
}

TEST(DrawPictureScaled, EnlargesSmoothly) {
    TRasterImage twoPixels = TRasterImage::Create(2, 1);
    FillRect(twoPixels, 1, 0, 1, 1, 0xFFFFFF);
    FillRect(twoPixels, 0, 0, 1, 1, 0x000000);
    TRasterImage target = Solid(40, 10, 0xFF0000);
    DrawPictureScaled(target.Surface(), twoPixels.Surface(), 0, 0, 40, 10);
    int previous = -1;
    int between = 0;
    for (int x = 0; x < 40; ++x) {
        const unsigned p = target.PixelAt(x, 5);
        EXPECT_EQ(Channel(p, 24), 255);
        EXPECT_EQ(Channel(p, 16), Channel(p, 0)) << "grey only: the red target is covered";
        EXPECT_GE(Channel(p, 8), previous) << "monotonic from black to white at x " << x;
        previous = Channel(p, 8);
        between += previous > 20 && previous < 235;
    }
    EXPECT_GE(between, 8) << "a gradient, not a hard nearest-neighbour edge";
    EXPECT_LE(Channel(target.PixelAt(0, 5), 8), 20);
    EXPECT_GE(Channel(target.PixelAt(39, 5), 8), 235);
}

TEST(DrawPictureScaled, ReducesWithoutAliasing) {
    // One-pixel checkerboard reduced by four: every pixel comes out mid-grey.
    TRasterImage board = Solid(64, 64, 0x000000);
    for (int y = 0; y < 64; ++y)
        for (int x = y % 2; x < 64; x += 2)
            FillRect(board, x, y, 1, 1, 0xFFFFFF);
    TRasterImage target = Solid(16, 16, 0x000000);
    DrawPictureScaled(target.Surface(), board.Surface(), 0, 0, 16, 16);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            EXPECT_NEAR(Channel(target.PixelAt(x, y), 8), 128, 12) << x << "," << y;
}

TEST(DrawPictureScaled, UnscaledAtWholePixelsCopiesExactly) {
    TRasterImage board = Solid(8, 8, 0x000000);
    for (int y = 0; y < 8; ++y)
        for (int x = y % 2; x < 8; x += 2)
            FillRect(board, x, y, 1, 1, 0xFFFFFF);
    TRasterImage target = Solid(12, 12, 0xFF0000);
    DrawPictureScaled(target.Surface(), board.Surface(), 3, 2, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(target.PixelAt(x + 3, y + 2), board.PixelAt(x, y)) << x << "," << y;
    EXPECT_EQ(target.PixelAt(2, 2), 0xFFFF0000u);
    EXPECT_EQ(target.PixelAt(11, 10), 0xFFFF0000u);
}

TEST(DrawPictureScaled, ClipsToTheTargetAndLeavesTheRestAlone) {
    TRasterImage target = Solid(20, 20, 0x0000FF);
    TRasterImage green = Solid(10, 10, 0x00FF00);
    DrawPictureScaled(target.Surface(), green.Surface(), -10, 12, 20, 20);
    EXPECT_EQ(target.PixelAt(5, 15), 0xFF00FF00u);
    EXPECT_EQ(target.PixelAt(15, 5), 0xFF0000FFu);
    EXPECT_EQ(target.PixelAt(12, 15), 0xFF0000FFu);
    DrawPictureScaled(target.Surface(), green.Surface(), 30, 30, 5, 5); // fully outside
    DrawPictureScaled(target.Surface(), green.Surface(), 0, 0, 0, 5);   // empty
    EXPECT_EQ(target.PixelAt(2, 2), 0xFF0000FFu);
}

TEST(RenderSearchStatic, BackgroundCoversTheSurfaceCentred) {
    // A 200 x 100 background, left half red, right half blue, on a 100 x 100 surface: scaled
    // by 1 and centred, so the visible part is the middle: red on the left, blue on the right.
    TSearchPictures pictures = LetterPictures(false);
    pictures.Background = Solid(200, 100, 0xFF0000);
    FillRect(pictures.Background, 100, 0, 100, 100, 0x0000FF);
    TSearchScene scene{100, 100, 1.0, false, 0, nullptr, &pictures};
    const TRasterImage frame = RenderSearchStatic(scene);
    EXPECT_EQ(frame.PixelAt(10, 50), 0xFFFF0000u);
    EXPECT_EQ(frame.PixelAt(90, 50), 0xFF0000FFu);

    // Taller than wide: scaled by 4 to cover a 400 x 400 surface; the red half still the left.
    scene.Width = scene.Height = 400;
    const TRasterImage big = RenderSearchStatic(scene);
    EXPECT_EQ(big.PixelAt(0, 0), 0xFFFF0000u);
    EXPECT_EQ(big.PixelAt(399, 399), 0xFF0000FFu);
}

TEST(RenderSearchStatic, WithoutBackgroundThePlainColour) {
    TSearchPictures pictures = LetterPictures(false);
    TSearchScene scene{64, 48, 1.0, false, 0, nullptr, &pictures};
    const TRasterImage frame = RenderSearchStatic(scene);
    EXPECT_EQ(frame.PixelAt(0, 0), 0xFF28282Cu);
    EXPECT_EQ(frame.PixelAt(63, 47), 0xFF28282Cu);
    EXPECT_FALSE(RenderSearchStatic({0, 48, 1.0, false, 0, nullptr, &pictures}));
}

TEST(RenderSearchStatic, ButtonsAndHeaderOnlyWhileRunning) {
    TSearchPictures pictures = LetterPictures(true);
    TSeededRandom random(3);
    const TSearchItems items = GenerateBoard(30, random);
    const int w = 1200, h = 800;
    TSearchScene scene{w, h, 1.0, false, 30, &items, &pictures};
    const TSearchGeometry g = SearchGeometry(w, h, 1.0);

    const TRasterImage intro = RenderSearchStatic(scene);
    for (const TSearchItem& item : items) {
        const TSearchPoint c = g.Centre(item);
        ASSERT_EQ(intro.PixelAt(int(c.X), int(c.Y)), 0xFF3050A0u) << "no buttons before start";
    }

    scene.Running = true;
    const TRasterImage board = RenderSearchStatic(scene);
    for (const TSearchItem& item : items) {
        const TSearchPoint c = g.Centre(item);
        ASSERT_EQ(board.PixelAt(int(c.X), int(c.Y)), 0xFF000000u | LetterColour(item.Letter));
        // Just inside and just outside the button's square of side D.
        const int inside = int(c.X + g.Diameter / 2 - 2);
        const int outside = int(c.X + g.Diameter / 2 + 2);
        ASSERT_EQ(board.PixelAt(inside, int(c.Y)), 0xFF000000u | LetterColour(item.Letter));
        ASSERT_EQ(board.PixelAt(outside, int(c.Y)), 0xFF3050A0u);
    }
    // The target picture (Z, held from 30) in the header: 56 px square from y = 7.
    const TSearchHeaderLayout header = SearchHeaderLayout(w, 100, 1.0);
    int zPixels = 0;
    for (int x = 0; x < w; ++x)
        zPixels += board.PixelAt(x, 35) == (0xFF000000u | LetterColour(25));
    EXPECT_NEAR(zPixels, header.PictureSize, 2);
    EXPECT_EQ(board.PixelAt(w / 2, 3), 0xFF3050A0u) << "above the header picture";
}

TEST(RenderSearchStatic, DrawsOverAGivenBackdropOfItsSizeWithoutChangingIt) {
    TSearchPictures pictures = LetterPictures(true);
    TSeededRandom random(9);
    const TSearchItems items = GenerateBoard(1, random);
    const TRasterImage backdrop = Solid(600, 400, 0xFF00FF);
    const TSearchScene scene{600, 400, 1.0, true, 1, &items, &pictures};
    const TRasterImage board = RenderSearchStatic(scene, backdrop);
    EXPECT_EQ(board.PixelAt(0, 399), 0xFFFF00FFu);
    const TSearchPoint c = SearchGeometry(600, 400, 1.0).Centre(items[0]);
    EXPECT_EQ(board.PixelAt(int(c.X), int(c.Y)), 0xFF000000u | LetterColour(items[0].Letter));
    EXPECT_EQ(backdrop.PixelAt(int(c.X), int(c.Y)), 0xFFFF00FFu);

    const TRasterImage other =
        RenderSearchStatic({300, 200, 1.0, false, 1, &items, &pictures}, backdrop);
    EXPECT_EQ(other.PixelAt(0, 0), 0xFF3050A0u) << "a backdrop of another size is not used";
}

TEST(SearchHeaderLayout, CentresTextGapAndPicture) {
    const TSearchHeaderLayout a = SearchHeaderLayout(1000, 100, 1.0);
    EXPECT_DOUBLE_EQ(a.PictureSize, 56);
    EXPECT_DOUBLE_EQ(a.TextX, (1000 - 168) / 2.0);
    EXPECT_DOUBLE_EQ(a.PictureX, a.TextX + 112);
    EXPECT_DOUBLE_EQ(a.Baseline, 44);
    EXPECT_DOUBLE_EQ(a.PictureY, 7);

    const TSearchHeaderLayout b = SearchHeaderLayout(1000, 100, 1.5);
    EXPECT_DOUBLE_EQ(b.PictureSize, 84);
    EXPECT_DOUBLE_EQ(b.Baseline, 66);
    EXPECT_DOUBLE_EQ(b.PictureY, 10.5);
    EXPECT_DOUBLE_EQ(b.PictureX - b.TextX, 118);
}

TEST(DrawSearchMarks, YellowOverDarkOnMarkedButtonsOnly) {
    TSearchItems items(2);
    items[0].CX = 0.25f;
    items[1].CX = 0.75f;
    items[0].CY = items[1].CY = 0.5f;
    items[0].Marked = true;
    const TSearchGeometry g = SearchGeometry(1200, 1150, 1.0); // board 1200 x 1000, D = 62
    const TRasterImage grey = Solid(1200, 1150, 0x808080);
    TRasterImage frame;
    ComposeSearchFrame(grey, items, g, frame);
    ASSERT_TRUE(frame);

    const TSearchPoint c = g.Centre(items[0]);
    EXPECT_EQ(frame.PixelAt(int(c.X), int(c.Y)), 0xFFFFD200u);
    // Along the stroke, away from the centre but inside the yellow core.
    const double along = 0.3 * g.Diameter;
    EXPECT_EQ(frame.PixelAt(int(c.X + along), int(c.Y - along)), 0xFFFFD200u);
    // Perpendicular to the stroke, between the yellow (0.055 D) and dark (0.085 D) half widths:
    // the dark grey over the background at three quarters.
    const double off = 0.07 * g.Diameter / 1.41421356;
    const unsigned edge = frame.PixelAt(int(c.X + off + 0.5), int(c.Y + off + 0.5));
    EXPECT_LT(Channel(edge, 16), 0x80);
    EXPECT_LT(Channel(edge, 0), 0x80);
    // The stroke runs from lower left to upper right, not the other diagonal.
    EXPECT_EQ(frame.PixelAt(int(c.X - along), int(c.Y - along)), 0xFF808080u);

    const TSearchPoint c1 = g.Centre(items[1]);
    EXPECT_EQ(frame.PixelAt(int(c1.X), int(c1.Y)), 0xFF808080u) << "unmarked stays bare";
    EXPECT_EQ(grey.PixelAt(int(c.X), int(c.Y)), 0xFF808080u) << "the cached picture is kept";
}

TEST(RenderCentredSquare, LargestCentredSquareOnThePanelColour) {
    const TRasterImage red = Solid(30, 30, 0xFF0000);
    const TRasterImage p = RenderCentredSquare(red, 200, 100, 0xF6F6F6);
    EXPECT_EQ(p.PixelAt(100, 50), 0xFFFF0000u);
    EXPECT_EQ(p.PixelAt(52, 50), 0xFFFF0000u);
    EXPECT_EQ(p.PixelAt(147, 50), 0xFFFF0000u);
    EXPECT_EQ(p.PixelAt(48, 50), 0xFFF6F6F6u);
    EXPECT_EQ(p.PixelAt(152, 50), 0xFFF6F6F6u);
}

} // namespace
} // namespace kalvero
