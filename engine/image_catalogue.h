#pragma once

#include "engine/frame_list.h"
#include "engine/frame_source.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kalvero {

// The unscaled frame lists of the fifteen stimulus sets: per set and colour a list for sprites
// moving left (the pictures as stored) and one for sprites moving right.
struct TSpriteFrameLists {
    FrameList HummelFrames_L, HummelFrames_R;
    FrameList FischFrames_L, FischFrames_R;
    FrameList FischFrames_Red_L, FischFrames_Red_R;
    FrameList FischFrames_Blue_L, FischFrames_Blue_R;
    FrameList SchmetterlingFrames_L, SchmetterlingFrames_R;
    FrameList Schmetterling2Frames_L, Schmetterling2Frames_R;
    FrameList Schmetterling2Frames_Red_L, Schmetterling2Frames_Red_R;
    FrameList Schmetterling2Frames_Green_L, Schmetterling2Frames_Green_R;
    FrameList AlphabetFrames_L, AlphabetFrames_R;
    FrameList ZiffernFrames_L, ZiffernFrames_R;
    FrameList VogelFrames_L, VogelFrames_R;
    FrameList SmileyFrames_L, SmileyFrames_R;
    FrameList AutoFrames_L, AutoFrames_R;
    FrameList FlugzeugFrames_L, FlugzeugFrames_R;
    FrameList BlasenFrames_L, BlasenFrames_R;
    FrameList BallonFrames_L, BallonFrames_R;
    FrameList HeissluftFrames_L, HeissluftFrames_R;
    FrameList RaketeFrames_L, RaketeFrames_R;
    FrameList SphereFrames_L, SphereFrames_R;
};

// Left and right list of one stimulus set and colour; both null for an unknown set.
struct TFrameListPair {
    const FrameList* Left = nullptr;
    const FrameList* Right = nullptr;
};

// One entry of the active sequence, as far as scaling its frames in advance needs it.
struct TPrewarmEntry {
    QString SettingsJson; // the entry's own settings text; when empty, ProfileFile is read
    QString ProfileFile;  // full path of the entry's profile file
};

// Every picture of the stimulus display: the 72 backgrounds, the frame lists of the fifteen
// stimulus sets (with the colour variants of Fisch and Schmetterling 2), the follower and the
// three alertness animations. Everything is read once by LoadImages; afterwards the unscaled
// pictures never change. The scaled copies for a run (per-set lists, follower, alertness lists,
// background strip) are made by the Prepare calls and cached.
//
// The prepared state is read by the frame composition's band workers while the owner waits for
// them; all other calls belong to one thread.
class TImageCatalogue : public TFrameSource {
public:
    static constexpr int SpriteTypeCount = 15;
    static constexpr int BackgroundCount = 72;
    static constexpr int ColourCount = 3;

    // pictureFolder: the folder of "hgr01.jpg" and the frame folders, with a trailing separator;
    // empty means PictureFolder() ("Grafik/" beside the executable).
    explicit TImageCatalogue(QString pictureFolder = {});
    ~TImageCatalogue() override;
    TImageCatalogue(const TImageCatalogue&) = delete;
    TImageCatalogue& operator=(const TImageCatalogue&) = delete;

    // Reads every picture. Missing or undecodable frame files are left out of their lists; a
    // missing background becomes a grey 800 x 600 placeholder.
    void LoadImages();

    // Backgrounds, element i - 1 for file number i. The names are the items of the background
    // combo box ("Hintergrund 7", or "Hintergrund 7 (fehlt)" for a placeholder); the files are
    // the full paths, empty for a placeholder.
    const std::vector<TRasterImage>& BackgroundImages() const { return FBackgroundImages; }
    const QStringList& BackgroundNames() const { return FBackgroundNames; }
    const QStringList& BackgroundFiles() const { return FBackgroundFiles; }

    const TSpriteFrameLists& SpriteFrames() const { return FSprites; }
    const FrameList& VerfolgerFrames() const { return FVerfolgerFrames; }
    const FrameList& AlertnessSternFrames() const { return FAlertnessSternFrames; }
    const FrameList& AlertnessDracheFrames() const { return FAlertnessDracheFrames; }
    const FrameList& AlertnessSmileyFrames() const { return FAlertnessSmileyFrames; }

