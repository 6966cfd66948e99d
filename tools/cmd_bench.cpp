// kalvero4-tool bench: composition speed of a running field (background, sprites, follower,
// alertness stimulus, time display, statistics line), measured against the time it takes to
// copy one whole frame between two frame-sized buffers in the same run.

#include "engine/alertness_task.h"
#include "engine/frame_composer_cairo.h"
#include "engine/frame_loop.h"
#include "engine/run_state.h"
#include "engine/settings_controls.h"
#include "engine/sprite_field.h"
#include "tools/commands.h"
#include "tools/headless_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kalvero::tool {

namespace {

const char* const BenchUsage =
    "bench --size BxH --sprites N --frames F [--smooth] [--threads N]   Zeichenzeit messen";
constexpr int WarmUpFrames = 20;

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
    return values[index];
}

// The field as a run shows it, with every overlay that draws per frame switched on.
void PrepareField(THeadlessEngine& engine, int sprites, bool smooth) {
    TSettingsControls& controls = engine.Controls();
    controls.TrackBarNumberOfSprites().SetPosition(sprites);
    controls.checkboxVerfolger().SetChecked(true);
    controls.checkboxZeit().SetChecked(true);
    controls.RadioGroupAlertness().SetItemIndex(1);
    engine.StartRun();
    TSpriteField& field = engine.Sprites();
    while (static_cast<int>(field.ActiveSprites.size()) < sprites)
        field.ActiveSprites.push_back(field.SpawnSprite());
    TFrameLoop& loop = engine.Loop();
    loop.FSmooth = smooth;
    loop.FShowStats = true;
    loop.FStatText =
        QStringLiteral(
            "%1 x %2   60 Bilder/s   Zeichnen 3.1 ms (max 4.2)   Abstand max 16.9 ms   verpasst 0 "
            "(ges. 0)   Takt an (F5)   fein %3 (F6)   %4 Reize   %5 Threads")
            .arg(engine.Options().Width)
            .arg(engine.Options().Height)
            .arg(smooth ? "an" : "aus")
            .arg(sprites)
            .arg(engine.Composer().BandWorkerCount() + 1);
}

// The alertness stimulus stays on screen for the whole measurement.
void KeepStimulusVisible(THeadlessEngine& engine) {
    TAlertnessState& a = engine.Alertness().AlertnessVars;
    if (a.IsVisible)
        return;
    a.IsVisible = true;
    a.FrameIndex = 0;
    a.X = engine.Options().Width * 0.3;
    a.Y = engine.Options().Height / 2 - 75;
}

int Bench(const std::vector<std::string>& args) {
    THeadlessOptions options;
    int sprites = 0, frames = 0;
    try {
        sprites = std::stoi(OptionValue(args, "--sprites", "40"));
        frames = std::stoi(OptionValue(args, "--frames", "300"));
        options.Processors = std::stoi(OptionValue(args, "--threads", "0"));
    } catch (const std::exception&) {
        frames = 0;
    }
    if (!ParseSize(OptionValue(args, "--size", "1920x1080"), options.Width, options.Height) ||
        sprites < 0 || sprites > 10000 || frames <= 0 || options.Processors < 0) {
        std::fprintf(stderr, "Aufruf: kalvero4-tool %s\n", BenchUsage);
        return 1;
    }
    const bool smooth = HasFlag(args, "--smooth");
    THeadlessEngine engine(options);
    PrepareField(engine, sprites, smooth);

    const size_t bytes = static_cast<size_t>(options.Width) * options.Height * 4;
    std::vector<std::uint8_t> copyFrom(bytes, 0x5A), copyTo(bytes, 0);
    std::vector<double> compose, copy;
    TCairoFrameComposer& composer = engine.Composer();
    for (int frame = -WarmUpFrames; frame < frames; ++frame) {
        engine.StepSimulation();
        KeepStimulusVisible(engine);
        auto start = std::chrono::steady_clock::now();
        composer.EnsureBackBuffer(options.Width, options.Height);
        engine.Run().FRenderWidth = composer.BackWidth();
        engine.Run().FRenderHeight = composer.BackHeight();
        composer.DrawFrame(true, composer.BackWidth(), composer.BackHeight());
        const double composeMs = MsSince(start);
        start = std::chrono::steady_clock::now();
        std::memcpy(copyTo.data(), copyFrom.data(), bytes);
        const double copyMs = MsSince(start);
        if (frame < 0)
            continue;
        compose.push_back(composeMs);
        copy.push_back(copyMs);
    }
    volatile std::uint8_t sink = copyTo[bytes / 2]; // the copies must not be left out
    (void)sink;
    double total = 0;
    for (double ms : compose)
        total += ms;
    const double median = Percentile(compose, 0.5), copyMedian = Percentile(copy, 0.5);
    std::printf("%d x %d, %d Reize, fein %s, %d Threads, %d Bilder\n", options.Width,
                options.Height, static_cast<int>(engine.Sprites().ActiveSprites.size()),
                smooth ? "an" : "aus", composer.BandWorkerCount() + 1, frames);
    std::printf("compose median: %.3f ms\n", median);
    std::printf("compose p95: %.3f ms\n", Percentile(compose, 0.95));
    std::printf("frames/s: %.1f\n", frames * 1000.0 / total);
    std::printf("copy median: %.3f ms\n", copyMedian);
    std::printf("ratio: %.2f\n", median / copyMedian);
    // On a machine busy with other work the fastest frames show what the drawing itself costs.
    const double fastest = Percentile(compose, 0.0), fastestCopy = Percentile(copy, 0.0);
    std::printf("compose min: %.3f ms, copy min: %.3f ms, ratio of the minima: %.2f\n", fastest,
                fastestCopy, fastest / fastestCopy);
    return 0;
}

const TCommandRegistration registration("bench", BenchUsage, Bench);

} // namespace

} // namespace kalvero::tool
