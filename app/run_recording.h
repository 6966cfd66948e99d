#pragma once

#include "app/run_control.h"
#include "protocol/records.h"
#include "protocol/store.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace kalvero {

class TSettingsControls;
class TAlertnessTask;
struct TRunState;

// What the run recording reads of the run control besides the active time: what is run since
// when, the pauses taken and for whom.
class TRecordedRun {
public:
    virtual ~TRecordedRun() = default;
    virtual QDateTime RunStart() const = 0;      // local date and time of the start
    virtual QString RunKind() const = 0;         // "Trainingsplan", "Sequenz", "Profil", ...
    virtual QString RunName() const = 0;         // plan, sequence or profile name, or empty
    virtual std::int32_t PauseCount() const = 0; // pauses begun in this run
    // The current user; a blank name stores nothing.
    virtual QString CurrentUser() const = 0;
};

struct TRunRecorderParts {
    TSettingsControls& Controls; // only read
    // Text of an entry of the background list.
    std::function<QString(int)> BackgroundText;
    TRunState& Run;                  // FRunCaptured is set here, FStopReason read
    const TRunHooks& RunTime;        // only ActiveElapsedMs is read
    const TAlertnessTask& Alertness; // the step reached and the run's events (FStim)
    const TRecordedRun& Source;
};

// The protocol record of a run: the settings of its first frame, completed at the end with its
// net minutes, pauses, end reason and alertness summary, and appended with the alertness events
// to the user's protocol files when it lasted at least MinStoredMs of active time.
class TRunRecorder final : public TRunRecordHooks {
public:
    static constexpr std::int64_t MinStoredMs = 5000;

    // Without a store the data folder's protocol folder is used, looked up when a run is
    // stored.
    explicit TRunRecorder(TRunRecorderParts parts);
    TRunRecorder(TRunRecorderParts parts, TProtocolStore store);

    // Run start: the record cleared, FRunCaptured and FRunChanged false.
    void ResetRunRecord() override;
    // The settings as the controls show them now; sets FRunCaptured and begins a new record.
    void CaptureRunSettings() override;
    // A settings key was used during the run.
    void MarkChanged() { FRunChanged = true; }

    // Completes the record and stores it (at least MinStoredMs of active time and a user
    // set). A run is stored once: later calls return the same record and store nothing.
    TSessionRec FinishRunRecord() override;

    TSessionRec FRun;
    bool FRunChanged = false;

private:
    TSessionRec CompletedRecord(std::int64_t activeMs) const;
    void Store(const QString& user, const TSessionRec& record) const;

    TRunRecorderParts FParts;
    std::optional<TProtocolStore> FStore;
    std::optional<TSessionRec> FFinished;
};

// The run as the run control keeps it, for the window's current user.
class TRunControlRecordSource final : public TRecordedRun {
public:
    TRunControlRecordSource(const TRunControl& control, const TRunWindow& window)
        : FControl(control), FWindow(window) {}
    QDateTime RunStart() const override { return FControl.FRunStart; }
    QString RunKind() const override { return FControl.FRunKind; }
    QString RunName() const override { return FControl.FRunName; }
    std::int32_t PauseCount() const override { return FControl.FPauseCount; }
    QString CurrentUser() const override { return FWindow.CurrentUser(); }

private:
    const TRunControl& FControl;
    const TRunWindow& FWindow;
};

// The protocol name of an alertness item; "aus" for an item outside the table.
QString AlertnessProtocolName(int item);

} // namespace kalvero
