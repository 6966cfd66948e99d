#include "engine/alertness_task.h"

#include "engine/frame_loop.h"
#include "engine/frame_source.h"
#include "engine/run_state.h"
#include "engine/settings_controls.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/sound_player.h"

#include <algorithm>
#include <cmath>

namespace kalvero {

namespace {
constexpr double FirstStimulusDelaySec = 1.0;
constexpr double SwitchOnDelaySec = 2.0;
constexpr double SecondsPerFrame = 0.05;
constexpr int PassesShown = 5;
constexpr int MissesPerStepDown = 2;
constexpr int EdgeMargin = 50;
constexpr int FallbackWidth = 150; // times FPx, when the mode has no pictures
constexpr std::int32_t NoReactionTime = -1;
} // namespace

std::int32_t AlertPositionPercent(double x, int width, int renderWidth) {
    if (renderWidth <= 0)
        return 50;
    const double pct = std::nearbyint((width / 2.0 + x) / renderWidth * 100.0);
    return static_cast<std::int32_t>(std::clamp(pct, 0.0, 100.0));
}

int TAlertnessTask::StimulusWidth() const {
    if (!FParts)
        return FallbackWidth;
    const int mode = AlertnessVars.ActiveMode;
    const int width = mode >= 1 && mode <= 3 ? FParts->Frames.AlertnessWidth(mode) : 0;
    if (width > 0)
        return width;
    return static_cast<int>(std::nearbyint(FallbackWidth * FParts->Run.FPx));
}

void TAlertnessTask::ResetAlertness(int alertnessItem) {
    TAlertnessState& a = AlertnessVars;
    a.ActiveMode = alertnessItem;
    a.MaxSteps = 10;
    a.CurrentStep = a.MissCounter = 0;
    a.TotalHits = a.TotalMisses = a.TotalFalseAlarms = 0;
    const int renderWidth = FParts ? FParts->Run.FRenderWidth : 0;
    a.StepWidth = std::max(renderWidth - 400, 100) / (a.MaxSteps - 1);
    a.IsVisible = false;
    a.FrameIndex = a.LoopCount = 0;
    a.FrameTime = 0.0;
    a.Timer = FirstStimulusDelaySec;
    FAlertOnsetPending = false;
    FStim.clear();
}

void TAlertnessTask::UpdateAlertness(double dt, int moveDirection) {
    if (AlertnessVars.ActiveMode <= 0 || !FParts)
        return;
    if (AlertnessVars.IsVisible) {
        AdvanceAnimation(dt);
        return;
    }
    AlertnessVars.Timer -= dt;
    if (AlertnessVars.Timer <= 0.0)
        ShowStimulus(moveDirection);
}

void TAlertnessTask::AdvanceAnimation(double dt) {
    TAlertnessState& a = AlertnessVars;
    a.FrameTime += dt;
    if (a.FrameTime >= SecondsPerFrame) {
        a.FrameTime = 0.0; // the remainder is dropped
        ++a.FrameIndex;
    }
    // A mode without pictures (drawn as a square) still shows for five frame times.
    const int frameCount = std::max(FParts->Frames.AlertnessFrameCount(a.ActiveMode), 1);
    if (a.FrameIndex < frameCount)
        return;
    if (++a.LoopCount < PassesShown)
        a.FrameIndex = 0;
    else
        Missed();
}

void TAlertnessTask::Missed() {
    TAlertnessState& a = AlertnessVars;
    a.IsVisible = false;
    ++a.MissCounter;
    FAlertOnsetPending = false;
    RecordStimulus(soMiss, NoReactionTime);
    ++a.TotalMisses;
    if (a.MissCounter >= MissesPerStepDown) {
        if (a.CurrentStep > 0)
            --a.CurrentStep;
        a.MissCounter = 0;
    }
    DrawWaitingTime();
}

void TAlertnessTask::ShowStimulus(int moveDirection) {
    TAlertnessState& a = AlertnessVars;
    const int w = StimulusWidth();
    const int renderWidth = FParts->Run.FRenderWidth;
    a.IsVisible = true;
    a.FrameIndex = a.LoopCount = 0;
    a.FrameTime = 0.0;
    const int farEdge = renderWidth - w - EdgeMargin;
    if (moveDirection < 0)
        a.X = std::max(farEdge - a.CurrentStep * a.StepWidth, EdgeMargin);
    else
        a.X = std::min(EdgeMargin + a.CurrentStep * a.StepWidth, farEdge);
    a.Y = FParts->Run.FRenderHeight / 2 - w / 2;
    FAlertPosPct = AlertPositionPercent(a.X, w, renderWidth);
    FAlertStep = a.CurrentStep + 1;
    FAlertOnsetPending = true;
}

void TAlertnessTask::DrawWaitingTime() {
    AlertnessVars.SpawnInterval = FParts->Random.Next(3) + 2; // 2, 3 or 4 seconds
    AlertnessVars.Timer = AlertnessVars.SpawnInterval;
}

void TAlertnessTask::SpaceBar() {
    if (AlertnessVars.ActiveMode <= 0)
        return;
    if (AlertnessVars.IsVisible)
        AlertReaction();
    else
        FalseAlarm();
}

void TAlertnessTask::AlertReaction() {
    if (!FParts)
        return;
    TAlertnessState& a = AlertnessVars;
    a.IsVisible = false;
    const std::int64_t reactionMs =
        FAlertOnsetPending ? NoReactionTime : FParts->Stopwatch.NowMs() - FAlertOnsetTick;
    FAlertOnsetPending = false;
    RecordStimulus(soHit, static_cast<std::int32_t>(reactionMs));
    ++a.TotalHits;
    PlaySoundEffect(QStringLiteral("welldone.mp3"));
    a.MissCounter = 0;
    if (a.CurrentStep < a.MaxSteps - 1)
        ++a.CurrentStep;
    DrawWaitingTime();
}

void TAlertnessTask::FalseAlarm() {
    if (!FParts)
        return;
    ++AlertnessVars.TotalFalseAlarms;
    RecordStimulus(soFalseAlarm, NoReactionTime);
    PlaySoundEffect(QStringLiteral("error.mp3"));
}

void TAlertnessTask::RecordStimulus(TStimOutcome outcome, std::int32_t reactionMs) {
    if (!FParts || !FParts->Run.IsRunning)
        return;
    TStimulusRec rec;
    rec.Nr = static_cast<std::int32_t>(FStim.size()) + 1;
    rec.TimeSec = FParts->RunTime.ActiveElapsedMs() / 1000.0;
    rec.Outcome = outcome;
    rec.RtMs = reactionMs;
    const bool falseAlarm = outcome == soFalseAlarm;
    rec.Step = falseAlarm ? 0 : FAlertStep;
    rec.PosPct = falseAlarm ? -1 : FAlertPosPct;
    FStim.push_back(rec);
}

void TAlertnessTask::ToggleAlertness(TRadioGroupControl& alertnessItem) {
    const bool switchOn = alertnessItem.ItemIndex() <= 0;
    alertnessItem.SetItemIndex(switchOn ? 1 : 0);
    AlertnessVars.ActiveMode = switchOn ? 1 : 0;
    if (switchOn) {
        AlertnessVars.IsVisible = false;
        AlertnessVars.Timer = SwitchOnDelaySec;
        FAlertOnsetPending = false;
    }
}

void TAlertnessTask::TakeOnset(std::int64_t nowMs) {
    if (!FAlertOnsetPending)
        return;
    FAlertOnsetTick = nowMs;
    FAlertOnsetPending = false;
}

void TAlertnessTask::ShiftOnset(std::int64_t pauseMs) {
    if (AlertnessVars.IsVisible && !FAlertOnsetPending)
        FAlertOnsetTick += pauseMs;
}

void TAlertnessTask::PlaySoundEffect(const QString& fileName) {
    if (FParts)
        FParts->Sound.PlaySoundEffect(fileName);
}

} // namespace kalvero
