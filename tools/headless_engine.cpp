#include "tools/headless_engine.h"

#include "engine/alertness_task.h"
#include "engine/back_buffer.h"
#include "engine/composition_images.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_composer_cairo.h"
#include "engine/frame_loop.h"
#include "engine/image_catalogue.h"
#include "engine/plain_settings_controls.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/refresh_wait.h"
#include "platform/sound_player.h"

#include <QFileInfo>
#include <cairo.h>
#include <cmath>
#include <string>

namespace kalvero::tool {

namespace {

class TSilence final : public TSoundSink {
public:
    void PlaySoundEffect(const QString&) override {}
};

class TNoWait final : public TCompositorWait {
public:
    bool WaitForNextRefresh() override { return true; }
    void SleepAfterFailedWait() override {}
};

// The window side of a run without a window: the client area has the requested size, frames
// are presented nowhere, run time is wall time since the start (there are no pauses).
class THeadlessWindow final : public TFrameWindow, public TRunHooks, public TSettingsWindow {
public:
    THeadlessWindow(const TClock& clock, TRunState& run, int width, int height)
        : FClock(clock), FRun(run), FWidth(width), FHeight(height) {}

    int ClientWidth() const override { return FWidth; }
    int ClientHeight() const override { return FHeight; }
    void PresentBackBuffer(int, int) override {}
    void ShowPaintBoxFallback() override {}
    void RequestPaintBoxRepaint() override {}

    void CaptureRunSettings() override { FRun.FRunCaptured = true; }
    std::int64_t ActiveElapsedMs() const override {
        return std::max<std::int64_t>(0, FClock.NowMs() - SessionStartMs);
    }
    void StopRun() override { FRun.IsRunning = false; }
    void BeginPause(bool reminder) override {
        FRun.FPaused = true;
        FRun.FPauseIsReminder = reminder;
    }

    void UpdatePreviews() override {}
    void SetLabelSpeed(const QString&) override {}
    void SetLabelNumberOfSprites(const QString&) override {}
    void FocusMainWindow() override {}

    std::int64_t SessionStartMs = 0;

private:
    const TClock& FClock;
    TRunState& FRun;
    int FWidth, FHeight;
};

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

struct THeadlessEngine::TParts {
    explicit TParts(const THeadlessOptions& o)
        : Random(o.Seed), Images(Catalogue), Window(Clock, Run, o.Width, o.Height),
          Sprites(Random, Catalogue, Controls, Run, {Cursor, Sequence, Follower, Alertness}),
          Settings(Controls, Sprites, Alertness, Run, Window),
          Composer({Clock, Images, Sprites, Follower, Alertness, Run, Controls, Window},
                   o.Processors),
          Loop({Clock, Wait, Pacing, ProgramSettings(), Run, Sprites, Window, Composer, Window},
               1.0 / o.Fps) {
        Catalogue.LoadImages();
        Alertness.Connect({Clock, Random, Catalogue, Run, Window, Sound});
        Composer.SetFrameLoop(&Loop);
    }

    // "Takt" off: nothing waits for a display.
    TProgramSettings& ProgramSettings() {
        Program.SetProgramValue(QStringLiteral("Takt"), QStringLiteral("0"));
        return Program;
    }

