#include "app/run_recording.h"

#include "engine/alertness_task.h"
#include "engine/frame_loop.h"
#include "engine/run_state.h"
#include "engine/settings_controls.h"
#include "engine/training_settings.h"

#include <utility>

namespace kalvero {

namespace {

const QString AlertnessOff = QStringLiteral("aus");

QString SpriteNameAt(int index) {
    const QStringList& names = SpriteNames();
    return index >= 0 && index < names.size() ? names[index] : QString();
}

} // namespace

QString AlertnessProtocolName(int item) {
    return item >= 0 && item < AlertnessNames.size() ? AlertnessNames[item] : AlertnessOff;
}

TRunRecorder::TRunRecorder(TRunRecorderParts parts) : FParts(std::move(parts)) {}

TRunRecorder::TRunRecorder(TRunRecorderParts parts, TProtocolStore store)
    : FParts(std::move(parts)), FStore(std::move(store)) {}

void TRunRecorder::ResetRunRecord() {
    FRun = TSessionRec();
    FParts.Run.FRunCaptured = false;
    FRunChanged = false;
    FFinished.reset();
}

void TRunRecorder::CaptureRunSettings() {
    TSettingsControls& controls = FParts.Controls;
    const int background = controls.ComboBackground().ItemIndex();

    FRun = TSessionRec();
    FRun.Start = FParts.Source.RunStart();
    FRun.ProgramKind = FParts.Source.RunKind();
    FRun.ProgramName = FParts.Source.RunName();
    FRun.Background =
        background >= 0 && FParts.BackgroundText ? FParts.BackgroundText(background) : QString();
    FRun.Stimulus = SpriteNameAt(controls.ComboSprite().ItemIndex());
    FRun.Count = controls.TrackBarNumberOfSprites().Position();
    FRun.Speed = controls.TrackBarSpeed().Position();
    FRun.Direction = controls.RadioGroupDirection().ItemIndex() == 0
                         ? QStringLiteral("nach links")
                         : QStringLiteral("nach rechts");
    FRun.SpeedMode = controls.RadioGroupSameSpeed().ItemIndex() == 1
                         ? QStringLiteral("unterschiedlich")
                         : QStringLiteral("gleich");
    FRun.Follower = controls.checkboxVerfolger().Checked();
    FRun.Alertness = AlertnessProtocolName(controls.RadioGroupAlertness().ItemIndex());
    FParts.Run.FRunCaptured = true;
    FFinished.reset();
}

TSessionRec TRunRecorder::FinishRunRecord() {
    if (!FParts.Run.FRunCaptured)
        CaptureRunSettings();
    if (FFinished)
        return *FFinished;
    const std::int64_t activeMs = FParts.RunTime.ActiveElapsedMs();
    TSessionRec record = CompletedRecord(activeMs);
    const QString user = FParts.Source.CurrentUser();
    if (!user.trimmed().isEmpty() && activeMs >= MinStoredMs)
        Store(user, record);
    FFinished = record;
    return record;
}

TSessionRec TRunRecorder::CompletedRecord(std::int64_t activeMs) const {
    const TAlertnessTask& alertness = FParts.Alertness;
    TSessionRec record = FRun;
    record.Minutes = static_cast<double>(activeMs) / 60000.0;
    record.EndStep = alertness.AlertnessVars.CurrentStep + 1;
    record.Pauses = FParts.Source.PauseCount();
    record.EndReason =
        FParts.Run.FStopReason.isEmpty() ? QStringLiteral("beendet") : FParts.Run.FStopReason;
    record.Changed = FRunChanged;
    SummarizeStimuli(record, alertness.FStim);
    // Events although the first frame had the task off: it was switched on during the run.
    if (!alertness.FStim.empty() &&
        record.Alertness.compare(AlertnessOff, Qt::CaseInsensitive) == 0)
        record.Alertness = QStringLiteral("wechselnd");
    return record;
}

void TRunRecorder::Store(const QString& user, const TSessionRec& record) const {
    const TStimulusArray& stimuli = FParts.Alertness.FStim;
    if (FStore)
        FStore->AppendSession(user, record, stimuli);
    else
        AppendSession(user, record, stimuli);
}

} // namespace kalvero
