#include "compose_fixture.h"
#include "engine/pixel_blit.h"

#include <gtest/gtest.h>

namespace kalvero::test {
namespace {

// A strip whose pixel in column k encodes k, so shifts can be read back.
TRasterImage ColumnCodedStrip(int width, int height) {
    TRasterImage image = TRasterImage::Create(width, height);
    std::uint8_t* data = image.MutableData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = 0xFF000000u | (x * 2u) << 8 | static_cast<unsigned>(y);
            std::memcpy(data + y * image.Stride() + x * 4, &pixel, 4);
        }
    image.MarkDirty();
    return image;
}

std::uint32_t Green(std::uint32_t pixel) {
    return (pixel >> 8) & 0xFF;
}

struct TStripCase {
    double BackOffset;
    bool Smooth;
    double FirstColumn; // strip column seen at frame column 0 (x.5: the mean of two columns)
};

class StripOffsetTest : public ::testing::TestWithParam<TStripCase> {};

TEST_P(StripOffsetTest, StripShiftedByTheSnappedOffset) {
    const TStripCase c = GetParam();
    TComposeWorld world;
    world.Images.Strip = ColumnCodedStrip(100, 20);
    world.Sprites.BackOffset = c.BackOffset;
    TComposerUnderTest t(world, 2);
    t.Loop.FSmooth = c.Smooth;
    t.Compose(60, 20);
    for (int x = 0; x < 60; ++x) {
        const double column = x + c.FirstColumn;
        ASSERT_EQ(Green(t.Pixel(x, 7)), static_cast<std::uint32_t>(std::ceil(column * 2)))
            << "column " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, StripOffsetTest,
                         ::testing::Values(TStripCase{3.0, false, 3}, TStripCase{3.5, false, 4},
                                           TStripCase{2.5, false, 2}, TStripCase{2.4, true, 2.4},
                                           TStripCase{3.0, true, 3}, TStripCase{3.5, true, 3.5},
                                           TStripCase{0.0, true, 0}));

TEST(StripTest, MissingStripAndRowsBelowTheStripAreWhite) {
    TComposeWorld world;
    TComposerUnderTest none(world, 2);
    none.Compose(30, 12);
    EXPECT_EQ(none.Pixel(29, 11), 0xFFFFFFFF);
    world.Images.Strip = SolidImage(90, 8, 0xFF102030);
    TComposerUnderTest shortStrip(world, 2);
    shortStrip.Compose(30, 12);
    EXPECT_EQ(shortStrip.Pixel(5, 7), 0xFF102030);
    EXPECT_EQ(shortStrip.Pixel(5, 8), 0xFFFFFFFF);
}

TEST(BlendTest, PremultipliedSourceOver) {
    EXPECT_EQ(BlendOver(0x80404040, 0xFFFFFFFF), 0xFFBFBFBF);
    EXPECT_EQ(BlendOver(0x00000000, 0xFF123456), 0xFF123456);
    EXPECT_EQ(BlendOver(0xFF654321, 0xFF123456), 0xFF654321);
    EXPECT_EQ(BlendOver(0xD0000000, 0xFF808080), 0xFF181818);
}

// One pixel of a picture drawn at a fractional position, computed the slow way: a linear
// blend of the four source pixels around the sample point (transparent outside the picture),
// vertical first, each step rounded to 8 bits, then source over.
std::uint32_t ReferencePixel(const TRasterImage& image, int x, int y, double px, double py,
                             std::uint32_t background) {
    const long sx = std::lrint(px * 256), sy = std::lrint(py * 256);
    const long ix = sx >> 8, fx = sx & 255, iy = sy >> 8, fy = sy & 255;
    auto at = [&](long c, long r) {
        return image.PixelAt(static_cast<int>(c), static_cast<int>(r));
    };
    auto lerp = [](std::uint32_t a, std::uint32_t b, long fa) {
        std::uint32_t out = 0;
        for (int s = 0; s < 32; s += 8)
            out |= ((((a >> s) & 0xFF) * fa + ((b >> s) & 0xFF) * (256 - fa) + 128) >> 8) << s;
        return out;
    };
    const long c = x - ix, r = y - iy;
    auto column = [&](long cc) {
        if (cc < 0 || cc >= image.Width())
            return 0u;
        if (fy == 0)
            return at(cc, r);
        return lerp(r >= 1 ? at(cc, r - 1) : 0, at(cc, r), fy);
    };
    const std::uint32_t sample = fx == 0 ? column(c) : lerp(column(c - 1), column(c), fx);
    return BlendOver(sample, background);
}

TEST(BlendTest, FractionalPositionsMatchThePlainFormulaEverywhere) {
    TSeededRandom random(3);
    const int width = 41, height = 23;
    const std::uint32_t background = 0xFF336699;
    std::vector<std::uint32_t> frame(static_cast<size_t>(width) * height);
    const TPixelTarget target{reinterpret_cast<std::uint8_t*>(frame.data()), width * 4, width,
                              height, 0};
    for (int round = 0; round < 200; ++round) {
        const TRasterImage image =
            RandomImage(random, 1 + random.Next(19), 1 + random.Next(12), false);
        const double px = random.Next(60) - 15 + (random.Next(2) ? random.NextReal() : 0.0);
        const double py = random.Next(34) - 8 + (random.Next(2) ? random.NextReal() : 0.0);
        std::fill(frame.begin(), frame.end(), background);
        DrawImageRows(target, 0, height, image, px, py, TSampling::Linear);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(frame[y * width + x], ReferencePixel(image, x, y, px, py, background))
                    << "round " << round << " at " << x << ", " << y << " drawn at " << px << ", "
                    << py;
    }
}

} // namespace
} // namespace kalvero::test
