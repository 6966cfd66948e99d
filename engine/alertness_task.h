#pragma once

#include "protocol/records.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace kalvero {

class TClock;
class TRandomSource;
class TFrameSource;
class TRunHooks;
class TSoundSink;
class TRadioGroupControl;
struct TRunState;

// State of the alertness task.
struct TAlertnessState {
    std::int32_t ActiveMode = 0; // 0 off, 1 "Stern", 2 "Drache", 3 "Smiley"
    bool IsVisible = false;      // a stimulus is being shown
    double Timer = 0.0;          // seconds left until the next stimulus while none is shown
    double SpawnInterval = 0.0;  // the waiting time drawn last, seconds
    double X = 0.0, Y = 0.0;     // top-left corner of the stimulus, pixels
    std::int32_t FrameIndex = 0;
    double FrameTime = 0.0;       // seconds since the last frame change
    std::int32_t LoopCount = 0;   // completed passes through the animation
    std::int32_t CurrentStep = 0; // 0 .. MaxSteps - 1; users see CurrentStep + 1
    std::int32_t MissCounter = 0; // misses since the last hit or the last step-down
    std::int32_t MaxSteps = 10;
    std::int32_t StepWidth = 0; // horizontal distance between two steps, pixels
    std::int32_t TotalHits = 0;
    std::int32_t TotalMisses = 0;
    std::int32_t TotalFalseAlarms = 0;
};

// What the alertness task reads and uses: the run's stopwatch (reaction times), the process-wide
// random source (waiting times), the pictures (frame counts, widths), the run state (render size,
// pixel scale, whether a run is active), the run control (active run time, for the records) and
// the sound output.
struct TAlertnessParts {
    const TClock& Stopwatch;
    TRandomSource& Random;
    const TFrameSource& Frames;
    const TRunState& Run;
    const TRunHooks& RunTime; // only ActiveElapsedMs is read
    TSoundSink& Sound;
};

// The alertness task: an occasional extra stimulus that the trainee answers with the space bar.
// Hits move it step by step along the direction of motion, two misses in a row move it back.
// Every hit, miss and false alarm is appended to FStim for the protocol.
//
// A task made with the default constructor is not connected: it keeps its state but shows no
// stimulus, records nothing and plays no sound until Connect is called.
class TAlertnessTask {
public:
    TAlertnessTask() = default;
    explicit TAlertnessTask(const TAlertnessParts& parts) { Connect(parts); }
    void Connect(const TAlertnessParts& parts) { FParts.emplace(parts); }

    // Run start: mode from the alertness item, steps and counts to 0, the step width from the
    // render width, the first stimulus after 1 second. Also empties FStim.
    void ResetAlertness(int alertnessItem);

    // Last step of the simulation step: animates a visible stimulus (a miss after its fifth
    // pass) or counts the waiting time down and shows the next one. moveDirection is -1 when
    // the sprites move leftwards, +1 when they move rightwards.
    void UpdateAlertness(double dt, int moveDirection);

    // The space bar during an unpaused run: a reaction when a stimulus is visible, otherwise a
    // false alarm; nothing while the task is off.
    void SpaceBar();
    // Reaction to the visible stimulus: a hit with the time since its onset (-1 when it was
    // not drawn yet), "welldone.mp3", one step further, the next one after 2 .. 4 seconds.
    void AlertReaction();
    // A press with nothing visible: counted and recorded, "error.mp3"; steps and timer stay.
    void FalseAlarm();

    // Appends one record (only while a run is active). Hits and misses carry the shown
    // stimulus' step and position, false alarms step 0 and position -1.
    void RecordStimulus(TStimOutcome outcome, std::int32_t reactionMs);

    // Key A: item 0 (or none) becomes 1 ("Stern"), any other item becomes 0; the mode follows.
    // Switched on, the stimulus is hidden and the next one comes after 2 seconds.
    // Steps and counts are kept.
    void ToggleAlertness(TRadioGroupControl& alertnessItem);

    // The composition draws the stimulus while this holds.
    bool IsShown() const { return AlertnessVars.ActiveMode > 0 && AlertnessVars.IsVisible; }
    // The composition calls this whenever it draws the stimulus, with the stopwatch's
    // milliseconds; the first call after a stimulus appeared takes its onset.
    void TakeOnset(std::int64_t nowMs);
    // End of a pause of pauseMs: a visible stimulus whose onset was taken gets its onset moved
    // later by the pause, so that its reaction time leaves the pause out.
    void ShiftOnset(std::int64_t pauseMs);

    // Plays a file of the "Sound/" folder; silent when not connected.
    void PlaySoundEffect(const QString& fileName);

    // Width of the stimulus of the current mode in pixels.
    int StimulusWidth() const;

    TAlertnessState AlertnessVars;
    std::int64_t FAlertOnsetTick = 0; // stopwatch milliseconds of the shown stimulus' first frame
    bool FAlertOnsetPending = false;  // shown but not yet drawn
    std::int32_t FAlertStep = 0;      // CurrentStep + 1 of the shown stimulus
    std::int32_t FAlertPosPct = 0;    // its centre in percent of the render width
    TStimulusArray FStim;             // the run's alertness events

private:
    void AdvanceAnimation(double dt);
    void Missed();
    void ShowStimulus(int moveDirection);
    void DrawWaitingTime();

    std::optional<TAlertnessParts> FParts;
};

// Centre of a stimulus at x with width w in percent of the render width, halves to even,
// clamped to 0 .. 100; 50 when the render width is not positive.
std::int32_t AlertPositionPercent(double x, int width, int renderWidth);

} // namespace kalvero