    // The unscaled pair of a stimulus set and colour variant (0 plain; 1 and 2 the variants of
    // Fisch and Schmetterling 2, the plain pair for every other set).
    TFrameListPair GetFrameLists(int spriteType, int colour) const;
    // The size factor of a stimulus set (1.0 for a set without another factor).
    static float SpriteTypeScale(int spriteType);
    // The cached scaled copy of a source list (null for a null list). The cache is keyed by the
    // list itself: a list is always scaled by the same factor for one pixel scale.
    const FrameList* GetScaledFrames(const FrameList* list, float s);

    // Makes the current set's scaled lists, the scaled follower list and the scaled alertness
    // lists current for a stimulus set and pixel scale. A new pixel scale empties the cache.
    void PrepareSpriteFrames(int currentSpriteType, float px);
    // Makes the background strip current for a background index and render size.
    void PrepareBackgroundStrip(int backgroundIndex, int renderWidth, int renderHeight);
    // Scales in advance the lists of every stimulus set used by the sequence's entries.
    void PrewarmSequenceFrames(const std::vector<TPrewarmEntry>& entries, float px);

    // Prepared state for drawing. colour 0 .. 2, direction 0 left, 1 right; null when absent.
    const FrameList* CurFrames(int colour, int direction) const;
    int CurFramesType() const { return FCurFramesType; }
    const FrameList* VerfolgerScaled() const { return FVerfolgerScaled; }
    // index 0 Stern, 1 Drache, 2 Smiley (alertness modes 1 .. 3); null when absent.
    const FrameList* AlertScaled(int index) const;
    // The pre-tiled background strip (absent when there is none) and the width of one tile
    // (0 when there is no strip).
    const TRasterImage& BgStrip() const { return FBgStrip; }
    int BgTileW() const { return FBgTileW; }
    float FramesPx() const { return FFramesPx; }
    int CachedListCount() const { return static_cast<int>(FFrameCache.size()); }

    // TFrameSource
    void PrepareSpriteFrames(const TFrameRequest& request) override;
    void PrepareBackgroundStrip(const TFrameRequest& request) override;
    int PlainFrameCount(int spriteType) const override;
    int CurrentSpriteWidth() const override;
    int BackgroundTileWidth() const override { return FBgTileW; }
    int FollowerFrameCount() const override;
    int FollowerWidth() const override;
    int AlertnessFrameCount(int mode) const override;
    int AlertnessWidth(int mode) const override;

private:
    void LoadBackgrounds();
    void LoadOtherSets();
    void LoadSpriteTypes();
    void EmptyCacheFor(float px);
    void ScaleMissingImages(const FrameList& list, float s);
    void ForgetScaledFrames();
    void ForgetPrepared();

    QString FPictureFolder;

    std::vector<TRasterImage> FBackgroundImages;
    QStringList FBackgroundNames;
    QStringList FBackgroundFiles;

    TSpriteFrameLists FSprites;
    FrameList FVerfolgerFrames;
    FrameList FAlertnessSternFrames;
    FrameList FAlertnessDracheFrames;
    FrameList FAlertnessSmileyFrames;

    std::unordered_map<const FrameList*, std::unique_ptr<FrameList>> FFrameCache;
    // Scaled single pictures by source surface and factor, so that a picture shared by two
    // lists (a right list that is the left one again) is resampled only once. The source is
    // kept with its copy so that its address cannot be reused while the entry exists.
    std::map<std::pair<const void*, float>, std::pair<TRasterImage, TRasterImage>> FScaledImages;
    float FFramesPx = 1.0f;
    const FrameList* FCurFrames[ColourCount][2] = {};
    int FCurFramesType = -1;
    const FrameList* FVerfolgerScaled = nullptr;
    const FrameList* FAlertScaled[3] = {};

    TRasterImage FBgStrip;
    int FBgTileW = 0;
    int FBgStripIndex = -1;
    int FBgStripW = 0;
    int FBgStripH = 0;
};

} // namespace kalvero
