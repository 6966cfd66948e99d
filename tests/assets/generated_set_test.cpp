// The picture and sound set the build generates: every file the program reads exists, decodes,
// and nothing else lies in the frame folders.

#include "engine/image_catalogue.h"
#include "engine/png_picture.h"
#include "engine/raster_image_decode.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

QString GeneratedFolder() {
    return QStringLiteral(KALVERO_GENERATED_DIR "/");
}

QString Pictures() {
    return GeneratedFolder() + "Grafik/";
}

struct TFolderCase {
    const char* Folder;
    int Count;
};

const TFolderCase Folders[] = {
    {"Hummel", 6},         {"Fisch", 6},    {"Schmetterling", 10}, {"schmetterling2", 10},
    {"Alphabet", 33},      {"Ziffern", 10}, {"Vogel", 21},         {"Smiley", 40},
    {"Auto", 8},           {"Flugzeug", 6}, {"Blasen", 10},        {"Ballon", 5},
    {"Heißluftballon", 4}, {"Rakete", 4},   {"Sphere", 176},       {"Verfolger", 12},
    {"Stern", 12},         {"Drache", 20},  {"Alertness", 22},
};

class GeneratedFolderTest : public ::testing::TestWithParam<TFolderCase> {};

TEST_P(GeneratedFolderTest, HoldsExactlyItsFramesAsTransparentPngs) {
    const TFolderCase& c = GetParam();
    const QString folder = Pictures() + QString::fromUtf8(c.Folder) + '/';
    const QStringList files = QDir(folder).entryList(QDir::Files);
    EXPECT_EQ(files.size(), c.Count) << folder.toStdString();
    int width = 0, height = 0;
    for (int n = 1; n <= c.Count; ++n) {
        TPngPicture picture;
        const QString path = folder + QString::number(n) + ".png";
        ASSERT_TRUE(DecodePngFile(path, picture)) << path.toStdString();
        if (n == 1) {
            width = picture.Width;
            height = picture.Height;
        }
        // All frames of a set have one size, and the corners are transparent.
        EXPECT_EQ(picture.Width, width) << path.toStdString();
        EXPECT_EQ(picture.Height, height) << path.toStdString();
        EXPECT_EQ(picture.Pixels[3], 0) << path.toStdString();
        EXPECT_EQ(picture.Pixels.back(), 0) << path.toStdString();
        // Something is drawn (bubbles are see-through, so any cover counts).
        size_t covered = 0;
        for (size_t i = 3; i < picture.Pixels.size(); i += 4)
            covered += picture.Pixels[i] != 0;
        EXPECT_GT(covered, picture.Pixels.size() / 4 / 10) << path.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, GeneratedFolderTest, ::testing::ValuesIn(Folders),
                         [](const auto& info) {
                             std::string name = info.param.Folder;
                             return name == "Heißluftballon" ? std::string("Heissluftballon")
                                                             : name;
                         });

TEST(GeneratedSetTest, SeventyTwoBackgroundsOf1024x768) {
    for (int i = 1; i <= 72; ++i) {
        const QString path = Pictures() + QStringLiteral("hgr%1.jpg").arg(i, 2, 10, QChar('0'));
        const TRasterImage image = DecodeImageFile(path);
        ASSERT_TRUE(image) << path.toStdString();
        EXPECT_EQ(image.Width(), 1024);
        EXPECT_EQ(image.Height(), 768);
    }
    EXPECT_FALSE(QFileInfo::exists(Pictures() + "hgr73.jpg"));
}

TEST(GeneratedSetTest, SoundsAreShortMp3Files) {
    for (const char* name : {"welldone.mp3", "error.mp3"}) {
        QByteArray data;
        ASSERT_TRUE(ReadWholeFile(GeneratedFolder() + "Sound/" + name, data)) << name;
        ASSERT_GT(data.size(), 1000) << name;
        // MPEG-1 layer III frame header, 128 kbit/s at 44.1 kHz: 417 or 418 bytes a frame.
        EXPECT_EQ(static_cast<uint8_t>(data[0]), 0xFF) << name;
        EXPECT_EQ(static_cast<uint8_t>(data[1]) & 0xFE, 0xFA) << name;
        const double seconds = data.size() / 417.6 * 1152 / 44100;
        EXPECT_LT(seconds, 1.0) << name;
    }
}

TEST(GeneratedSetTest, CatalogueFindsEveryPicture) {
    TImageCatalogue catalogue(Pictures());
    catalogue.LoadImages();
    for (int i = 0; i < 72; ++i)
        EXPECT_EQ(catalogue.BackgroundNames()[i], QStringLiteral("Hintergrund %1").arg(i + 1));
    const int counts[15] = {6, 6, 10, 10, 33, 10, 21, 40, 8, 6, 10, 5, 4, 4, 176};
    for (int type = 0; type < 15; ++type)
        for (int colour = 0; colour < 3; ++colour) {
            const TFrameListPair pair = catalogue.GetFrameLists(type, colour);
            EXPECT_EQ(static_cast<int>(pair.Left->size()), counts[type]) << type;
            EXPECT_EQ(static_cast<int>(pair.Right->size()), counts[type]) << type;
        }
    EXPECT_EQ(catalogue.VerfolgerFrames().size(), 12u);
    EXPECT_EQ(catalogue.AlertnessSternFrames().size(), 12u);
    EXPECT_EQ(catalogue.AlertnessDracheFrames().size(), 20u);
    EXPECT_EQ(catalogue.AlertnessSmileyFrames().size(), 22u);
}

// Share of pixels whose colour changes noticeably between two pictures of one size.
double ChangedShare(const TRasterImage& a, const TRasterImage& b) {
    int changed = 0, drawn = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const uint32_t p = a.PixelAt(x, y), q = b.PixelAt(x, y);
            if ((p >> 24) < 128)
                continue;
            ++drawn;
            int diff = 0;
            for (int shift : {0, 8, 16})
                diff += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
            changed += diff > 90;
        }
    return drawn ? double(changed) / drawn : 0.0;
}

TEST(GeneratedSetTest, ColourVariantsLookDifferent) {
    TImageCatalogue catalogue(Pictures());
    catalogue.LoadImages();
    for (int type : {1, 3}) {
        const TRasterImage& plain = catalogue.GetFrameLists(type, 0).Left->front();
        const TRasterImage& first = catalogue.GetFrameLists(type, 1).Left->front();
        const TRasterImage& second = catalogue.GetFrameLists(type, 2).Left->front();
        EXPECT_GT(ChangedShare(plain, first), 0.25) << type;
        EXPECT_GT(ChangedShare(plain, second), 0.25) << type;
        EXPECT_GT(ChangedShare(first, second), 0.25) << type;
    }
}

} // namespace
} // namespace kalvero
