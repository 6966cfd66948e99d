#include "compose_fixture.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cmath>

namespace kalvero::test {
namespace {

constexpr std::uint32_t Grey = 0xFF808080;
constexpr std::uint32_t White = 0xFFFFFFFF;
constexpr std::uint32_t Red = 0xFFFF0000;
constexpr int Width = 240, Height = 120;

class ComposeOverlayTest : public ::testing::Test {
protected:
    ComposeOverlayTest() { World.Images.Strip = SolidImage(Width * 2, Height, Grey); }
    TComposeWorld World;
};

struct TTimePlace {
    int Direction;
    float Px;
};

class TimeDisplayPlaceTest : public ComposeOverlayTest,
                             public ::testing::WithParamInterface<TTimePlace> {};

// The white box reaches 5 x FPx beyond the text on both sides; the text starts 20 x FPx from the
// left edge (leftward motion) or ends 20 x FPx from the right edge (rightward motion). Only the
// box's margins are looked at, never the glyphs.
TEST_P(TimeDisplayPlaceTest, SitsTwentyPixelsFromTheEdgeTheSpritesComeFrom) {
    const TTimePlace c = GetParam();
    World.Run.FPx = c.Px;
    World.Sprites.MoveDirection = c.Direction;
    World.Controls.checkboxZeit().SetChecked(true);
    World.Hooks.ElapsedMs = 83000;
    TComposerUnderTest t(World, 2);
    t.Composer->MakeFonts(c.Px);
    t.Compose(Width, Height);
    const double m = 20 * c.Px, margin = 5 * c.Px;
    const int row = static_cast<int>(m + 10 * c.Px);
    if (c.Direction == -1) {
        const int boxLeft = static_cast<int>(std::ceil(m - margin));
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(t.Pixel(boxLeft + k, row), White) << "column " << boxLeft + k;
        EXPECT_EQ(t.Pixel(static_cast<int>(std::floor(m - margin)) - 1, row), Grey);
    } else {
        const double boxRight = Width - m + margin;
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(t.Pixel(static_cast<int>(std::floor(boxRight)) - k, row), White);
        EXPECT_EQ(t.Pixel(static_cast<int>(std::ceil(boxRight)), row), Grey);
    }
    EXPECT_EQ(t.Pixel(c.Direction == -1 ? Width - 16 : 15, row), Grey); // not at the other edge
}

INSTANTIATE_TEST_SUITE_P(Directions, TimeDisplayPlaceTest,
                         ::testing::Values(TTimePlace{-1, 1.0f}, TTimePlace{1, 1.0f},
                                           TTimePlace{-1, 1.5f}, TTimePlace{1, 1.5f}));

struct TTimeText {
    std::int64_t ElapsedMs;
    const char* Text;
};

class TimeTextTest : public ComposeOverlayTest, public ::testing::WithParamInterface<TTimeText> {};

TEST_P(TimeTextTest, MinutesAndSeconds) {
    World.Controls.checkboxZeit().SetChecked(true);
    World.Hooks.ElapsedMs = GetParam().ElapsedMs;
    TComposerUnderTest t(World, 1);
    t.Compose(Width, Height);
    EXPECT_EQ(t.Composer->FLastTimeStr, GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Times, TimeTextTest,
                         ::testing::Values(TTimeText{0, "00:00"}, TTimeText{-40, "00:00"},
                                           TTimeText{59999, "00:59"}, TTimeText{60000, "01:00"},
                                           TTimeText{125 * 60000 + 3999, "125:03"}));

// Regression: the text was only remade when the seconds changed, so a frame exactly one minute
// after the last one kept the old minutes.
TEST_F(ComposeOverlayTest, TimeTextFollowsAJumpOfAWholeMinute) {
    World.Controls.checkboxZeit().SetChecked(true);
    TComposerUnderTest t(World, 1);
    World.Hooks.ElapsedMs = 59999;
    t.Compose(Width, Height);
    World.Hooks.ElapsedMs = 119999;
    t.Compose(Width, Height);
    EXPECT_EQ(t.Composer->FLastTimeStr, "01:59");
}

TEST_F(ComposeOverlayTest, NoTimeDisplayWhenSwitchedOff) {
    World.Hooks.ElapsedMs = 5000;
    TComposerUnderTest t(World, 1);
    t.Compose(Width, Height);
    for (int x = 0; x < Width; ++x)
        ASSERT_EQ(t.Pixel(x, 30), Grey) << "column " << x;
}

class MissingAlertnessTest : public ComposeOverlayTest,
                             public ::testing::WithParamInterface<float> {};

TEST_P(MissingAlertnessTest, RedSquareAndTheOnsetIsStillRecorded) {
    const float px = GetParam();
    World.Run.FPx = px;
    World.Clock.AdvanceMs(4321);
    World.ShowAlertness(1, 40, 10); // the Stern list is empty
    TComposerUnderTest t(World, 2);
    t.Compose(Width, Height);
    const int side = static_cast<int>(100 * px);
    EXPECT_EQ(t.Pixel(40, 10), Red);
    EXPECT_EQ(t.Pixel(40 + side - 1, 10 + side - 1), Red);
    EXPECT_EQ(t.Pixel(40 + side + 1, 10 + side / 2), Grey);
    EXPECT_EQ(t.Pixel(39, 10 + side / 2), Grey);
    EXPECT_FALSE(World.Alertness.FAlertOnsetPending);
    EXPECT_EQ(World.Alertness.FAlertOnsetTick, 4321);
}

INSTANTIATE_TEST_SUITE_P(PixelScales, MissingAlertnessTest, ::testing::Values(1.0f, 1.05f));

TEST_F(ComposeOverlayTest, FrameIndexOutsideTheListAlsoGivesTheSquare) {
    World.Images.Alert[2] = {SolidImage(8, 8, 0xFF0000FF)};
    World.ShowAlertness(3, 10, 10, 1);
    TComposerUnderTest t(World, 1);
    t.Compose(Width, Height);
    EXPECT_EQ(t.Pixel(60, 60), Red);
}

TEST_F(ComposeOverlayTest, AlertnessPictureAtItsRoundedPositionOnsetTakenOnce) {
    const std::uint32_t blue = 0xFF0000FF;
    World.Images.Alert[1] = {SolidImage(10, 10, 0xFF00FF00), SolidImage(10, 10, blue)};
    World.ShowAlertness(2, 10.4, 20.6, 1);
    World.Clock.AdvanceMs(1000);
    TComposerUnderTest t(World, 2);
    t.Compose(Width, Height);
    EXPECT_EQ(t.Pixel(10, 21), blue);
    EXPECT_EQ(t.Pixel(19, 30), blue);
    EXPECT_EQ(t.Pixel(9, 21), Grey);
    EXPECT_EQ(t.Pixel(10, 20), Grey);
    EXPECT_EQ(t.Pixel(20, 25), Grey);
    World.Clock.AdvanceMs(500);
    t.Compose(Width, Height);
    EXPECT_EQ(World.Alertness.FAlertOnsetTick, 1000);
}

TEST_F(ComposeOverlayTest, HiddenStimulusTakesNoOnset) {
    World.ShowAlertness(1, 10, 10);
    World.Alertness.AlertnessVars.IsVisible = false;
    TComposerUnderTest t(World, 1);
    t.Compose(Width, Height);
    EXPECT_TRUE(World.Alertness.FAlertOnsetPending);
    EXPECT_EQ(t.Pixel(15, 15), Grey);
}

// The expected pause screen is drawn over the unpaused frame with the composer's own fonts:
// the veil, then the three lines centred at their baselines.
std::vector<std::uint8_t> ExpectedPauseScreen(const std::vector<std::uint8_t>& unpaused,
                                              const TCairoFrameComposer& composer,
                                              const std::string& title) {
    std::vector<std::uint8_t> pixels = unpaused;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        pixels.data(), CAIRO_FORMAT_ARGB32, Width, Height, Width * 4);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, 32 / 255.0, 32 / 255.0, 32 / 255.0, 192 / 255.0);
    cairo_rectangle(cr, 0, 0, Width, Height);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    auto line = [&](const TCairoFont& font, const std::string& text, double baseline) {
        font.DrawText(cr, (Width - font.TextWidth(text)) / 2, baseline, text);
    };
    line(composer.FPauseFont, title, Height / 2.0 - 40);
    line(composer.FPauseFontSmall, "Schauen Sie in die Ferne oder schließen Sie kurz die Augen.",
         Height / 2.0 + 20);
    line(composer.FPauseFontSmall, "Weiter mit der Leertaste   ·   Beenden mit Esc",
         Height / 2.0 + 70);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixels;
}

struct TPauseCase {
    bool Reminder;
    const char* Title;
};

class PauseScreenTest : public ComposeOverlayTest,
                        public ::testing::WithParamInterface<TPauseCase> {};

TEST_P(PauseScreenTest, TitleByTheKindOfPause) {
    World.Images.Frames[0][0] = {SolidImage(20, 20, 0xFF00FF00)};
    World.AddSprite(30, 30);
    TComposerUnderTest t(World, 2);
    t.Compose(Width, Height);
    const std::vector<std::uint8_t> unpaused = t.Bytes();
    World.Run.FPaused = true;
    World.Run.FPauseIsReminder = GetParam().Reminder;
    t.Compose(Width, Height);
    EXPECT_EQ(t.Bytes(), ExpectedPauseScreen(unpaused, *t.Composer, GetParam().Title));
}

INSTANTIATE_TEST_SUITE_P(Kinds, PauseScreenTest,
                         ::testing::Values(TPauseCase{true, "Zeit für eine kurze Pause"},
                                           TPauseCase{false, "Pause"}));

TEST_F(ComposeOverlayTest, StatisticsLineOnADarkBoxAtTheBottom) {
    TComposerUnderTest t(World, 1);
    t.Loop.FShowStats = true;
    t.Compose(Width, Height);
    EXPECT_EQ(t.Pixel(Width / 2, Height - 30), Grey); // no text yet: nothing shown
    t.Loop.FStatText = QStringLiteral("abc");
    t.Compose(Width, Height);
    const double tw = t.Composer->FTimeFont.TextWidth("abc");
    const int boxLeft = static_cast<int>(std::ceil((Width - tw) / 2 - 8));
    EXPECT_EQ(t.Pixel(boxLeft + 1, Height - 45), BlendOver(0xD0000000, Grey));
    EXPECT_EQ(t.Pixel(boxLeft + 1, Height - 15), BlendOver(0xD0000000, Grey));
    EXPECT_EQ(t.Pixel(boxLeft + 1, Height - 13), Grey);
    EXPECT_EQ(t.Pixel(boxLeft - 2, Height - 30), Grey);
    t.Loop.FShowStats = false;
    t.Compose(Width, Height);
    EXPECT_EQ(t.Pixel(boxLeft + 1, Height - 45), Grey);
}

TEST_F(ComposeOverlayTest, FollowerOverEverySpriteAndHiddenWhileWaiting) {
    const std::uint32_t green = 0xFF00FF00, blue = 0xFF0000FF;
    World.Images.Frames[0][0] = {SolidImage(20, 20, green)};
    World.Images.Follower = {SolidImage(10, 10, blue)};
    World.AddSprite(30, 30);
    World.Follower.VerfolgerObj = std::make_unique<TSpriteObj>(35, 35, 100.0, 1.0, 0);
    World.AddSprite(30, 30); // later sprites are drawn over earlier ones, the follower over all
    TComposerUnderTest t(World, 2);
    t.Compose(Width, Height);
    EXPECT_EQ(t.Pixel(40, 40), blue);
    EXPECT_EQ(t.Pixel(31, 31), green);
    World.Follower.FVerfolgerRespawnTimer = 0.5;
    t.Compose(Width, Height);
    EXPECT_EQ(t.Pixel(40, 40), green);
}

TEST_F(ComposeOverlayTest, FontsFollowThePixelScale) {
    TComposerUnderTest t(World, 1);
    EXPECT_EQ(t.Composer->FTimeFont.SizePx(), 24);
    t.Composer->MakeFonts(1.5f);
    EXPECT_EQ(t.Composer->FTimeFont.SizePx(), 36);
    EXPECT_EQ(t.Composer->FPauseFont.SizePx(), 69);
    EXPECT_EQ(t.Composer->FPauseFontSmall.SizePx(), 39);
}

} // namespace
} // namespace kalvero::test