    TManualClock Clock;
    TSeededRandom Random;
    TImageCatalogue Catalogue;
    TCatalogueImages Images;
    TPlainSettingsControls Controls;
    TRunState Run;
    THeadlessWindow Window;
    TSilence Sound;
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Sprites;
    TTrainingSettings Settings;
    TNoWait Wait;
    TThreadPacing Pacing; // a run raises the composing thread's priority, as in the program
    TMemoryProgramSettings Program;
    TCairoFrameComposer Composer;
    TFrameLoop Loop;
};

THeadlessEngine::THeadlessEngine(const THeadlessOptions& options)
    : FOptions(options), F(std::make_unique<TParts>(options)) {}

THeadlessEngine::~THeadlessEngine() = default;

bool THeadlessEngine::LoadSettingsFile(const QString& path, QString& error) {
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("Einstellungsdatei nicht gefunden: %1").arg(path);
        return false;
    }
    try {
        F->Settings.LoadSettingsFile(path);
    } catch (const TReadError&) {
        error = QStringLiteral("Einstellungsdatei nicht lesbar: %1").arg(path);
        return false;
    }
    return true;
}

void THeadlessEngine::StartRun() {
    TParts& p = *F;
    TSpriteField& s = p.Sprites;
    s.CurrentBackgroundIndex = std::max(0, p.Controls.ComboBackground().ItemIndex());
    s.CurrentSpriteType = p.Controls.ComboSprite().ItemIndex();
    s.MoveDirection = p.Controls.RadioGroupDirection().ItemIndex() == 0 ? -1 : 1;
    s.BaseSpeedFactor = p.Controls.TrackBarSpeed().Position();
    p.Run.FRenderWidth = FOptions.Width;
    p.Run.FRenderHeight = FOptions.Height;
    p.Run.FPx = 1.0f;
    p.Composer.MakeFonts(p.Run.FPx);
    p.Catalogue.PrepareSpriteFrames(s.FrameRequest());
    p.Catalogue.PrepareBackgroundStrip(s.FrameRequest());
    s.ResetBackOffset();
    s.RebuildSprites();
    p.Alertness.ResetAlertness(p.Controls.RadioGroupAlertness().ItemIndex());
    p.Loop.ResetLastTicks();
    p.Window.SessionStartMs = p.Clock.NowMs();
    p.Follower.ResetForRun();
    p.Run.IsRunning = true;
    p.Loop.BeginRunTiming();
    p.Run.FTimeLimitMs = 0;
    p.Run.FRunCaptured = false;
    p.Run.FPaused = false;
    p.Run.FPauseEveryMs = 0;
    p.Run.FNextPauseMs = 0;
}

void THeadlessEngine::AdvanceClock() {
    ++FFrame;
    // Frame k lies at k / F seconds, taken to whole nanoseconds, so no error adds up.
    const double ticks =
        std::nearbyint(FFrame * static_cast<double>(TClock::TicksPerSecond) / FOptions.Fps);
    F->Clock.SetTicks(static_cast<std::int64_t>(ticks));
}

void THeadlessEngine::RunFrame() {
    AdvanceClock();
    bool done = false;
    F->Loop.AppIdle(done);
}

void THeadlessEngine::StepSimulation() {
    const std::int64_t before = F->Clock.NowTicks();
    AdvanceClock();
    F->Sprites.SimulationStep(static_cast<double>(F->Clock.NowTicks() - before) /
                              TClock::TicksPerSecond);
}

std::int64_t THeadlessEngine::NowMs() const {
    return F->Clock.NowMs();
}

QByteArray THeadlessEngine::BackBufferPng() const {
    QByteArray png;
    const TBackBuffer& back = F->Composer.BackBuffer();
    if (back.HasSurface())
        cairo_surface_write_to_png_stream(back.FBackSurface.Surface(), AppendPng, &png);
    return png;
}

TSettingsControls& THeadlessEngine::Controls() {
    return F->Controls;
}
TRunState& THeadlessEngine::Run() {
    return F->Run;
}
TSpriteField& THeadlessEngine::Sprites() {
    return F->Sprites;
}
TAlertnessTask& THeadlessEngine::Alertness() {
    return F->Alertness;
}
TFrameLoop& THeadlessEngine::Loop() {
    return F->Loop;
}
TCairoFrameComposer& THeadlessEngine::Composer() {
    return F->Composer;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    try {
        size_t used = 0;
        width = std::stoi(text.substr(0, x), &used);
        if (used != x)
            return false;
        const std::string rest = text.substr(x + 1);
        height = std::stoi(rest, &used);
        if (used != rest.size())
            return false;
    } catch (const std::exception&) {
        return false;
    }
    return width > 0 && height > 0 && width <= 16384 && height <= 16384;
}

} // namespace kalvero::tool
