#include "app/run_control.h"

#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/image_catalogue.h"
#include "engine/profile_run.h"
#include "engine/run_state.h"
#include "engine/sequence_player.h"
#include "engine/settings_controls.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/ui/dialogs.h"
#include "protocol/search_compare.h"
#include "protocol/store.h"
#include "searchtest/search_test_window.h"

#include <algorithm>

namespace kalvero {

namespace {
const QString MessageTitle = QStringLiteral("Kalvero 4");
constexpr std::int64_t MsPerMinute = 60000;
constexpr std::int64_t PostTestMinMs = 300000; // a post-training test after 5 minutes
constexpr int SearchLetters = 26;
constexpr int SkippedLetter = 8;

QString ReactionTimeText(std::int32_t ms) {
    return ms < 0 ? QStringLiteral("-") : QString::number(ms) + QStringLiteral(" ms");
}

bool RunSearchTestWindow(QWidget* owner, bool pre, int target, TSearchTestRec& result) {
    return TFormSearchTest::Execute(owner, pre, target, result);
}
} // namespace

int DrawSearchTarget(TRandomSource& random) {
    const int index = random.Next(SearchLetters - 1);
    return index >= SkippedLetter ? index + 1 : index;
}

TRunControl::TRunControl(TRunControlParts parts)
    : FParts(parts), FSearchTest(&RunSearchTestWindow) {}

TRunControl::~TRunControl() = default;

void TRunControl::SetUserHooks(TUserHooks* hooks) {
    FUser = hooks ? hooks : &FNoUser;
}

bool TRunControl::SequencePlaying() const {
    return FSequence && FSequence->FPlaylistActive;
}

void TRunControl::btnStartStopClick() {
    if (!FParts.Run.IsRunning)
        StartRun();
    else
        StopRun(QStringLiteral("Stopp"));
}

void TRunControl::StartRun() {
    if (FParts.Run.IsRunning)
        return;
    FUser->ShowSafetyNotice();
    RunPreSearchTest();
    DecideRunKind();
    if (!FPlanRun)
        FUser->SaveUserSettings();
    TakeWorkingCopies();
    PrepareFrames();

    FParts.Sprites.ResetBackOffset();
    FParts.Sprites.RebuildSprites();
    FParts.Alertness.ResetAlertness(FParts.Controls.RadioGroupAlertness().ItemIndex());

    FParts.FrameLoop.ResetLastTicks();
    FSessionStartTick = FParts.Stopwatch.NowMs();
    FParts.Follower.ResetForRun();
    FParts.Cursor.ResetForRun();

    FParts.Run.IsRunning = true;
    FParts.Window.ShowDisplay();
    FParts.FrameLoop.BeginRunTiming();

    FParts.Run.FTimeLimitMs = RunTimeLimitMs(FPlan);
    ResetRunBookkeeping();
    FParts.Window.StartFrameLoop();
}

void TRunControl::RunPreSearchTest() {
    FSearchPreDone = false;
    if (!FUser->SearchTaskEnabled())
        return;
    FSearchTarget = DrawSearchTarget(FParts.Random);
    FSearchPre = TSearchTestRec();
    if (FSearchTest(FParts.Window.DialogParent(), true, FSearchTarget, FSearchPre)) {
        AppendSearchTest(FParts.Window.CurrentUser(), FSearchPre);
        FSearchPreDone = true;
    }
    FParts.Window.RepaintWindow();
}

void TRunControl::DecideRunKind() {
    FPlan = TPlanRunStart();
    FPlanRun = FUser->PlanActive() && !SequencePlaying();
    if (FPlanRun) {
        FPlan = FUser->StartPlanRun();
        FRunKind = QStringLiteral("Trainingsplan");
        FRunName = FPlan.Name;
    } else if (SequencePlaying()) {
        FRunKind = QStringLiteral("Sequenz");
        FRunName = FSequence->FSequenceName;
    } else if (FProfile) {
        const TRunKindName kind = FProfile->KindOf(FParts.Settings.SettingsSnapshot());
        FRunKind = kind.Kind;
        FRunName = kind.Name;
    } else {
        FRunKind = QStringLiteral("Einstellungen");
        FRunName.clear();
    }
}

void TRunControl::TakeWorkingCopies() {
    TSettingsControls& controls = FParts.Controls;
    TSpriteField& sprites = FParts.Sprites;
    sprites.CurrentBackgroundIndex = std::max(controls.ComboBackground().ItemIndex(), 0);
    sprites.CurrentSpriteType = controls.ComboSprite().ItemIndex();
    sprites.MoveDirection = controls.RadioGroupDirection().ItemIndex() == 0 ? -1 : 1;
    sprites.BaseSpeedFactor = controls.TrackBarSpeed().Position();

    TRunState& run = FParts.Run;
    run.FRenderWidth = FParts.Window.ClientWidth();
    run.FRenderHeight = FParts.Window.ClientHeight();
    const double ppi = FParts.Window.PixelsPerInch();
    run.FPx = ppi > 0 ? static_cast<float>(ppi / 96.0) : 1.0f;
    FParts.Window.MakeOverlayFonts(run.FPx);
}

void TRunControl::PrepareFrames() {
    FParts.Window.SetBusyCursor(true);
    const TFrameRequest request = FParts.Sprites.FrameRequest();
    FParts.Catalogue.PrepareSpriteFrames(request);
    FParts.Catalogue.PrepareBackgroundStrip(request);
    if (SequencePlaying())
        FParts.Catalogue.PrewarmSequenceFrames(FSequence->PrewarmEntries(), request.Px);
    FParts.Window.SetBusyCursor(false);
}

std::int64_t TRunControl::RunTimeLimitMs(const TPlanRunStart& plan) const {
    if (FPlanRun)
        return plan.Minutes > 0 ? plan.Minutes * MsPerMinute : 0;
    if (SequencePlaying())
        return 0;
    return std::int64_t{FParts.Controls.TrackBarDarbietungszeit().Position()} * MsPerMinute;
}

void TRunControl::ResetRunBookkeeping() {
    TRunState& run = FParts.Run;
    FRunStart = QDateTime::currentDateTime();
    if (FRecord)
        FRecord->ResetRunRecord();
    run.FRunCaptured = false;
    run.FStopReason.clear();
    FParts.Alertness.FStim.clear();
    run.FPaused = false;
    run.FPauseIsReminder = false;
    FPauseAccumMs = 0;
    FPauseCount = 0;
    run.FPauseEveryMs = std::int64_t{std::max(FParts.Window.PauseMinutes(), 0)} * MsPerMinute;
    run.FNextPauseMs = run.FPauseEveryMs;
}

std::int64_t TRunControl::ActiveElapsedMs() const {
    const std::int64_t now = FParts.Stopwatch.NowMs();
    std::int64_t active = now - FSessionStartTick - FPauseAccumMs;
    if (FParts.Run.FPaused)
        active -= now - FPauseStartTick;
    return std::max<std::int64_t>(active, 0);
}

void TRunControl::CaptureRunSettings() {
    if (FRecord)
        FRecord->CaptureRunSettings();
    FParts.Run.FRunCaptured = true;
}

void TRunControl::BeginPause(bool reminder) {
    TRunState& run = FParts.Run;
    if (run.FPaused || !run.IsRunning)
        return;
    run.FPaused = true;
    run.FPauseIsReminder = reminder;
    FPauseStartTick = FParts.Stopwatch.NowMs();
    ++FPauseCount;
    FParts.FrameLoop.RenderAndPresent();
}

void TRunControl::EndPause() {
    if (!FParts.Run.FPaused)
        return;
    ResumeAfterPause();
    if (FParts.Run.IsRunning)
        FParts.Window.StartFrameLoop();
}

void TRunControl::ResumeAfterPause() {
    const std::int64_t pauseMs = FParts.Stopwatch.NowMs() - FPauseStartTick;
    FPauseAccumMs += pauseMs;
    FParts.Alertness.ShiftOnset(pauseMs);
    FParts.Run.FPaused = false;
    FParts.FrameLoop.ResetLastTicks();
}

void TRunControl::StopRun(const QString& reason) {
    if (!FParts.Run.IsRunning)
        return;
    FParts.Run.FStopReason = reason;
    StopRun();
}

void TRunControl::StopRun() {
    TRunState& run = FParts.Run;
    if (!run.IsRunning)
        return;
    if (run.FPaused)
        ResumeAfterPause();
    const TSessionRec record = CompletedRecord();

    run.FStopReason.clear();
    FPlanRun = false;
    run.IsRunning = false;
    if (FSequence)
        FSequence->StopPlaying();
    FParts.Cursor.ShowAgain();

    FParts.FrameLoop.EndRunTiming();
    FParts.Window.ShowSettingsScreen();

    ShowAlertnessResult(record);
    if (FSearchPreDone && record.Minutes * MsPerMinute >= PostTestMinMs)
        RunPostSearchTest(record);
    FSearchPreDone = false;
}

void TRunControl::FinishAtProgramEnd() {
    TRunState& run = FParts.Run;
    if (!run.IsRunning)
        return;
    if (run.FPaused)
        ResumeAfterPause();
    run.FStopReason = QStringLiteral("Programmende");
    CompletedRecord();
    run.IsRunning = false;
}

TSessionRec TRunControl::CompletedRecord() {
    if (FRecord)
        return FRecord->FinishRunRecord();
    // Without the run recording: the record's run-control part, never stored.
    TSessionRec record;
    record.Start = FRunStart;
    record.ProgramKind = FRunKind;
    record.ProgramName = FRunName;
    record.Minutes = static_cast<double>(ActiveElapsedMs()) / MsPerMinute;
    record.EndStep = FParts.Alertness.AlertnessVars.CurrentStep + 1;
    record.Pauses = FPauseCount;
    record.EndReason =
        FParts.Run.FStopReason.isEmpty() ? QStringLiteral("beendet") : FParts.Run.FStopReason;
    SummarizeStimuli(record, FParts.Alertness.FStim);
    return record;
}

QString TRunControl::AlertnessResultText(const TSessionRec& record) const {
    const TAlertnessState& a = FParts.Alertness.AlertnessVars;
    if (a.ActiveMode <= 0 && record.Shown < 1)
        return {};
    QString text = QStringLiteral("Ergebnis Alertness:\r\n\r\nErreichte Stufe: %1 / %2\r\n"
                                  "---------------------\r\nReaktionen: %3\r\nAusgelassen: %4\r\n"
                                  "Fehlreaktionen: %5")
                       .arg(a.CurrentStep + 1)
                       .arg(a.MaxSteps)
                       .arg(record.Hits)
                       .arg(record.Misses)
                       .arg(record.FalseAlarms);
    if (record.Shown >= 1) {
        text += QStringLiteral("\r\n---------------------\r\n");
        text += QStringLiteral("Links:  %1 von %2 beantwortet, Reaktionszeit %3")
                    .arg(record.HitsLeft)
                    .arg(record.ShownLeft)
                    .arg(ReactionTimeText(record.RtLeft));
        text += QStringLiteral("\r\n");
        text += QStringLiteral("Rechts: %1 von %2 beantwortet, Reaktionszeit %3")
                    .arg(record.HitsRight)
                    .arg(record.ShownRight)
                    .arg(ReactionTimeText(record.RtRight));
        text += QStringLiteral("\r\n(Reaktionszeit = Median)");
    }
    return text;
}

void TRunControl::ShowAlertnessResult(const TSessionRec& record) {
    const QString text = AlertnessResultText(record);
    if (!text.isEmpty())
        ShowMessage(FParts.Window.DialogParent(), TMsgKind::Information, MessageTitle, text);
}

void TRunControl::RunPostSearchTest(const TSessionRec& record) {
    TSearchTestRec post;
    if (!FSearchTest(FParts.Window.DialogParent(), false, FSearchTarget, post))
        return;
    post.Pair = FSearchPre.Start;
    post.TrainingMin = record.Minutes;
    AppendSearchTest(FParts.Window.CurrentUser(), post);
    FParts.Window.RepaintWindow();
    ShowMessage(FParts.Window.DialogParent(), TMsgKind::Information, MessageTitle,
                SearchComparisonText(FSearchPre, post));
}

} // namespace kalvero
