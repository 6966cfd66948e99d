#include "engine/image_catalogue.h"
#include "engine/image_catalogue_preview.h"
#include "engine/png_picture.h"
#include "engine/raster_image_scale.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;

// A picture folder of its own for each test, filled with the files the test names.
class CatalogueTest : public ::testing::Test {
protected:
    QString Folder() const { return FDir.path() + "/Grafik/"; }

    // A picture of one colour, with an optional differently coloured left column so that
    // mirroring shows.
    void WritePng(const QString& relative, int w, int h, QRgb colour, QRgb leftColumn = 0) {
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(colour);
        if (leftColumn != 0)
            for (int y = 0; y < h; ++y)
                image.setPixel(0, y, leftColumn);
        Save(image, relative);
    }
    void Save(const QImage& image, const QString& relative) {
        const QString path = Folder() + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(image.save(path, "PNG")) << path.toStdString();
    }
    void WriteRaw(const QString& relative, const QByteArray& bytes) {
        const QString path = Folder() + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void WriteSet(const QString& folder, int count, int w, int h, QRgb colour) {
        for (int n = 1; n <= count; ++n)
            WritePng(folder + "/" + QString::number(n) + ".png", w, h, colour);
    }
    TImageCatalogue& Loaded() {
        FCatalogue = std::make_unique<TImageCatalogue>(Folder());
        FCatalogue->LoadImages();
        return *FCatalogue;
    }

    QTemporaryDir FDir;
    std::unique_ptr<TImageCatalogue> FCatalogue;
};

QRgb Pixel(const TRasterImage& image, int x, int y) {
    return image.PixelAt(x, y);
}

TEST_F(CatalogueTest, FlatFileStandsInForAMissingFrame) {
    for (int n : {1, 2, 4, 5, 6})
        WritePng("Hummel/" + QString::number(n) + ".png", 20, 16, Blue);
    WritePng("Hummel3.png", 20, 16, Red);
    TImageCatalogue& catalogue = Loaded();
    const FrameList& frames = catalogue.SpriteFrames().HummelFrames_L;
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(Pixel(frames[2], 5, 5), Red);
    EXPECT_EQ(Pixel(frames[3], 5, 5), Blue);
    EXPECT_EQ(catalogue.SpriteFrames().HummelFrames_R.size(), 6u);
}

TEST_F(CatalogueTest, MissingFramesAreSkippedWithoutGaps) {
    for (int n : {1, 2, 4, 5, 6})
        WritePng("Hummel/" + QString::number(n) + ".png", 20, 16, Blue);
    WritePng("Vogel/1.png", 10, 10, Blue);
    WritePng("Vogel/2.png", 10, 10, Green);
    WritePng("Vogel/4.png", 10, 10, Red);
    TImageCatalogue& catalogue = Loaded();
    EXPECT_EQ(catalogue.SpriteFrames().HummelFrames_L.size(), 5u);
    EXPECT_EQ(catalogue.PlainFrameCount(0), 5);
    const FrameList& vogel = catalogue.SpriteFrames().VogelFrames_L;
    ASSERT_EQ(vogel.size(), 3u);
    EXPECT_EQ(Pixel(vogel[2], 1, 1), Red);
    EXPECT_EQ(catalogue.PlainFrameCount(1), 0);
    EXPECT_EQ(catalogue.PlainFrameCount(15), 0);
    EXPECT_EQ(catalogue.PlainFrameCount(-1), 0);
}

TEST_F(CatalogueTest, BlumenradHasNoFlatFallback) {
    WritePng("Sphere/1.png", 8, 8, Blue);
    WritePng("Sphere2.png", 8, 8, Red);
    EXPECT_EQ(Loaded().SpriteFrames().SphereFrames_L.size(), 1u);
}

TEST_F(CatalogueTest, SternFrameComesFromTheFollowerFolder) {
    for (int n = 1; n <= 12; ++n)
        if (n != 5)
            WritePng("Stern/" + QString::number(n) + ".png", 10, 10, Blue);
    WritePng("Verfolger/5.png", 10, 10, Red);
    WritePng("Verfolger7.png", 10, 10, Green); // the follower's flat file is no Stern fallback
    TImageCatalogue& catalogue = Loaded();
    const FrameList& stern = catalogue.AlertnessSternFrames();
    ASSERT_EQ(stern.size(), 12u);
    EXPECT_EQ(Pixel(stern[4], 2, 2), Red);
    // The follower list itself: frame 5 from its folder, frame 7 from the flat file.
    ASSERT_EQ(catalogue.VerfolgerFrames().size(), 2u);
    EXPECT_EQ(Pixel(catalogue.VerfolgerFrames()[1], 2, 2), Green);
    EXPECT_EQ(catalogue.FollowerFrameCount(), 2);
}

TEST_F(CatalogueTest, AlertnessSetsHaveNoFallback) {
    WritePng("Drache/1.png", 10, 10, Blue);
    WritePng("Drache2.png", 10, 10, Blue);
    WritePng("Alertness/3.png", 10, 10, Blue);
    TImageCatalogue& catalogue = Loaded();
    EXPECT_EQ(catalogue.AlertnessFrameCount(2), 1);
    EXPECT_EQ(catalogue.AlertnessFrameCount(3), 1);
    EXPECT_EQ(catalogue.AlertnessFrameCount(0), 1); // any other mode counts the Smiley
    EXPECT_EQ(catalogue.AlertnessFrameCount(1), 0);
}

TEST_F(CatalogueTest, UndecodableFileCountsAsMissing) {
    WriteRaw("Hummel/1.png", "\x89PNG\r\n\x1a\n not really a picture");
    WriteRaw("Hummel/2.png", QByteArray(300, 'x'));
    WritePng("Hummel2.png", 12, 12, Red);
    WriteRaw("hgr01.jpg", QByteArray(2000, '\xff'));
    TImageCatalogue& catalogue = Loaded();
    const FrameList& frames = catalogue.SpriteFrames().HummelFrames_L;
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Pixel(frames[0], 0, 0), Red);
    EXPECT_EQ(catalogue.BackgroundNames()[0], "Hintergrund 1 (fehlt)");
}

