#pragma once

#include "engine/band_worker.h"
#include "engine/cairo_font.h"
#include "engine/frame_composer.h"
#include "engine/pixel_blit.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

namespace kalvero {

class TClock;
class TCompositionImages;
class TSpriteField;
class TFollower;
class TAlertnessTask;
class TSettingsControls;
class TRunHooks;
class TFrameLoop;
class TBackBuffer;
class TRasterImage;
struct TRunState;

// What the composition reads while drawing, and the alertness task whose onset it takes.
struct TComposerParts {
    const TClock& Stopwatch;     // milliseconds for the alertness onset
    TCompositionImages& Images;  // background strip and frame lists, prepared per frame
    const TSpriteField& Sprites; // ActiveSprites, MoveDirection, BackOffset
    const TFollower& Follower;   // VerfolgerObj, FVerfolgerRespawnTimer
    TAlertnessTask& Alertness;   // AlertnessVars; FAlertOnsetTick is taken here
    const TRunState& Run;        // FPaused, FPauseIsReminder, FPx
    TSettingsControls& Controls; // checkboxZeit
    const TRunHooks& RunTime;    // ActiveElapsedMs
};

// The frame composition: the back buffer with its bands and band workers, the band drawing
// (background strip, sprites, follower) and the overlays drawn over the whole frame afterwards
// (alertness stimulus, time display, statistics line, pause screen).
//
// Per frame the composing thread kicks every worker, draws band 0 itself and then goes through
// the workers in order: it waits for each one that is drawing its band and draws the band of
// each one that has not woken up yet itself (so a busy machine costs no waiting). The workers
// only read the drawing state and write only their own rows.
class TCairoFrameComposer : public TFrameComposer {
public:
    // processors: logical processors to plan bands for (0: this machine's).
    explicit TCairoFrameComposer(const TComposerParts& parts, int processors = 0);
    ~TCairoFrameComposer() override;
    TCairoFrameComposer(const TCairoFrameComposer&) = delete;
    TCairoFrameComposer& operator=(const TCairoFrameComposer&) = delete;

    // FSmooth, FShowStats and FStatText are read from the frame loop, which is made after the
    // composer. Without one "fein" is on and there is no statistics line.
    void SetFrameLoop(const TFrameLoop* loop) { FLoop = loop; }

    // TFrameComposer
    void EnsureBackBuffer(int width, int height) override;
    bool HasBackBuffer() const override;
    int BackWidth() const override;
    int BackHeight() const override;
    void DrawFrame(bool allowBandWorkers, int width, int height) override;
    int BandWorkerCount() const override;

    // Stops the workers and drops the back buffer.
    void ReleaseBackBuffer();
    // Composes a whole frame of width x height on another image, on the calling thread (the
    // paint box's path when there is no back buffer).
    void DrawFrameOn(TRasterImage& canvas, float width, float height);
    // Draws the frame rows y0 .. y1 - 1 (background, sprites, follower) onto a canvas whose
    // first row is frame row y0.
    void DrawBand(const TPixelTarget& canvas, int y0, int y1) const;
    // The position unchanged with "fein" on, otherwise rounded to whole pixels (halves to even).
    double SnapCoord(double value) const;
    // The overlay fonts for a pixel scale: 24, 46 and 26 pixels times px. Made at creation
    // with 1 and again at every run start.
    void MakeFonts(float px);

    const TBackBuffer& BackBuffer() const { return *FBack; }

    TCairoFont FTimeFont;
    TCairoFont FPauseFont;
    TCairoFont FPauseFontSmall;
    std::uint32_t FTimePaint = 0xFF000000; // colour of the overlay being drawn (ARGB)
    const TSampling FSampling = TSampling::Linear;
    std::string FLastTimeStr = "00:00";
    std::int64_t FLastElapsedSec = -1;
    std::int64_t FLastElapsedMin = -1;

protected:
    // What worker `index` runs per kick: draws band `index`.
    virtual void BandProcedure(int index);

private:
    void DrawFrameInto(const TPixelTarget& canvas, cairo_t* cr, bool useBands, float width,
                       float height);
    void DrawBands(const TPixelTarget& canvas, bool useBands, float height);
    // A band whose worker had not started yet, drawn on the composing thread.
    void DrawTakenOverBand(int index);
    void DrawSprites(const TPixelTarget& canvas, int y0, int y1) const;
    void DrawFollower(const TPixelTarget& canvas, int y0, int y1) const;
    // Draws the alertness picture (directly into the pixels) and takes the onset; true when
    // the red square is to be drawn instead.
    bool DrawAlertnessImage(const TPixelTarget& canvas);
    void DrawAlertnessSquare(cairo_t* cr);
    void DrawTimeDisplay(cairo_t* cr, float width);
    void DrawStatistics(cairo_t* cr, float width, float height);
    void DrawPauseScreen(cairo_t* cr, float width, float height);
    void FillRect(cairo_t* cr, double x0, double y0, double x1, double y1, std::uint32_t argb);
    void SetPaintColour(cairo_t* cr, std::uint32_t argb);
    bool Smooth() const;

    TComposerParts FParts;
    const TFrameLoop* FLoop = nullptr;
    std::unique_ptr<TBackBuffer> FBack;
    std::shared_ptr<const TBandProc> FBandProc;
    QString FStatTextShown;
    std::string FStatTextUtf8;
};

} // namespace kalvero
