#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace kalvero {
class TCairoFrameComposer;
class TFrameLoop;
class TSpriteField;
class TAlertnessTask;
class TSettingsControls;
struct TRunState;
} // namespace kalvero

namespace kalvero::tool {

struct THeadlessOptions {
    int Width = 1920;
    int Height = 1080;
    double Fps = 60.0;
    std::uint64_t Seed = 1;
    int Processors = 0; // logical processors to plan bands for; 0: this machine's
};

// The display engine without a window: the picture catalogue (from "Grafik/" beside the
// executable), in-memory settings controls, the sprite field, follower and alertness task, the
// frame loop and the composer, driven by a simulated clock that advances by 1/F per frame and a
// seeded random source. Same options, same frames.
class THeadlessEngine {
public:
    explicit THeadlessEngine(const THeadlessOptions& options);
    ~THeadlessEngine();

    // Applies a profile file; false with a message for a missing or unreadable one.
    bool LoadSettingsFile(const QString& path, QString& error);
    // Run start as the main window does it: working copies of the settings, prepared pictures,
    // a fresh sprite field and alertness task, clocks set. No time limit, no pause reminders.
    void StartRun();
    // Moves the clock on by one frame and runs one pass of the frame loop (which composes).
    void RunFrame();
    // Moves the clock on by one frame and runs only the simulation step.
    void StepSimulation();
    // Stopwatch milliseconds now.
    std::int64_t NowMs() const;
    // The back buffer as PNG (empty when there is none).
    QByteArray BackBufferPng() const;

    TSettingsControls& Controls();
    TRunState& Run();
    TSpriteField& Sprites();
    TAlertnessTask& Alertness();
    TFrameLoop& Loop();
    TCairoFrameComposer& Composer();
    const THeadlessOptions& Options() const { return FOptions; }

private:
    struct TParts;
    void AdvanceClock();

    THeadlessOptions FOptions;
    std::unique_ptr<TParts> F;
    std::int64_t FFrame = 0;
};

// "WxH" into width and height; false when it is not two positive numbers.
bool ParseSize(const std::string& text, int& width, int& height);

} // namespace kalvero::tool
