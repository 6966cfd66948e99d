#include "engine/image_catalogue.h"

#include "engine/png_picture.h"
#include "engine/raster_image_decode.h"
#include "engine/raster_image_scale.h"
#include "platform/atomic_file.h"
#include "platform/program_folder.h"

#include <cairo.h>
#include <nlohmann/json.hpp>
#include <system_error>
#include <thread>

namespace kalvero {

namespace {

using TListMember = FrameList TSpriteFrameLists::*;

struct TColourVariant {
    int Swap = 0; // 0: the set has no such variant
    TListMember Left = nullptr;
    TListMember Right = nullptr;
};

enum class TRightFrames { Mirrored, SameAsLeft };

struct TSpriteTypeInfo {
    const char* Folder; // UTF-8, below the picture folder
    int FileCount;
    bool FlatFallback;
    TRightFrames Right;
    float Scale;
    TListMember Left;
    TListMember RightList;
    TColourVariant Variant1;
    TColourVariant Variant2;
};

using L = TSpriteFrameLists;
constexpr TRightFrames Mirrored = TRightFrames::Mirrored;
constexpr TRightFrames Same = TRightFrames::SameAsLeft;

const TSpriteTypeInfo SpriteTypes[TImageCatalogue::SpriteTypeCount] = {
    {"Hummel", 6, true, Mirrored, 0.25f, &L::HummelFrames_L, &L::HummelFrames_R, {}, {}},
    {"Fisch",
     6,
     true,
     Mirrored,
     0.5f,
     &L::FischFrames_L,
     &L::FischFrames_R,
     {csRedGreen, &L::FischFrames_Red_L, &L::FischFrames_Red_R},
     {csBlueGreen, &L::FischFrames_Blue_L, &L::FischFrames_Blue_R}},
    {"Schmetterling",
     10,
     true,
     Mirrored,
     1.0f,
     &L::SchmetterlingFrames_L,
     &L::SchmetterlingFrames_R,
     {},
     {}},
    {"schmetterling2",
     10,
     true,
     Mirrored,
     1.0f,
     &L::Schmetterling2Frames_L,
     &L::Schmetterling2Frames_R,
     {csRedBlue, &L::Schmetterling2Frames_Red_L, &L::Schmetterling2Frames_Red_R},
     {csBlueGreen, &L::Schmetterling2Frames_Green_L, &L::Schmetterling2Frames_Green_R}},
    {"Alphabet", 33, true, Same, 1.0f, &L::AlphabetFrames_L, &L::AlphabetFrames_R, {}, {}},
    {"Ziffern", 10, true, Same, 0.6f, &L::ZiffernFrames_L, &L::ZiffernFrames_R, {}, {}},
    {"Vogel", 21, true, Mirrored, 0.8f, &L::VogelFrames_L, &L::VogelFrames_R, {}, {}},
    {"Smiley", 40, true, Mirrored, 1.0f, &L::SmileyFrames_L, &L::SmileyFrames_R, {}, {}},
    {"Auto", 8, true, Mirrored, 0.8f, &L::AutoFrames_L, &L::AutoFrames_R, {}, {}},
    {"Flugzeug", 6, true, Mirrored, 0.8f, &L::FlugzeugFrames_L, &L::FlugzeugFrames_R, {}, {}},
    {"Blasen", 10, true, Same, 1.0f, &L::BlasenFrames_L, &L::BlasenFrames_R, {}, {}},
    {"Ballon", 5, true, Same, 0.45f, &L::BallonFrames_L, &L::BallonFrames_R, {}, {}},
    {"Heißluftballon", 4, true, Same, 0.6f, &L::HeissluftFrames_L, &L::HeissluftFrames_R, {}, {}},
    {"Rakete", 4, true, Mirrored, 0.4f, &L::RaketeFrames_L, &L::RaketeFrames_R, {}, {}},
    {"Sphere", 176, false, Same, 1.0f, &L::SphereFrames_L, &L::SphereFrames_R, {}, {}},
};

constexpr int PlaceholderWidth = 800;
constexpr int PlaceholderHeight = 600;
constexpr float FollowerAndAlertnessScale = 1.5f;

bool ValidSpriteType(int spriteType) {
    return spriteType >= 0 && spriteType < TImageCatalogue::SpriteTypeCount;
}

// Decodes a frame file, or its fallback when the file is missing or cannot be decoded.
bool DecodeFrame(const QString& path, const QString& fallback, TPngPicture& picture) {
    if (DecodePngFile(path, picture))
        return true;
    return !fallback.isEmpty() && DecodePngFile(fallback, picture);
}

// Appends the frames 1 .. count of a set used without mirror or colour variants.
void LoadPlainSet(FrameList& list, const QString& folder, int count,
                  const QString& fallbackPrefix) {
    for (int n = 1; n <= count; ++n) {
        const QString number = QString::number(n);
        const QString fallback =
            fallbackPrefix.isEmpty() ? QString() : fallbackPrefix + number + QStringLiteral(".png");
        TPngPicture picture;
        if (!DecodeFrame(folder + number + QStringLiteral(".png"), fallback, picture))
            continue;
        if (TRasterImage image = PngToSkImage(picture))
            list.push_back(std::move(image));
    }
}

TRasterImage MakePlaceholder() {
    TRasterImage image = TRasterImage::Create(PlaceholderWidth, PlaceholderHeight);
    TCairoContext cr(image);
    if (!cr.Ok())
        return image;
    cairo_set_operator(cr.Get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr.Get(), 0xC0 / 255.0, 0xC0 / 255.0, 0xC0 / 255.0, 1.0);
    cairo_paint(cr.Get());
    cairo_surface_flush(image.Surface());
    return image;
}

int FirstWidth(const FrameList* list) {
    return list && !list->empty() ? list->front().Width() : 0;
}

// The stimulus set named by a sequence entry's settings text, or -1.
int SpriteIndexOfSettings(const QByteArray& text) {
    const QByteArray body = StripUtf8Bom(text);
    const nlohmann::json json =
        nlohmann::json::parse(body.constData(), body.constData() + body.size(), nullptr, false);
    if (!json.is_object())
        return -1;
    const auto it = json.find("sprite_index");
    if (it == json.end() || !it->is_number_integer())
        return -1;
    const auto value = it->get<long long>();
    return value >= 0 && value < TImageCatalogue::SpriteTypeCount ? static_cast<int>(value) : -1;
}

// Runs the two parts of a job at the same time, the first on a helper thread (or one after the
// other where no thread can be had). Each part writes only its own results.
template <typename TFirst, typename TSecond> void RunBoth(TFirst first, TSecond second) {
    std::thread helper;
    try {
        helper = std::thread(first);
    } catch (const std::system_error&) {
        first();
    }
    second();
    if (helper.joinable())
        helper.join();
}

// Scaled pictures are made two at a time once there is enough work for two threads.
constexpr double WorthTwoThreadsPx = 150'000;

} // namespace

TImageCatalogue::TImageCatalogue(QString pictureFolder)
    : FPictureFolder(pictureFolder.isEmpty() ? PictureFolder() : std::move(pictureFolder)) {
    if (!FPictureFolder.endsWith('/'))
        FPictureFolder += '/';
}

TImageCatalogue::~TImageCatalogue() = default;

void TImageCatalogue::LoadImages() {
    ForgetPrepared();
    // The backgrounds and the frame sets fill separate fields; they are read side by side.
    RunBoth([this] { LoadBackgrounds(); },
            [this] {
                LoadOtherSets();
                LoadSpriteTypes();
            });
}

void TImageCatalogue::LoadBackgrounds() {
    FBackgroundImages.clear();
    FBackgroundNames.clear();
    FBackgroundFiles.clear();
    TRasterImage placeholder; // one shared grey picture serves every missing background
    for (int i = 1; i <= BackgroundCount; ++i) {
        const QString path = FPictureFolder + QStringLiteral("hgr%1.jpg").arg(i, 2, 10, QChar('0'));
        TRasterImage image = DecodeImageFile(path);
        if (image) {
            FBackgroundNames << QStringLiteral("Hintergrund %1").arg(i);
            FBackgroundFiles << path;
        } else {
            if (!placeholder)
                placeholder = MakePlaceholder();
            image = placeholder;
            FBackgroundNames << QStringLiteral("Hintergrund %1 (fehlt)").arg(i);
            FBackgroundFiles << QString();
        }
        FBackgroundImages.push_back(std::move(image));
    }
}

void TImageCatalogue::LoadOtherSets() {
    const QString follower = FPictureFolder + QStringLiteral("Verfolger/");
    FVerfolgerFrames.clear();
    FAlertnessSternFrames.clear();
    FAlertnessDracheFrames.clear();
    FAlertnessSmileyFrames.clear();
    LoadPlainSet(FVerfolgerFrames, follower, 12, FPictureFolder + QStringLiteral("Verfolger"));
    LoadPlainSet(FAlertnessSternFrames, FPictureFolder + QStringLiteral("Stern/"), 12, follower);
    LoadPlainSet(FAlertnessDracheFrames, FPictureFolder + QStringLiteral("Drache/"), 20, {});
    LoadPlainSet(FAlertnessSmileyFrames, FPictureFolder + QStringLiteral("Alertness/"), 22, {});
}

void TImageCatalogue::LoadSpriteTypes() {
    FSprites = {};
    for (const TSpriteTypeInfo& type : SpriteTypes) {
        const QString name = QString::fromUtf8(type.Folder);
        const QString folder = FPictureFolder + name + '/';
        const QString flatPrefix = type.FlatFallback ? FPictureFolder + name : QString();
        for (int n = 1; n <= type.FileCount; ++n) {
            const QString number = QString::number(n);
            const QString fallback =
                flatPrefix.isEmpty() ? QString() : flatPrefix + number + QStringLiteral(".png");
            TPngPicture picture;
            if (!DecodeFrame(folder + number + QStringLiteral(".png"), fallback, picture))
                continue;
            const TRasterImage plain = PngToSkImage(picture);
            if (!plain)
                continue;
            const bool mirrored = type.Right == TRightFrames::Mirrored;
            (FSprites.*type.Left).push_back(plain);
            (FSprites.*type.RightList)
                .push_back(mirrored ? PngToSkImage(MirrorPng(picture)) : plain);
            for (const TColourVariant& variant : {type.Variant1, type.Variant2}) {
                if (variant.Swap == 0)
                    continue;
                const TPngPicture swapped = SwapColourChannels(picture, variant.Swap);
                (FSprites.*variant.Left).push_back(PngToSkImage(swapped));
                (FSprites.*variant.Right).push_back(PngToSkImage(MirrorPng(swapped)));
            }
        }
    }
}

TFrameListPair TImageCatalogue::GetFrameLists(int spriteType, int colour) const {
    if (!ValidSpriteType(spriteType))
        return {};
    const TSpriteTypeInfo& type = SpriteTypes[spriteType];
    const TColourVariant* variant = colour == 1   ? &type.Variant1
                                    : colour == 2 ? &type.Variant2
                                                  : nullptr;
    if (variant && variant->Swap != 0)
        return {&(FSprites.*variant->Left), &(FSprites.*variant->Right)};
    return {&(FSprites.*type.Left), &(FSprites.*type.RightList)};
}

float TImageCatalogue::SpriteTypeScale(int spriteType) {
    return ValidSpriteType(spriteType) ? SpriteTypes[spriteType].Scale : 1.0f;
}

const FrameList* TImageCatalogue::GetScaledFrames(const FrameList* list, float s) {
    if (!list)
        return nullptr;
    if (const auto it = FFrameCache.find(list); it != FFrameCache.end())
        return it->second.get();
    ScaleMissingImages(*list, s);
    auto scaled = std::make_unique<FrameList>();
    scaled->reserve(list->size());
    for (const TRasterImage& frame : *list)
        scaled->push_back(FScaledImages.at({frame.Surface(), s}).second);
    const FrameList* result = scaled.get();
    FFrameCache.emplace(list, std::move(scaled));
    return result;
}

void TImageCatalogue::ScaleMissingImages(const FrameList& list, float s) {
    std::vector<const TRasterImage*> missing;
    double targetPx = 0;
    for (const TRasterImage& frame : list) {
        const std::pair<const void*, float> key{frame.Surface(), s};
        if (FScaledImages.count(key))
            continue;
        FScaledImages.emplace(key, std::make_pair(frame, TRasterImage()));
        missing.push_back(&frame);
        targetPx += double(frame.Width()) * frame.Height() * s * s;
    }
    std::vector<TRasterImage> results(missing.size());
    auto scaleEvery = [&](size_t first, size_t step) {
        for (size_t i = first; i < missing.size(); i += step)
            results[i] = ScaleImage(*missing[i], s);
    };
    if (missing.size() >= 2 && targetPx >= WorthTwoThreadsPx)
        RunBoth([&] { scaleEvery(0, 2); }, [&] { scaleEvery(1, 2); });
    else
        scaleEvery(0, 1);
    for (size_t i = 0; i < missing.size(); ++i)
        FScaledImages.at({missing[i]->Surface(), s}).second = std::move(results[i]);
}

void TImageCatalogue::EmptyCacheFor(float px) {
    if (FFramesPx == px)
        return;
    ForgetScaledFrames();
    FFramesPx = px;
}

void TImageCatalogue::ForgetScaledFrames() {
    for (auto& lists : FCurFrames)
        lists[0] = lists[1] = nullptr;
    FVerfolgerScaled = nullptr;
    for (auto& list : FAlertScaled)
        list = nullptr;
    FFrameCache.clear();
    FScaledImages.clear();
    FCurFramesType = -1;
}

void TImageCatalogue::ForgetPrepared() {
    ForgetScaledFrames();
    FBgStrip = {};
    FBgTileW = 0;
    FBgStripIndex = -1;
    FBgStripW = FBgStripH = 0;
}

void TImageCatalogue::PrepareSpriteFrames(int currentSpriteType, float px) {
    EmptyCacheFor(px);
    if (currentSpriteType != FCurFramesType) {
        const float s = SpriteTypeScale(currentSpriteType) * px;
        for (int colour = 0; colour < ColourCount; ++colour) {
            const TFrameListPair pair = GetFrameLists(currentSpriteType, colour);
            FCurFrames[colour][0] = GetScaledFrames(pair.Left, s);
            FCurFrames[colour][1] = GetScaledFrames(pair.Right, s);
        }
        FCurFramesType = currentSpriteType;
    }
    const float s = FollowerAndAlertnessScale * px;
    FVerfolgerScaled = GetScaledFrames(&FVerfolgerFrames, s);
    FAlertScaled[0] = GetScaledFrames(&FAlertnessSternFrames, s);
    FAlertScaled[1] = GetScaledFrames(&FAlertnessDracheFrames, s);
    FAlertScaled[2] = GetScaledFrames(&FAlertnessSmileyFrames, s);
}

void TImageCatalogue::PrewarmSequenceFrames(const std::vector<TPrewarmEntry>& entries, float px) {
    EmptyCacheFor(px);
    for (const TPrewarmEntry& entry : entries) {
        QByteArray text = entry.SettingsJson.toUtf8();
        if (text.isEmpty() && !ReadWholeFile(entry.ProfileFile, text))
            text.clear();
        const int spriteType = SpriteIndexOfSettings(text);
        if (spriteType < 0)
            continue;
        const float s = SpriteTypeScale(spriteType) * px;
        for (int colour = 0; colour < ColourCount; ++colour) {
            const TFrameListPair pair = GetFrameLists(spriteType, colour);
            GetScaledFrames(pair.Right, s);
            GetScaledFrames(pair.Left, s);
        }
    }
}

void TImageCatalogue::PrepareBackgroundStrip(int backgroundIndex, int renderWidth,
                                             int renderHeight) {
    if (backgroundIndex == FBgStripIndex && renderWidth == FBgStripW && renderHeight == FBgStripH)
        return;
    FBgStripIndex = backgroundIndex;
    FBgStripW = renderWidth;
    FBgStripH = renderHeight;
    FBgStrip = {};
    FBgTileW = 0;
    if (backgroundIndex < 0 || backgroundIndex >= static_cast<int>(FBackgroundImages.size()) ||
        renderWidth <= 0 || renderHeight <= 0)
        return;
    const TRasterImage& background = FBackgroundImages[backgroundIndex];
    if (!background || background.Height() <= 0)
        return;
    const float s = static_cast<float>(renderHeight) / static_cast<float>(background.Height());
    const TRasterImage tile = ScaleImage(background, s);
    FBgTileW = tile.Width();
    const int count = renderWidth / FBgTileW + 2;
    TRasterImage strip = TRasterImage::Create(FBgTileW * count, tile.Height());
    TCairoContext cr(strip);
    if (!cr.Ok()) {
        FBgStrip = tile;
        return;
    }
    cairo_set_operator(cr.Get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr.Get(), 1.0, 1.0, 1.0);
    cairo_paint(cr.Get());
    cairo_set_operator(cr.Get(), CAIRO_OPERATOR_OVER);
    for (int k = 0; k < count; ++k) {
        cairo_set_source_surface(cr.Get(), tile.Surface(), k * FBgTileW, 0);
        cairo_pattern_set_filter(cairo_get_source(cr.Get()), CAIRO_FILTER_NEAREST);
        cairo_rectangle(cr.Get(), k * FBgTileW, 0, FBgTileW, tile.Height());
        cairo_fill(cr.Get());
    }
    cairo_surface_flush(strip.Surface());
    FBgStrip = std::move(strip);
}

const FrameList* TImageCatalogue::CurFrames(int colour, int direction) const {
    if (colour < 0 || colour >= ColourCount || direction < 0 || direction > 1)
        return nullptr;
    return FCurFrames[colour][direction];
}

const FrameList* TImageCatalogue::AlertScaled(int index) const {
    return index >= 0 && index < 3 ? FAlertScaled[index] : nullptr;
}

void TImageCatalogue::PrepareSpriteFrames(const TFrameRequest& request) {
    PrepareSpriteFrames(request.SpriteType, request.Px);
}

void TImageCatalogue::PrepareBackgroundStrip(const TFrameRequest& request) {
    PrepareBackgroundStrip(request.BackgroundIndex, request.RenderWidth, request.RenderHeight);
}

int TImageCatalogue::PlainFrameCount(int spriteType) const {
    const TFrameListPair pair = GetFrameLists(spriteType, 0);
    return pair.Left ? static_cast<int>(pair.Left->size()) : 0;
}

int TImageCatalogue::CurrentSpriteWidth() const {
    return FirstWidth(FCurFrames[0][0]);
}

int TImageCatalogue::FollowerFrameCount() const {
    return static_cast<int>(FVerfolgerFrames.size());
}

int TImageCatalogue::FollowerWidth() const {
    return FirstWidth(FVerfolgerScaled);
}

int TImageCatalogue::AlertnessFrameCount(int mode) const {
    const FrameList& list = mode == 1   ? FAlertnessSternFrames
                            : mode == 2 ? FAlertnessDracheFrames
                                        : FAlertnessSmileyFrames;
    return static_cast<int>(list.size());
}

int TImageCatalogue::AlertnessWidth(int mode) const {
    return mode >= 1 && mode <= 3 ? FirstWidth(FAlertScaled[mode - 1]) : 0;
}

} // namespace kalvero
