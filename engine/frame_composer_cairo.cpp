#include "engine/frame_composer_cairo.h"

#include "engine/alertness_task.h"
#include "engine/back_buffer.h"
#include "engine/composition_images.h"
#include "engine/follower.h"
#include "engine/frame_loop.h"
#include "engine/frame_source.h"
#include "engine/raster_image.h"
#include "engine/run_state.h"
#include "engine/settings_controls.h"
#include "engine/sprite_field.h"
#include "platform/clock.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdio>

namespace kalvero {

namespace {
constexpr std::uint32_t OpaqueWhite = 0xFFFFFFFF;
constexpr std::uint32_t OpaqueBlack = 0xFF000000;
constexpr std::uint32_t OpaqueRed = 0xFFFF0000;
constexpr std::uint32_t OpaqueYellow = 0xFFFFFF00;
constexpr std::uint32_t StatisticsBack = 0xD0000000;
constexpr std::uint32_t PauseVeil = 0xC0202020;

constexpr double TimeFontPx = 24, PauseFontPx = 46, PauseFontSmallPx = 26;
constexpr double AlertSquarePx = 100;

const std::string PauseTitleReminder = "Zeit für eine kurze Pause";
const std::string PauseTitleKey = "Pause";
const std::string PauseLineRest = "Schauen Sie in die Ferne oder schließen Sie kurz die Augen.";
const std::string PauseLineKeys = "Weiter mit der Leertaste   ·   Beenden mit Esc";

// A frame index that lies inside the list, or null.
const TRasterImage* FrameOf(const FrameList* list, std::int32_t index) {
    if (!list || index < 0 || index >= static_cast<std::int32_t>(list->size()))
        return nullptr;
    return &(*list)[static_cast<size_t>(index)];
}

// The band test: a picture at y with the given height touches the rows y0 .. y1 - 1.
bool TouchesRows(double y, int height, int y0, int y1) {
    return !(y >= y1 || y0 >= y + height);
}
} // namespace

TCairoFrameComposer::TCairoFrameComposer(const TComposerParts& parts, int processors)
    : FParts(parts), FBack(std::make_unique<TBackBuffer>(processors)),
      FBandProc(std::make_shared<const TBandProc>([this](int index) { BandProcedure(index); })) {
    MakeFonts(1.0f);
}

TCairoFrameComposer::~TCairoFrameComposer() {
    ReleaseBackBuffer();
}

void TCairoFrameComposer::MakeFonts(float px) {
    FTimeFont = TCairoFont(TimeFontPx * px);
    FPauseFont = TCairoFont(PauseFontPx * px);
    FPauseFontSmall = TCairoFont(PauseFontSmallPx * px);
}

void TCairoFrameComposer::EnsureBackBuffer(int width, int height) {
    FBack->EnsureBackBuffer(width, height, FBandProc);
}

void TCairoFrameComposer::ReleaseBackBuffer() {
    FBack->ReleaseBackBuffer();
}

bool TCairoFrameComposer::HasBackBuffer() const {
    return FBack->HasSurface();
}

int TCairoFrameComposer::BackWidth() const {
    return FBack->FBackW;
}

int TCairoFrameComposer::BackHeight() const {
    return FBack->FBackH;
}

int TCairoFrameComposer::BandWorkerCount() const {
    return static_cast<int>(FBack->FWorkers.size());
}

bool TCairoFrameComposer::Smooth() const {
    return FLoop ? FLoop->FSmooth : true;
}

double TCairoFrameComposer::SnapCoord(double value) const {
    return Smooth() ? value : std::nearbyint(value);
}

void TCairoFrameComposer::DrawFrame(bool allowBandWorkers, int width, int height) {
    if (!FBack->HasSurface())
        return;
    DrawFrameInto(FBack->WholeTarget(), FBack->Context(), allowBandWorkers,
                  static_cast<float>(width), static_cast<float>(height));
}

void TCairoFrameComposer::DrawFrameOn(TRasterImage& canvas, float width, float height) {
    TCairoContext cr(canvas);
    if (!cr.Ok())
        return;
    const TPixelTarget target{canvas.MutableData(), canvas.Stride(), canvas.Width(),
                              canvas.Height(), 0};
    DrawFrameInto(target, cr.Get(), false, width, height);
}

void TCairoFrameComposer::DrawFrameInto(const TPixelTarget& canvas, cairo_t* cr, bool useBands,
                                        float width, float height) {
    FParts.Images.Prepare(FParts.Sprites.FrameRequest());
    cairo_surface_t* surface = cairo_get_target(cr);
    cairo_surface_flush(surface);
    DrawBands(canvas, useBands, height);
    const bool square = DrawAlertnessImage(canvas);
    cairo_surface_mark_dirty(surface);

    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    if (square)
        DrawAlertnessSquare(cr);
    DrawTimeDisplay(cr, width);
    DrawStatistics(cr, width, height);
    DrawPauseScreen(cr, width, height);
    cairo_restore(cr);
    cairo_surface_flush(surface);
}

void TCairoFrameComposer::DrawBands(const TPixelTarget& canvas, bool useBands, float height) {
    const TBackBuffer& back = *FBack;
    const size_t workers = back.FWorkers.size();
    if (useBands && workers > 0 && back.FBands.size() == workers + 1) {
        for (const auto& worker : back.FWorkers)
            worker->Kick();
        DrawBand(back.BandTarget(0), back.FBandY[0], back.FBandY[0] + back.FBandH[0]);
        for (const auto& worker : back.FWorkers) {
            if (worker->TakeOver())
                DrawTakenOverBand(worker->Index());
            else
                worker->WaitDone();
        }
        return;
    }
    DrawBand(canvas, 0, static_cast<int>(std::nearbyint(height)));
}

void TCairoFrameComposer::DrawTakenOverBand(int index) {
    try {
        BandProcedure(index);
    } catch (...) {
        // As in a worker: the band stays as far as it got.
    }
}

void TCairoFrameComposer::BandProcedure(int index) {
    const TBackBuffer& back = *FBack;
    DrawBand(back.BandTarget(index), back.FBandY[index], back.FBandY[index] + back.FBandH[index]);
}

void TCairoFrameComposer::DrawBand(const TPixelTarget& canvas, int y0, int y1) const {
    TPixelTarget band = canvas;
    band.FrameY0 = y0; // the canvas's row 0 is frame row y0
    y1 = std::min(y1, y0 + canvas.Height);
    if (y1 <= y0)
        return;
    DrawStripRows(band, y0, y1, FParts.Images.BgStrip(), SnapCoord(-FParts.Sprites.BackOffset),
                  FSampling);
    DrawSprites(band, y0, y1);
    DrawFollower(band, y0, y1);
}

void TCairoFrameComposer::DrawSprites(const TPixelTarget& canvas, int y0, int y1) const {
    const int direction = FParts.Sprites.MoveDirection == 1 ? 1 : 0;
    for (const auto& sprite : FParts.Sprites.ActiveSprites) {
        int colour = sprite->ColorVariant;
        if (colour < 0 || colour > 2)
            colour = 0;
        const TRasterImage* image =
            FrameOf(FParts.Images.CurFrames(colour, direction), sprite->FrameIndex);
        if (!image || !TouchesRows(sprite->Y, image->Height(), y0, y1))
            continue;
        DrawImageRows(canvas, y0, y1, *image, SnapCoord(sprite->X), SnapCoord(sprite->Y),
                      FSampling);
    }
}

void TCairoFrameComposer::DrawFollower(const TPixelTarget& canvas, int y0, int y1) const {
    const TFollower& follower = FParts.Follower;
    if (!follower.VerfolgerObj || follower.FVerfolgerRespawnTimer > 0)
        return;
    const TSpriteObj& obj = *follower.VerfolgerObj;
    const TRasterImage* image = FrameOf(FParts.Images.VerfolgerScaled(), obj.FrameIndex);
    if (!image || !TouchesRows(obj.Y, image->Height(), y0, y1))
        return;
    DrawImageRows(canvas, y0, y1, *image, SnapCoord(obj.X), SnapCoord(obj.Y), FSampling);
}

bool TCairoFrameComposer::DrawAlertnessImage(const TPixelTarget& canvas) {
    TAlertnessTask& task = FParts.Alertness;
    const TAlertnessState& a = task.AlertnessVars;
    if (a.ActiveMode <= 0 || !a.IsVisible)
        return false;
    const TRasterImage* image = nullptr;
    if (a.ActiveMode >= 1 && a.ActiveMode <= 3)
        image = FrameOf(FParts.Images.AlertScaled(a.ActiveMode - 1), a.FrameIndex);
    // The onset of a stimulus is the moment its first frame is composed.
    task.TakeOnset(FParts.Stopwatch.NowMs());
    if (!image)
        return true;
    DrawImageRows(canvas, 0, canvas.Height, *image, std::nearbyint(a.X), std::nearbyint(a.Y),
                  TSampling::Nearest);
    return false;
}

void TCairoFrameComposer::DrawAlertnessSquare(cairo_t* cr) {
    const TAlertnessState& a = FParts.Alertness.AlertnessVars;
    const double side = AlertSquarePx * FParts.Run.FPx;
    FillRect(cr, a.X, a.Y, a.X + side, a.Y + side, OpaqueRed);
}

void TCairoFrameComposer::DrawTimeDisplay(cairo_t* cr, float width) {
    if (!FParts.Controls.checkboxZeit().Checked() || !FTimeFont)
        return;
    const std::int64_t t = std::max<std::int64_t>(0, FParts.RunTime.ActiveElapsedMs());
    const std::int64_t minutes = t / 60000;
    const std::int64_t seconds = (t / 1000) % 60;
    // The minutes are compared as well: a frame a whole minute after the last one has the same
    // seconds but another text.
    if (seconds != FLastElapsedSec || minutes != FLastElapsedMin || FLastTimeStr.empty()) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2lld:%.2lld", static_cast<long long>(minutes),
                      static_cast<long long>(seconds));
        FLastTimeStr = text;
        FLastElapsedSec = seconds;
        FLastElapsedMin = minutes;
    }
    const double px = FParts.Run.FPx;
    const double m = 20 * px;
    const double tw = FTimeFont.TextWidth(FLastTimeStr);
    const double x = FParts.Sprites.MoveDirection == -1 ? m : width - tw - m;
    FillRect(cr, x - 5 * px, m - 5 * px, x + tw + 5 * px, m + 29 * px, OpaqueWhite);
    SetPaintColour(cr, OpaqueBlack);
    FTimeFont.DrawText(cr, x, m + 20 * px, FLastTimeStr);
}

