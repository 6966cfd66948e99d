#pragma once

#include "app/user_hooks.h"
#include "engine/frame_loop.h"
#include "protocol/records.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace kalvero {

class TClock;
class TRandomSource;
class TSettingsControls;
class TTrainingSettings;
class TSpriteField;
class TImageCatalogue;
class TAlertnessTask;
class TFollower;
class TCursorIdle;
class TSequencePlayer;
class TProfileRun;
struct TRunState;

// The run recording as run control drives it. Without one the run control keeps a record of
// its own that is completed but never stored.
class TRunRecordHooks {
public:
    virtual ~TRunRecordHooks() = default;
    // Run start: the record cleared, FRunCaptured and the changed flag false.
    virtual void ResetRunRecord() = 0;
    // The settings of the first frame; sets FRunCaptured.
    virtual void CaptureRunSettings() = 0;
    // Completes the record, stores it when it is long enough, and returns it.
    virtual TSessionRec FinishRunRecord() = 0;
};

// What run control asks of the main window.
class TRunWindow {
public:
    virtual ~TRunWindow() = default;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Pixels per inch of the window's monitor.
    virtual double PixelsPerInch() const = 0;
    // The current user; empty when none is set.
    virtual QString CurrentUser() const = 0;
    // Minutes of the pause-reminder track bar (0 = no reminders).
    virtual int PauseMinutes() const = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // The overlay fonts of the composition for a pixel scale.
    virtual void MakeOverlayFonts(float px) = 0;
    // Hides the settings panel and the paint box, captions the button "Stop" and takes the
    // keyboard focus: the whole window is the display.
    virtual void ShowDisplay() = 0;
    // Shows the paint box and the centred settings panel, captions the button "Start",
    // refreshes the previews, redraws and handles pending window messages.
    virtual void ShowSettingsScreen() = 0;
    // Runs the frame loop from the next idle moment on (it stops itself when paused or ended).
    virtual void StartFrameLoop() = 0;
    // Redraws the window now (after a modal window closed over it).
    virtual void RepaintWindow() = 0;
    // Owner of message boxes and the search task window.
    virtual QWidget* DialogParent() = 0;
};

struct TRunControlParts {
    const TClock& Stopwatch; // one monotonic clock for every run time
    TRandomSource& Random;   // the search task's target letter
    TRunState& Run;
    TSettingsControls& Controls;
    TTrainingSettings& Settings;
    TSpriteField& Sprites;
    TImageCatalogue& Catalogue;
    TAlertnessTask& Alertness;
    TFollower& Follower;
    TCursorIdle& Cursor;
    TFrameLoop& FrameLoop;
    TRunWindow& Window;
};

// The search task window as run control opens it; true when completed with the result.
using TSearchTestRunner =
    std::function<bool(QWidget* owner, bool pre, int target, TSearchTestRec& result)>;

// Starts and ends runs: what kind of run it is, preparing the display engine, active time,
// pauses, the time limit and reminders (checked by the frame loop through TRunHooks), the
// record, the alertness result and the search task before and after training.
class TRunControl final : public TRunHooks {
public:
    explicit TRunControl(TRunControlParts parts);
    ~TRunControl() override;
    TRunControl(const TRunControl&) = delete;
    TRunControl& operator=(const TRunControl&) = delete;

    // Connections to the features around the run control; null restores the defaults.
    void SetUserHooks(TUserHooks* hooks);
    void SetRecordHooks(TRunRecordHooks* hooks) { FRecord = hooks; }
    void SetSequencePlayer(TSequencePlayer* player) { FSequence = player; }
    void SetProfileRun(const TProfileRun* profile) { FProfile = profile; }
    void SetSearchTestRunner(TSearchTestRunner runner) { FSearchTest = std::move(runner); }

    // The start/stop button: starts a run when none is active, otherwise stops it ("Stopp").
    void btnStartStopClick();
    void StartRun();
    // Ends the active run with the reason; nothing when no run is active.
    void StopRun(const QString& reason);

    // The program closes during a run: a pause ends, the run is recorded with "Programmende"
    // and is no longer active. Nothing is shown.
    void FinishAtProgramEnd();

    // TRunHooks: the frame loop's calls. StopRun uses the FStopReason already set.
    void CaptureRunSettings() override;
    std::int64_t ActiveElapsedMs() const override;
    void StopRun() override;
    void BeginPause(bool reminder) override;
    void EndPause();

    bool SequencePlaying() const;
    // The alertness result text for a completed record, empty when none is to be shown.
    QString AlertnessResultText(const TSessionRec& record) const;

    QDateTime FRunStart;
    std::int64_t FSessionStartTick = 0;
    std::int64_t FPauseStartTick = 0;
    std::int64_t FPauseAccumMs = 0;
    std::int32_t FPauseCount = 0;
    QString FRunKind;
    QString FRunName;
    bool FPlanRun = false;
    bool FSearchPreDone = false;
    TSearchTestRec FSearchPre;
    int FSearchTarget = 0;

private:
    void RunPreSearchTest();
    void DecideRunKind();
    void TakeWorkingCopies();
    void PrepareFrames();
    void ResetRunBookkeeping();
    std::int64_t RunTimeLimitMs(const TPlanRunStart& plan) const;
    void ResumeAfterPause();
    TSessionRec CompletedRecord();
    void ShowAlertnessResult(const TSessionRec& record);
    void RunPostSearchTest(const TSessionRec& record);

    TRunControlParts FParts;
    TUserHooks FNoUser;
    TUserHooks* FUser = &FNoUser;
    TRunRecordHooks* FRecord = nullptr;
    TSequencePlayer* FSequence = nullptr;
    const TProfileRun* FProfile = nullptr;
    TSearchTestRunner FSearchTest;
    TPlanRunStart FPlan;
};

// The target letter index of a search task: uniform over 0 .. 25 without 8.
int DrawSearchTarget(TRandomSource& random);

} // namespace kalvero
