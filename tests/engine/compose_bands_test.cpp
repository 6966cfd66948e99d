#include "compose_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kalvero::test {
namespace {

constexpr std::uint32_t Grey = 0xFF808080;
constexpr std::uint32_t Sentinel = 0x12345678;

struct TSplitCase {
    int Height;
    int Processors;
    std::vector<int> Heights; // rows of every band; empty: no bands
};

class BandSplitTest : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(BandSplitTest, RowsFollowTheProcessorCount) {
    const TSplitCase c = GetParam();
    const TBandSplit split = SplitIntoBands(c.Height, c.Processors);
    EXPECT_EQ(split.H, c.Heights);
    int y = 0;
    for (size_t i = 0; i < split.Y.size(); ++i) {
        EXPECT_EQ(split.Y[i], y);
        y += split.H[i];
    }
    if (!c.Heights.empty()) {
        EXPECT_EQ(y, c.Height);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Heights, BandSplitTest,
    ::testing::Values(TSplitCase{1080, 8, std::vector<int>(8, 135)},
                      TSplitCase{1080, 12, std::vector<int>(8, 135)},
                      TSplitCase{1080, 6, std::vector<int>(6, 180)},
                      TSplitCase{1081, 8, {136, 136, 136, 136, 136, 136, 136, 129}},
                      TSplitCase{5, 8, {1, 1, 1, 1, 1}}, TSplitCase{1080, 1, {}},
                      TSplitCase{1080, 0, {}}, TSplitCase{0, 8, {}}));

class ComposeBandsTest : public ::testing::Test {
protected:
    ComposeBandsTest() { World.Images.Strip = SolidImage(200, 300, Grey); }
    TComposeWorld World;
};

struct TWorkerCase {
    int Processors;
    int Height;
    int Bands;
};

class WorkerCountTest : public ComposeBandsTest,
                        public ::testing::WithParamInterface<TWorkerCase> {};

TEST_P(WorkerCountTest, OneWorkerPerBandButTheFirst) {
    const TWorkerCase c = GetParam();
    TComposerUnderTest t(World, c.Processors);
    t.Compose(64, c.Height);
    EXPECT_EQ(t.Composer->BackBuffer().BandCount(), c.Bands);
    EXPECT_EQ(t.Composer->BandWorkerCount(), std::max(c.Bands - 1, 0));
    for (int y = 0; y < c.Height; ++y)
        ASSERT_EQ(t.Pixel(63, y), Grey) << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(Processors, WorkerCountTest,
                         ::testing::Values(TWorkerCase{8, 5, 5}, TWorkerCase{8, 40, 8},
                                           TWorkerCase{1, 40, 0}, TWorkerCase{3, 40, 3}));

// A random scene: strip (sometimes shorter than the frame or absent), pictures with random
// alpha in every list, sprites anywhere (also off screen and with indices outside the lists),
// the follower, the alertness stimulus and the time display.
void MakeRandomScene(TComposeWorld& w, TSeededRandom& r, int width, int height) {
    const int tile = 8 + r.Next(40);
    const int stripRows = r.Next(5) == 0 ? height - r.Next(4) : height;
    w.Images.Strip = r.Next(8) == 0 ? TRasterImage{}
                                    : RandomImage(r, tile * (width / tile + 2), stripRows, true);
    w.Sprites.BackOffset = r.Next(3) == 0 ? r.Next(tile) : r.NextReal() * tile;
    w.Sprites.MoveDirection = r.Next(2) ? 1 : -1;
    for (auto& colour : w.Images.Frames)
        for (FrameList& list : colour) {
            list.clear();
            for (int k = r.Next(4); k > 0; --k)
                list.push_back(RandomImage(r, 2 + r.Next(30), 2 + r.Next(30), false));
        }
    w.Images.Follower = {RandomImage(r, 5 + r.Next(40), 5 + r.Next(40), false)};
    auto coordinate = [&](int extent) {
        const double whole = r.Next(extent + 80) - 40;
        return r.Next(3) == 0 ? whole : whole + r.NextReal();
    };
    w.Sprites.ActiveSprites.clear();
    for (int n = r.Next(40); n > 0; --n)
        w.AddSprite(coordinate(width), coordinate(height), r.Next(5) - 1, r.Next(5) - 1);
    w.Follower.VerfolgerObj =
        std::make_unique<TSpriteObj>(coordinate(width), coordinate(height), 100.0, 1.0, 0);
    w.Follower.FVerfolgerRespawnTimer = r.Next(4) == 0 ? 1.0 : 0.0;
    w.Images.Alert[0] = {RandomImage(r, 12, 12, false)};
    if (r.Next(2))
        w.ShowAlertness(1 + r.Next(3), coordinate(width), coordinate(height));
    w.Controls.checkboxZeit().SetChecked(r.Next(2) == 1);
    w.Hooks.ElapsedMs = r.Next(200000);
}

TEST_F(ComposeBandsTest, BandsGiveTheSameBytesAsOneThread) {
    TSeededRandom random(20240611);
    const int processorCounts[] = {2, 3, 4, 5, 7, 8};
    for (int scene = 0; scene < 60; ++scene) {
        const int width = 20 + random.Next(180);
        const int height = 1 + random.Next(150);
        MakeRandomScene(World, random, width, height);
        const bool smooth = random.Next(3) != 0;
        TComposerUnderTest single(World, 1);
        single.Loop.FSmooth = smooth;
        single.Compose(width, height);
        for (int processors : processorCounts) {
            TComposerUnderTest banded(World, processors);
            banded.Loop.FSmooth = smooth;
            banded.Compose(width, height);
            if (height > 1) {
                ASSERT_GT(banded.Composer->BandWorkerCount(), 0);
            }
            ASSERT_EQ(banded.Bytes(), single.Bytes())
                << "scene " << scene << ", " << width << " x " << height << ", " << processors
                << " processors, fein " << smooth;
        }
    }
}

TEST_F(ComposeBandsTest, RepeatedFramesWithTheSameWorkersStayEqual) {
    TSeededRandom random(99);
    TComposerUnderTest single(World, 1), banded(World, 8);
    for (int frame = 0; frame < 40; ++frame) {
        MakeRandomScene(World, random, 160, 120);
        single.Compose(160, 120);
        banded.Compose(160, 120);
        ASSERT_EQ(banded.Bytes(), single.Bytes()) << "frame " << frame;
    }
}

// Sprite rows are coded by their row number, so a seam would show as a wrong or missing row.
TRasterImage RowCodedSprite(int width, int height) {
    TRasterImage image = TRasterImage::Create(width, height);
    std::uint8_t* data = image.MutableData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = 0xFF000000u | (y * 16u) << 16 | (x * 16u) << 8 | 0x55u;
            std::memcpy(data + y * image.Stride() + x * 4, &pixel, 4);
        }
    image.MarkDirty();
    return image;
}

TEST_F(ComposeBandsTest, SpriteAcrossABandBorderHasNoSeam) {
    World.Images.Frames[0][0] = {RowCodedSprite(6, 12)};
    World.AddSprite(7, 5); // rows 5 .. 16 cross the border at row 10
    TComposerUnderTest t(World, 4);
    t.Compose(64, 40);
    ASSERT_EQ(t.Composer->BackBuffer().FBandY, (std::vector<int>{0, 10, 20, 30}));
    const TRasterImage& sprite = World.Images.Frames[0][0][0];
    for (int y = 4; y <= 17; ++y)
        for (int x = 6; x <= 13; ++x) {
            const bool inside = y >= 5 && y < 17 && x >= 7 && x < 13;
            ASSERT_EQ(t.Pixel(x, y), inside ? sprite.PixelAt(x - 7, y - 5) : Grey)
                << x << ", " << y;
        }
}

TEST_F(ComposeBandsTest, HalfPixelSpriteAcrossABorderBlendsTheRowsOnBothSides) {
    World.Images.Frames[0][0] = {RowCodedSprite(6, 12)};
    World.AddSprite(7, 4.5); // the border row 10 lies between sprite rows 5 and 6
    TComposerUnderTest t(World, 4);
    t.Compose(64, 40);
    const TRasterImage& sprite = World.Images.Frames[0][0][0];
    for (int y = 9; y <= 11; ++y) {
        const std::uint32_t above = sprite.PixelAt(2, y - 5), below = sprite.PixelAt(2, y - 4);
        const std::uint32_t red = (((above >> 16) & 0xFF) + ((below >> 16) & 0xFF) + 1) / 2;
        EXPECT_EQ((t.Pixel(9, y) >> 16) & 0xFF, red) << "row " << y;
    }
}

TEST_F(ComposeBandsTest, ResizeRebuildsBufferBandsAndWorkers) {
    TComposerUnderTest t(World, 4);
    t.Compose(64, 40);
    EXPECT_EQ(t.Composer->BackBuffer().FBandH, (std::vector<int>{10, 10, 10, 10}));
    t.Compose(96, 21);
    EXPECT_EQ(t.Composer->BackWidth(), 96);
    EXPECT_EQ(t.Composer->BackHeight(), 21);
    EXPECT_EQ(t.Composer->BackBuffer().FBandY, (std::vector<int>{0, 6, 12, 18}));
    EXPECT_EQ(t.Composer->BackBuffer().FBandH, (std::vector<int>{6, 6, 6, 3}));
    EXPECT_EQ(t.Composer->BandWorkerCount(), 3);
    for (int y = 0; y < 21; ++y)
        ASSERT_EQ(t.Pixel(95, y), Grey) << "row " << y;
    t.Compose(96, 2);
    EXPECT_EQ(t.Composer->BackBuffer().BandCount(), 2);
    EXPECT_EQ(t.Composer->BandWorkerCount(), 1);
}

TEST_F(ComposeBandsTest, ImpossibleSizesLeaveNoBackBuffer) {
    TComposerUnderTest t(World, 4);
    t.Composer->EnsureBackBuffer(64, 40);
    const std::pair<int, int> sizes[] = {{40000, 10}, {0, 10}, {64, -1}};
    for (const auto& [width, height] : sizes) {
        t.Composer->EnsureBackBuffer(width, height);
        EXPECT_FALSE(t.Composer->HasBackBuffer());
        EXPECT_EQ(t.Composer->BackWidth(), 0);
        EXPECT_EQ(t.Composer->BandWorkerCount(), 0);
    }
}

TEST_F(ComposeBandsTest, PaintBoxPathDrawsTheSameFrameWithoutABackBuffer) {
    TSeededRandom random(5);
    MakeRandomScene(World, random, 80, 50);
    TComposerUnderTest banded(World, 4), fallback(World, 4);
    banded.Compose(80, 50);
    TRasterImage canvas = TRasterImage::Create(80, 50);
    fallback.Composer->DrawFrameOn(canvas, 80, 50);
    EXPECT_FALSE(fallback.Composer->HasBackBuffer());
    const std::uint8_t* data = canvas.Data();
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + 80 * 50 * 4), banded.Bytes());
}