void TCairoFrameComposer::DrawStatistics(cairo_t* cr, float width, float height) {
    if (!FLoop || !FLoop->FShowStats || FLoop->FStatText.isEmpty() || !FTimeFont)
        return;
    if (FLoop->FStatText != FStatTextShown) {
        FStatTextShown = FLoop->FStatText;
        FStatTextUtf8 = FStatTextShown.toStdString();
    }
    const double px = FParts.Run.FPx;
    const double tw = FTimeFont.TextWidth(FStatTextUtf8);
    const double x = (width - tw) / 2;
    FillRect(cr, x - 8 * px, height - 50 * px, x + tw + 8 * px, height - 14 * px, StatisticsBack);
    SetPaintColour(cr, OpaqueYellow);
    FTimeFont.DrawText(cr, x, height - 24 * px, FStatTextUtf8);
}

void TCairoFrameComposer::DrawPauseScreen(cairo_t* cr, float width, float height) {
    if (!FParts.Run.FPaused || !FPauseFont)
        return;
    const double px = FParts.Run.FPx;
    FillRect(cr, 0, 0, width, height, PauseVeil);
    SetPaintColour(cr, OpaqueWhite);
    auto centred = [&](const TCairoFont& font, const std::string& text, double baseline) {
        font.DrawText(cr, (width - font.TextWidth(text)) / 2, baseline, text);
    };
    centred(FPauseFont, FParts.Run.FPauseIsReminder ? PauseTitleReminder : PauseTitleKey,
            height / 2 - 40 * px);
    centred(FPauseFontSmall, PauseLineRest, height / 2 + 20 * px);
    centred(FPauseFontSmall, PauseLineKeys, height / 2 + 70 * px);
}

void TCairoFrameComposer::SetPaintColour(cairo_t* cr, std::uint32_t argb) {
    FTimePaint = argb;
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, (argb >> 24) / 255.0);
}

void TCairoFrameComposer::FillRect(cairo_t* cr, double x0, double y0, double x1, double y1,
                                   std::uint32_t argb) {
    SetPaintColour(cr, argb);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(cr);
}

} // namespace kalvero