TEST_F(CatalogueTest, PngsOfOtherKindsAreConvertedTo8BitColour) {
    QImage palette(4, 4, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(10, 20, 30), qRgba(200, 100, 50, 0)});
    palette.fill(0);
    palette.setPixel(3, 3, 1);
    Save(palette, "Ziffern/1.png");
    QImage grey(4, 4, QImage::Format_Grayscale8);
    grey.fill(qRgb(77, 77, 77));
    Save(grey, "Ziffern/2.png");
    QImage deep(4, 4, QImage::Format_RGBA64);
    deep.fill(QColor::fromRgba64(0x1234, 0x8080, 0xFFFF, 0xFFFF));
    Save(deep, "Ziffern/3.png");
    QImage greyAlpha(4, 4, QImage::Format_Grayscale16);
    greyAlpha.fill(QColor::fromRgba64(0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF));
    Save(greyAlpha, "Ziffern/4.png");
    const FrameList& frames = Loaded().SpriteFrames().ZiffernFrames_L;
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(Pixel(frames[0], 0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(Pixel(frames[0], 3, 3), 0u);
    EXPECT_EQ(Pixel(frames[1], 1, 1), qRgb(77, 77, 77));
    EXPECT_EQ(Pixel(frames[2], 1, 1), qRgb(0x12, 0x80, 0xFF));
    EXPECT_EQ(Pixel(frames[3], 2, 2), qRgb(255, 255, 255));
}

struct TSizeCase {
    const char* Name;
    const char* File;
    int Width, Height;
    float Px;
    int Type; // stimulus set, or -1 for the follower
    int ExpectedWidth, ExpectedHeight;
};

class CatalogueSizeTest : public CatalogueTest, public ::testing::WithParamInterface<TSizeCase> {};

TEST_P(CatalogueSizeTest, ScaledFramesHaveTheDisplaySize) {
    const TSizeCase& c = GetParam();
    WritePng(c.File, c.Width, c.Height, Blue);
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareSpriteFrames(c.Type < 0 ? 0 : c.Type, c.Px);
    const FrameList* list = c.Type < 0 ? catalogue.VerfolgerScaled() : catalogue.CurFrames(0, 0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ(list->front().Width(), c.ExpectedWidth);
    EXPECT_EQ(list->front().Height(), c.ExpectedHeight);
    if (c.Type >= 0) {
        EXPECT_EQ(catalogue.CurrentSpriteWidth(), c.ExpectedWidth);
        EXPECT_EQ(catalogue.CurFrames(0, 1)->front().Width(), c.ExpectedWidth);
    } else {
        EXPECT_EQ(catalogue.FollowerWidth(), c.ExpectedWidth);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CatalogueSizeTest,
    ::testing::Values(TSizeCase{"HummelAtPx1", "Hummel/1.png", 200, 160, 1.0f, 0, 50, 40},
                      TSizeCase{"HummelAtPx15", "Hummel/1.png", 200, 160, 1.5f, 0, 75, 60},
                      TSizeCase{"Fisch101HalfGoesToEven", "Fisch/1.png", 101, 60, 1.0f, 1, 50, 30},
                      TSizeCase{"Fisch103HalfGoesToEven", "Fisch/1.png", 103, 61, 1.0f, 1, 52, 30},
                      TSizeCase{"LetterUnscaled", "Alphabet/1.png", 96, 96, 1.0f, 4, 96, 96},
                      TSizeCase{"BalloonSmall", "Ballon/1.png", 10, 10, 0.1f, 11, 1, 1},
                      TSizeCase{"Follower64", "Verfolger/1.png", 64, 64, 1.0f, -1, 96, 96},
                      TSizeCase{"Follower64AtPx2", "Verfolger/1.png", 64, 64, 2.0f, -1, 192, 192}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueTest, SizeFactorsOfTheSets) {
    const float expected[] = {0.25f, 0.5f, 1.0f, 1.0f,  1.0f, 0.6f, 0.8f, 1.0f,
                              0.8f,  0.8f, 1.0f, 0.45f, 0.6f, 0.4f, 1.0f};
    for (int type = 0; type < 15; ++type)
        EXPECT_EQ(TImageCatalogue::SpriteTypeScale(type), expected[type]) << type;
    EXPECT_EQ(TImageCatalogue::SpriteTypeScale(15), 1.0f);
    EXPECT_EQ(TImageCatalogue::SpriteTypeScale(-1), 1.0f);
}

struct TColourCase {
    const char* Name;
    const char* File;
    int Type;
    int Colour;
    QRgb Expected; // the stored picture is qRgb(30, 20, 10)
};

class CatalogueColourTest : public CatalogueTest,
                            public ::testing::WithParamInterface<TColourCase> {};

TEST_P(CatalogueColourTest, ColourVariantSwapsChannels) {
    const TColourCase& c = GetParam();
    WritePng(c.File, 6, 4, qRgb(30, 20, 10), qRgb(1, 2, 3));
    const TFrameListPair pair = Loaded().GetFrameLists(c.Type, c.Colour);
    ASSERT_TRUE(pair.Left && pair.Right);
    ASSERT_EQ(pair.Left->size(), 1u);
    EXPECT_EQ(Pixel(pair.Left->front(), 3, 1), c.Expected);
    // The right list is the mirror of the same colour.
    EXPECT_EQ(Pixel(pair.Right->front(), 2, 1), c.Expected);
    EXPECT_EQ(Pixel(pair.Right->front(), 5, 1), Pixel(pair.Left->front(), 0, 1));
    EXPECT_NE(Pixel(pair.Right->front(), 0, 1), Pixel(pair.Left->front(), 0, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, CatalogueColourTest,
    ::testing::Values(
        TColourCase{"FischPlain", "Fisch/1.png", 1, 0, qRgb(30, 20, 10)},
        TColourCase{"FischRedGreen", "Fisch/1.png", 1, 1, qRgb(20, 30, 10)},
        TColourCase{"FischBlueGreen", "Fisch/1.png", 1, 2, qRgb(30, 10, 20)},
        TColourCase{"Schmetterling2Plain", "schmetterling2/1.png", 3, 0, qRgb(30, 20, 10)},
        TColourCase{"Schmetterling2RedBlue", "schmetterling2/1.png", 3, 1, qRgb(10, 20, 30)},
        TColourCase{"Schmetterling2BlueGreen", "schmetterling2/1.png", 3, 2, qRgb(30, 10, 20)},
        TColourCase{"HummelVariantIsPlain", "Hummel/1.png", 0, 1, qRgb(30, 20, 10)},
        TColourCase{"SchmetterlingVariantIsPlain", "Schmetterling/1.png", 2, 2, qRgb(30, 20, 10)},
        TColourCase{"VogelUnknownColourIsPlain", "Vogel/1.png", 6, 7, qRgb(30, 20, 10)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueTest, VariantListsOfOtherSetsAreThePlainLists) {
    TImageCatalogue& catalogue = Loaded();
    const TFrameListPair plain = catalogue.GetFrameLists(7, 0);
    for (int colour : {1, 2}) {
        const TFrameListPair variant = catalogue.GetFrameLists(7, colour);
        EXPECT_EQ(variant.Left, plain.Left);
        EXPECT_EQ(variant.Right, plain.Right);
    }
    EXPECT_NE(catalogue.GetFrameLists(1, 1).Left, catalogue.GetFrameLists(1, 0).Left);
    EXPECT_EQ(catalogue.GetFrameLists(15, 0).Left, nullptr);
    EXPECT_EQ(catalogue.GetFrameLists(-1, 0).Right, nullptr);
}

class CatalogueUnmirroredTest : public CatalogueTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(CatalogueUnmirroredTest, RightMovingFramesKeepTheirLook) {
    const QString folder = GetParam();
    WritePng(folder + "/1.png", 6, 4, Blue, Red);
    TImageCatalogue& catalogue = Loaded();
    int type = -1;
    for (int t = 0; t < 15 && type < 0; ++t) {
        const TFrameListPair pair = catalogue.GetFrameLists(t, 0);
        if (!pair.Left->empty())
            type = t;
    }
    ASSERT_GE(type, 0);
    const TFrameListPair pair = catalogue.GetFrameLists(type, 0);
    ASSERT_EQ(pair.Right->size(), 1u);
    EXPECT_EQ(Pixel(pair.Right->front(), 0, 0), Red);
    EXPECT_EQ(Pixel(pair.Right->front(), 5, 0), Blue);
}

INSTANTIATE_TEST_SUITE_P(SameAsLeft, CatalogueUnmirroredTest,
                         ::testing::Values("Alphabet", "Ziffern", "Blasen", "Ballon",
                                           "Heißluftballon", "Sphere"));

TEST_F(CatalogueTest, MissingBackgroundsBecomeGreyPlaceholders) {
    QImage background(64, 48, QImage::Format_RGB32);
    background.fill(qRgb(0, 128, 255));
    QDir().mkpath(Folder());
    ASSERT_TRUE(background.save(Folder() + "hgr02.jpg", "JPEG", 100));
    TImageCatalogue& catalogue = Loaded();
    ASSERT_EQ(catalogue.BackgroundImages().size(), 72u);
    ASSERT_EQ(catalogue.BackgroundNames().size(), 72);
    ASSERT_EQ(catalogue.BackgroundFiles().size(), 72);
    EXPECT_EQ(catalogue.BackgroundNames()[0], "Hintergrund 1 (fehlt)");
    EXPECT_EQ(catalogue.BackgroundFiles()[0], "");
    EXPECT_EQ(catalogue.BackgroundImages()[0].Width(), 800);
    EXPECT_EQ(catalogue.BackgroundImages()[0].Height(), 600);
    EXPECT_EQ(Pixel(catalogue.BackgroundImages()[0], 799, 599), 0xFFC0C0C0u);
    EXPECT_EQ(catalogue.BackgroundNames()[1], "Hintergrund 2");
    EXPECT_EQ(catalogue.BackgroundFiles()[1], Folder() + "hgr02.jpg");
    EXPECT_EQ(catalogue.BackgroundImages()[1].Width(), 64);
    const QRgb decoded = Pixel(catalogue.BackgroundImages()[1], 10, 10);
    EXPECT_EQ(qAlpha(decoded), 255);
    EXPECT_NEAR(qBlue(decoded), 255, 3);
    EXPECT_NEAR(qGreen(decoded), 128, 3);
    EXPECT_EQ(catalogue.BackgroundNames()[71], "Hintergrund 72 (fehlt)");
}

struct TStripCase {
    const char* Name;
    int ImageWidth, ImageHeight;
    int RenderWidth, RenderHeight;
    int TileWidth, TileHeight, StripWidth;
};

class CatalogueStripTest : public CatalogueTest,
                           public ::testing::WithParamInterface<TStripCase> {};

TEST_P(CatalogueStripTest, StripIsTiledToMoreThanTheRenderWidth) {
    const TStripCase& c = GetParam();
    QImage background(c.ImageWidth, c.ImageHeight, QImage::Format_RGB32);
    background.fill(qRgb(200, 30, 40));
    QDir().mkpath(Folder());
    ASSERT_TRUE(background.save(Folder() + "hgr03.jpg", "JPEG", 95));
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareBackgroundStrip(2, c.RenderWidth, c.RenderHeight);
    EXPECT_EQ(catalogue.BgTileW(), c.TileWidth);
    EXPECT_EQ(catalogue.BackgroundTileWidth(), c.TileWidth);
    ASSERT_TRUE(catalogue.BgStrip());
    EXPECT_EQ(catalogue.BgStrip().Width(), c.StripWidth);
    EXPECT_EQ(catalogue.BgStrip().Height(), c.TileHeight);
    EXPECT_GT(c.StripWidth - c.TileWidth, c.RenderWidth - 1);
    const QRgb last = Pixel(catalogue.BgStrip(), c.StripWidth - 1, c.TileHeight - 1);
    EXPECT_EQ(qAlpha(last), 255);
    EXPECT_NEAR(qRed(last), 200, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, CatalogueStripTest,
    ::testing::Values(TStripCase{"ThreeTilesFullHd", 1024, 768, 1920, 1080, 1440, 1080, 4320},
                      TStripCase{"WiderThanRenderTwoTiles", 2000, 600, 400, 300, 1000, 300, 2000},
                      TStripCase{"Downscaled", 1024, 768, 800, 384, 512, 384, 1536}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueTest, PlaceholderBackgroundGivesAGreyStrip) {
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareBackgroundStrip(0, 1000, 300);
    EXPECT_EQ(catalogue.BgTileW(), 400);
    ASSERT_TRUE(catalogue.BgStrip());
    EXPECT_EQ(catalogue.BgStrip().Width(), 1600);
    EXPECT_EQ(Pixel(catalogue.BgStrip(), 1599, 299), 0xFFC0C0C0u);
}

struct TNoStripCase {
    const char* Name;
    int Index, RenderWidth, RenderHeight;
};

class CatalogueNoStripTest : public CatalogueTest,
                             public ::testing::WithParamInterface<TNoStripCase> {};

TEST_P(CatalogueNoStripTest, NoStripWithoutAPictureOrASize) {
    const TNoStripCase& c = GetParam();
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareBackgroundStrip(0, 640, 480);
    ASSERT_TRUE(catalogue.BgStrip());
    catalogue.PrepareBackgroundStrip(c.Index, c.RenderWidth, c.RenderHeight);
    EXPECT_FALSE(catalogue.BgStrip());
    EXPECT_EQ(catalogue.BgTileW(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CatalogueNoStripTest,
                         ::testing::Values(TNoStripCase{"IndexBelow", -1, 640, 480},
                                           TNoStripCase{"IndexAbove", 72, 640, 480},
                                           TNoStripCase{"ZeroWidth", 0, 0, 480},
                                           TNoStripCase{"NegativeHeight", 0, 640, -5}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CatalogueTest, StripIsRebuiltOnlyWhenIndexOrSizeChanges) {
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareBackgroundStrip(4, 640, 480);
    const cairo_surface_t* first = catalogue.BgStrip().Surface();
    catalogue.PrepareBackgroundStrip(4, 640, 480);
    EXPECT_EQ(catalogue.BgStrip().Surface(), first);
    catalogue.PrepareBackgroundStrip(4, 640, 500);
    EXPECT_EQ(catalogue.BgStrip().Height(), 500);
}

TEST_F(CatalogueTest, CacheIsKeptUntilThePixelScaleChanges) {
    WriteSet("Hummel", 2, 200, 160, Blue);
    WriteSet("Fisch", 3, 100, 60, Green);
    WriteSet("Verfolger", 1, 64, 64, Red);
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareSpriteFrames(0, 1.0f);
    const FrameList* hummel = catalogue.CurFrames(0, 0);
    // Hummel left and right, follower and three alertness lists.
    EXPECT_EQ(catalogue.CachedListCount(), 6);
    catalogue.PrepareSpriteFrames(1, 1.0f);
    EXPECT_EQ(catalogue.CurFramesType(), 1);
    EXPECT_EQ(catalogue.CachedListCount(), 12);
    EXPECT_NE(catalogue.CurFrames(1, 0), catalogue.CurFrames(0, 0));
    catalogue.PrepareSpriteFrames(0, 1.0f);
    EXPECT_EQ(catalogue.CurFrames(0, 0), hummel);
    EXPECT_EQ(catalogue.CachedListCount(), 12);

    catalogue.PrepareSpriteFrames(0, 1.5f);
    EXPECT_EQ(catalogue.FramesPx(), 1.5f);
    EXPECT_EQ(catalogue.CachedListCount(), 6);
    EXPECT_EQ(catalogue.CurFrames(0, 0)->front().Width(), 75);
    EXPECT_EQ(catalogue.VerfolgerScaled()->front().Width(), 96 + 48);
    EXPECT_EQ(catalogue.GetScaledFrames(nullptr, 2.0f), nullptr);
}

bool SamePixels(const TRasterImage& a, const TRasterImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Data() + y * a.Stride(), b.Data() + y * b.Stride(), a.Width() * 4) != 0)
            return false;
    return true;
}

TEST_F(CatalogueTest, LargeListsScaledOnTwoThreadsEqualOneByOne) {
    for (int n = 1; n <= 5; ++n) {
        QImage frame(300, 260, QImage::Format_ARGB32);
        frame.fill(Qt::transparent);
        for (int y = 0; y < 260; ++y)
            for (int x = (y * n) % 7; x < 300; x += 5)
                frame.setPixel(x, y, qRgba(x % 256, (y * 3) % 256, n * 40, 128 + n * 20));
        Save(frame, "Verfolger/" + QString::number(n) + ".png");
    }
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrepareSpriteFrames(0, 1.0f);
    const FrameList* scaled = catalogue.VerfolgerScaled();
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(scaled->size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(SamePixels((*scaled)[i], ScaleImage(catalogue.VerfolgerFrames()[i], 1.5f)))
            << i;
}

TEST_F(CatalogueTest, PrewarmScalesTheSetsOfTheSequenceEntries) {
    WriteSet("Fisch", 2, 100, 60, Green);
    WriteSet("Vogel", 2, 50, 50, Blue);
    WriteSet("Auto", 2, 50, 50, Blue);
    const QString profile = FDir.path() + "/vogel.json";
    {
        QFile file(profile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF{\"sprite_index\":6,\"speed\":3}");
    }
    TImageCatalogue& catalogue = Loaded();
    catalogue.PrewarmSequenceFrames({{"{\"sprite_index\":1}", ""},
                                     {"", profile},
                                     {"", FDir.path() + "/missing.json"},
                                     {"not json", ""},
                                     {"{\"sprite_index\":\"8\"}", ""},
                                     {"{\"sprite_index\":99}", ""}},
                                    1.0f);
    // Fisch: six lists (plain and two variants, both directions); Vogel: two.
    EXPECT_EQ(catalogue.CachedListCount(), 8);
    catalogue.PrepareSpriteFrames(1, 1.0f);
    EXPECT_EQ(catalogue.CachedListCount(), 8 + 4);
    EXPECT_EQ(catalogue.CurFrames(2, 1)->front().Width(), 50);
}

TEST(PngPictureTest, MirrorExchangesColumnsColourAndAlpha) {
    TPngPicture picture{3, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};
    const TPngPicture mirrored = MirrorPng(picture);
    EXPECT_EQ(mirrored.Pixels, (std::vector<uint8_t>{9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}));
    EXPECT_EQ(mirrored.Width, 3);
}

TEST(PngPictureTest, ChannelSwapsByNumber) {
    const TPngPicture picture{1, 1, {10, 20, 30, 40}}; // blue, green, red, alpha
    EXPECT_EQ(SwapColourChannels(picture, 1).Pixels, (std::vector<uint8_t>{10, 30, 20, 40}));
    EXPECT_EQ(SwapColourChannels(picture, 2).Pixels, (std::vector<uint8_t>{20, 10, 30, 40}));
    EXPECT_EQ(SwapColourChannels(picture, 3).Pixels, (std::vector<uint8_t>{30, 20, 10, 40}));
    EXPECT_EQ(SwapColourChannels(picture, 4).Pixels, picture.Pixels);
}

TEST(PngPictureTest, ConversionPremultipliesAndRoundTripsThroughPng) {
    const TPngPicture picture{2, 1, {200, 100, 50, 128, 1, 2, 3, 0}};
    TPngPicture decoded;
    ASSERT_TRUE(DecodePng(EncodePng(picture), decoded));
    EXPECT_EQ(decoded.Pixels, picture.Pixels);
    const TRasterImage image = PngToSkImage(decoded);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.PixelAt(0, 0), 0x80193264u); // 50, 100, 200 times 128/255
    EXPECT_EQ(image.PixelAt(1, 0), 0u);
    const QImage bitmap = SkImageToBitmap(image);
    ASSERT_EQ(bitmap.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(bitmap.constScanLine(0))[0], 0x80193264u);
    EXPECT_TRUE(SkImageToBitmap(TRasterImage()).isNull());
}

struct TScaleCase {
    const char* Name;
    int Width, Height;
    float Factor;
    int ExpectedWidth, ExpectedHeight;
};

class ScaleImageTest : public ::testing::TestWithParam<TScaleCase> {};

TEST_P(ScaleImageTest, SizeRoundsHalvesToEvenAndColourIsKept) {
    const TScaleCase& c = GetParam();
    TPngPicture picture{c.Width, c.Height, {}};
    for (int i = 0; i < c.Width * c.Height; ++i)
        picture.Pixels.insert(picture.Pixels.end(), {40, 120, 220, 255});
    const TRasterImage scaled = ScaleImage(PngToSkImage(picture), c.Factor);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled.Width(), c.ExpectedWidth);
    EXPECT_EQ(scaled.Height(), c.ExpectedHeight);
    // A plain picture stays plain through either filter.
    for (int y = 0; y < scaled.Height(); y += std::max(1, scaled.Height() / 7))
        for (int x = 0; x < scaled.Width(); x += std::max(1, scaled.Width() / 7))
            ASSERT_EQ(scaled.PixelAt(x, y), 0xFFDC7828u) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Factors, ScaleImageTest,
                         ::testing::Values(TScaleCase{"HalfDownToEven", 101, 5, 0.5f, 50, 2},
                                           TScaleCase{"HalfUpToEven", 103, 7, 0.5f, 52, 4},
                                           TScaleCase{"Quarter", 200, 160, 0.25f, 50, 40},
                                           TScaleCase{"OneAndAHalf", 64, 64, 1.5f, 96, 96},
                                           TScaleCase{"Unchanged", 33, 17, 1.0f, 33, 17},
                                           TScaleCase{"AtLeastOnePixel", 3, 3, 0.01f, 1, 1},
                                           TScaleCase{"BackgroundToFullHd", 1024, 768, 1.40625f,
                                                      1440, 1080}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ScaleImageTest, AbsentOrUnusableFactorGivesTheInput) {
    EXPECT_FALSE(ScaleImage(TRasterImage(), 2.0f));
    const TRasterImage image = TRasterImage::Create(4, 4);
    EXPECT_EQ(ScaleImage(image, 0.0f).Surface(), image.Surface());
    EXPECT_EQ(ScaleImage(image, -1.0f).Surface(), image.Surface());
}

} // namespace
} // namespace kalvero