// Band 1 fails while it is asked to.
class TFailingBandComposer final : public TCairoFrameComposer {
public:
    using TCairoFrameComposer::TCairoFrameComposer;
    bool Fail = true;

protected:
    void BandProcedure(int index) override {
        if (index == 1 && Fail)
            throw std::runtime_error("band failed");
        TCairoFrameComposer::BandProcedure(index);
    }
};

TEST_F(ComposeBandsTest, AFailingBandLeavesTheRestOfTheFrameComplete) {
    TComposerUnderTest t(World, 4);
    auto* failing = new TFailingBandComposer(World.Parts(), 4);
    t.Composer.reset(failing);
    t.Composer->SetFrameLoop(&t.Loop);
    World.Run.FPx = 0.2f;          // a red square of 20 x 20 pixels
    World.ShowAlertness(2, 30, 5); // no Drache pictures: the square
    t.Composer->EnsureBackBuffer(64, 40);
    std::fill_n(reinterpret_cast<std::uint32_t*>(t.Composer->BackBuffer().FBackBits), 64 * 40,
                Sentinel);
    t.Composer->DrawFrame(true, 64, 40);
    for (int y = 0; y < 40; ++y) {
        const bool failedBand = y >= 10 && y < 20;
        ASSERT_EQ(t.Pixel(2, y), failedBand ? Sentinel : Grey) << "row " << y;
        if (y >= 5 && y < 25) {
            ASSERT_EQ(t.Pixel(35, y), 0xFFFF0000) << "square, row " << y;
        }
    }
    failing->Fail = false;
    t.Composer->DrawFrame(true, 64, 40);
    for (int y = 10; y < 20; ++y)
        ASSERT_EQ(t.Pixel(2, y), Grey) << "row " << y;
}

TEST(BandWorkerTest, DrawsOneBandPerKickAndSurvivesExceptions) {
    std::atomic<int> calls{0};
    auto proc = std::make_shared<const TBandProc>([&](int index) {
        EXPECT_EQ(index, 3);
        if (++calls % 2 == 0)
            throw std::runtime_error("every second band fails");
    });
    TBandWorker worker(3, proc);
    for (int k = 1; k <= 6; ++k) {
        worker.Kick();
        worker.WaitDone();
        EXPECT_EQ(calls.load(), k);
    }
}

TEST(BandWorkerTest, EndsWhileWaitingForItsStart) {
    auto proc = std::make_shared<const TBandProc>([](int) { FAIL() << "never kicked"; });
    auto worker = std::make_unique<TBandWorker>(1, proc);
    worker.reset(); // returns once the thread has ended
    SUCCEED();
}

} // namespace
} // namespace kalvero::test
