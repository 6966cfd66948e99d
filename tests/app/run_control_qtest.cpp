#include "app/main_window.h"
#include "app/run_control.h"
#include "app/settings_widgets.h"
#include "app/user_hooks.h"
#include "common/dialog_answers.h"
#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/frame_loop.h"
#include "engine/profile_run.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "engine/sequence_player.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "installation_fixture.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/sound_player.h"
#include "protocol/store.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::AnswerWelcome;
using kalvero::test::TDialogAnswers;

namespace {
constexpr std::int64_t Minute = 60000;

// Takes the place of the run recording: keeps what the run looked like when it was finished.
class TRecordedRuns final : public TRunRecordHooks {
public:
    explicit TRecordedRuns(const TRunControl& control, const TRunState& run)
        : FControl(control), FRun(run) {}
    void ResetRunRecord() override { ++Resets; }
    void CaptureRunSettings() override { ++Captures; }
    TSessionRec FinishRunRecord() override {
        TSessionRec record;
        record.Minutes = static_cast<double>(FControl.ActiveElapsedMs()) / Minute;
        record.Pauses = FControl.FPauseCount;
        record.EndReason = FRun.FStopReason;
        record.ProgramKind = FControl.FRunKind;
        Finished.push_back(record);
        return record;
    }

    int Resets = 0;
    int Captures = 0;
    std::vector<TSessionRec> Finished;

private:
    const TRunControl& FControl;
    const TRunState& FRun;
};

// A plan in use, or not, with what run control asked of it.
class TPlanHooks final : public TUserHooks {
public:
    bool PlanActive() const override { return Active; }
    TPlanRunStart StartPlanRun() override {
        ++Started;
        return {QStringLiteral("Aufbauplan"), Minutes};
    }
    void SaveUserSettings() override { ++Saved; }

    bool Active = false;
    int Minutes = 0;
    int Started = 0;
    int Saved = 0;
};

class TSearchOn final : public TUserHooks {
public:
    bool SearchTaskEnabled() const override { return true; }
};

// A main window on a fresh data folder with a clock that moves only when told, no frame pacing
// and no sound; runs are driven pass by pass.
struct TRunFixture : kalvero::test::TInstallation {
    TRunFixture() : TInstallation(TOperatingMode::Therapist, {}) {
        OpenWindowOnly();
        Records = std::make_unique<TRecordedRuns>(Form->RunControl(), Form->RunState());
        Form->RunControl().SetRecordHooks(Records.get());
    }
    ~TRunFixture() {
        Form->RunControl().SetRecordHooks(nullptr);
        Form.reset();
    }

    TRunControl& Control() { return Form->RunControl(); }
    TRunState& Run() { return Form->RunState(); }
    void Start(int showMinutes, int pauseMinutes) {
        Form->TrackBarDarbietungszeit->SetPosition(showMinutes);
        Form->TrackBarPause->SetPosition(pauseMinutes);
        Control().btnStartStopClick();
    }
    // Runs passes until the active time reaches ms (one pass exactly there).
    void RunUntilActive(std::int64_t ms) {
        const std::int64_t left = ms - Control().ActiveElapsedMs();
        if (left > 1)
            AdvanceAndPass(left - 1);
        AdvanceAndPass(1);
    }
    const TSessionRec& LastRecord() const { return Records->Finished.back(); }

    TDialogAnswers Answers;
    std::unique_ptr<TRecordedRuns> Records;
};

TSearchTestRec SearchResult(bool pre, int target, int secondOffset) {
    TSearchTestRec rec;
    rec.Start = QDateTime(QDate(2026, 3, 2), QTime(10, 0, secondOffset));
    rec.Pair = rec.Start;
    rec.Phase = pre ? QStringLiteral("vorher") : QStringLiteral("nachher");
    rec.Target = QString(QChar('A' + target));
    rec.Items = 60;
    rec.TargetsLeft = rec.TargetsRight = 8;
    rec.FoundLeft = pre ? 6 : 8;
    rec.FoundRight = 8;
    rec.TimeSec = 50;
    rec.AllFoundSec = -1;
    rec.EndReason = QStringLiteral("Fertig");
    return rec;
}
} // namespace

class RunControlTest : public QObject {
    Q_OBJECT
private slots:
    void startShowsTheDisplayAndStopTheSettingsScreen();
    void runKindNameAndTimeLimit_data();
    void runKindNameAndTimeLimit();
    void activeTimeLeavesOutPauses();
    void timeLimitEndsTheRunWithoutPresentingThatPass();
    void remindersFollowActiveTime_data();
    void remindersFollowActiveTime();
    void timeLimitComesBeforeAReminderDueInTheSamePass();
    void escDuringAPauseEndsTheRunWithEsc();
    void presentationTimeZeroIsUnlimited();
    void resultMessageOnlyWithAlertnessOrShownStimuli_data();
    void resultMessageOnlyWithAlertnessOrShownStimuli();
    void pauseDoesNotCountIntoAReactionTime();
    void searchTaskBeforeAndAfterARunOfFiveMinutes_data();
    void searchTaskBeforeAndAfterARunOfFiveMinutes();
    void searchTargetsNeverTakeTheNinthLetter();
    void cursorHidesAfterThreeSecondsAndComesBackWhenMoved();
    void programEndDuringARunRecordsItAsProgrammende();
};

void RunControlTest::startShowsTheDisplayAndStopTheSettingsScreen() {
    TRunFixture f;
    f.Start(0, 20);
    QVERIFY(f.Run().IsRunning);
    QCOMPARE(f.Form->btnStartStop->text(), QString("Stop"));
    QVERIFY(f.Form->PanelSettings->isHidden());
    QVERIFY(f.Form->SkPaintBox1->isHidden());
    QVERIFY(f.Form->FrameLoopActive());
    QCOMPARE(f.Run().FRenderWidth, 320);
    QCOMPARE(f.Run().FPauseEveryMs, 20 * Minute);
    QCOMPARE(f.Records->Resets, 1);
    QCOMPARE(f.Control().FRunKind, QString("Einstellungen"));
    QVERIFY(f.Form->SpriteField().SpriteCount() == 40);

    f.AdvanceAndPass(16);
    QCOMPARE(f.Records->Captures, 1);
    f.Control().btnStartStopClick();
    QVERIFY(!f.Run().IsRunning);
    QCOMPARE(f.LastRecord().EndReason, QString("Stopp"));
    QVERIFY(f.Run().FStopReason.isEmpty());
    QCOMPARE(f.Form->btnStartStop->text(), QString("Start"));
    QVERIFY(!f.Form->PanelSettings->isHidden());
    QVERIFY(!f.Form->SkPaintBox1->isHidden());
}

void RunControlTest::runKindNameAndTimeLimit_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::int64_t>("limitMs");
    QTest::addColumn<bool>("saved");
    QTest::newRow("plain settings") << "settings"
                                    << "Einstellungen"
                                    << "" << 3 * Minute << true;
    QTest::newRow("profile unchanged") << "profile"
                                       << "Profil"
                                       << "Ruhig" << 3 * Minute << true;
    QTest::newRow("profile changed") << "changed profile"
                                     << "Einstellungen"
                                     << "" << 3 * Minute << true;
    QTest::newRow("sequence: no limit") << "sequence"
                                        << "Sequenz"
                                        << "Morgens" << std::int64_t(0) << true;
    QTest::newRow("plan with minutes") << "plan"
                                       << "Trainingsplan"
                                       << "Aufbauplan" << 12 * Minute << false;
    QTest::newRow("plan of 0 minutes: unlimited") << "plan 0"
                                                  << "Trainingsplan"
                                                  << "Aufbauplan" << std::int64_t(0) << false;
    QTest::newRow("plan while a sequence plays") << "plan and sequence"
                                                 << "Sequenz"
                                                 << "Morgens" << std::int64_t(0) << true;
}

void RunControlTest::runKindNameAndTimeLimit() {
    QFETCH(QString, situation);
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(std::int64_t, limitMs);
    QFETCH(bool, saved);
    TRunFixture f;
    TPlanHooks plan;
    f.Control().SetUserHooks(&plan);
    f.Form->TrackBarDarbietungszeit->SetPosition(3);
    if (situation.contains("profile"))
        f.Form->ProfileRun().Remember("Profile/Ruhig.json", f.Form->Settings().SettingsSnapshot());
    if (situation == "changed profile")
        f.Form->TrackBarSpeed->SetPosition(9);
    if (situation.contains("sequence")) {
        f.Form->SequencePlayer().FSequenceName = "Morgens";
        f.Form->SequencePlayer().SetPlaylist({{"a.json", 30, "{}"}}, f.Dir.path() + "/");
        f.Form->SequencePlayer().StartPlaylist();
    }
    plan.Active = situation.startsWith("plan");
    plan.Minutes = situation == "plan" ? 12 : 0;

    f.Control().btnStartStopClick();
    QCOMPARE(f.Control().FRunKind, kind);
    QCOMPARE(f.Control().FRunName, name);
    QCOMPARE(f.Run().FTimeLimitMs, limitMs);
    QCOMPARE(f.Control().FPlanRun, kind == "Trainingsplan");
    QCOMPARE(plan.Started, kind == "Trainingsplan" ? 1 : 0);
    QCOMPARE(plan.Saved, saved ? 1 : 0);
    f.Control().btnStartStopClick();
    QVERIFY(!f.Control().FPlanRun);
    QVERIFY(!f.Form->SequencePlayer().FPlaylistActive);
}

void RunControlTest::activeTimeLeavesOutPauses() {
    TRunFixture f;
    f.Start(0, 0);
    QCOMPARE(f.Control().ActiveElapsedMs(), std::int64_t(0));
    f.Clock.AdvanceMs(3000);
    QCOMPARE(f.Control().ActiveElapsedMs(), std::int64_t(3000));
    f.Control().BeginPause(false);
    f.Clock.AdvanceMs(10000);
    QCOMPARE(f.Control().ActiveElapsedMs(), std::int64_t(3000));
    f.Control().BeginPause(false); // already paused: ignored
    f.Control().EndPause();
    QVERIFY(f.Form->FrameLoopActive());
    f.Clock.AdvanceMs(2000);
    QCOMPARE(f.Control().ActiveElapsedMs(), std::int64_t(5000));
    QCOMPARE(f.Control().FPauseCount, 1);
    QCOMPARE(f.Control().FPauseAccumMs, std::int64_t(10000));
}

void RunControlTest::timeLimitEndsTheRunWithoutPresentingThatPass() {
    TRunFixture f;
    f.Start(1, 0);
    QCOMPARE(f.Run().FTimeLimitMs, Minute);
    f.RunUntilActive(Minute - 1);
    QVERIFY(f.Run().IsRunning);
    const int presented = f.Form->FrameLoop().FStatFrames;
    QVERIFY(presented > 0);
    f.AdvanceAndPass(1);
    QVERIFY(!f.Run().IsRunning);
    QCOMPARE(f.Form->FrameLoop().FStatFrames, presented);
    QCOMPARE(f.LastRecord().EndReason, QString("Zeit um"));
    QCOMPARE(f.LastRecord().Minutes, 1.0);
}

void RunControlTest::remindersFollowActiveTime_data() {
    QTest::addColumn<int>("firstPauseMinutes");
    QTest::newRow("short first pause") << 1;
    QTest::newRow("long first pause") << 7;
    QTest::newRow("first pause longer than the interval") << 30;
}

// Reminder every 20 minutes, presentation time 45 minutes.
// Reminder every 20 minutes, no time limit, stopped at 45 minutes of active time.
void RunControlTest::remindersFollowActiveTime() {
    QFETCH(int, firstPauseMinutes);
    TRunFixture f;
    const std::int64_t wallStart = f.Clock.NowMs();
    f.Start(0, 20);

    f.RunUntilActive(20 * Minute - 1);
    QVERIFY(!f.Run().FPaused);
    f.AdvanceAndPass(1);
    QVERIFY(f.Run().FPaused);
    QVERIFY(f.Run().FPauseIsReminder);
    f.Clock.AdvanceMs(firstPauseMinutes * Minute);
    f.Pass(); // paused passes do nothing
    QCOMPARE(f.Control().ActiveElapsedMs(), std::int64_t(20 * Minute));
    f.Control().EndPause();

    f.RunUntilActive(40 * Minute - 1);
    QVERIFY(!f.Run().FPaused);
    f.AdvanceAndPass(1);
    QVERIFY(f.Run().FPaused);
    f.Clock.AdvanceMs(2 * Minute);
    f.Control().EndPause();

    f.RunUntilActive(45 * Minute);
    QVERIFY(f.Run().IsRunning);
    QVERIFY(!f.Run().FPaused);
    f.Control().btnStartStopClick();
    QCOMPARE(f.LastRecord().Minutes, 45.0);
    QCOMPARE(f.LastRecord().Pauses, 2);
    QCOMPARE(f.Clock.NowMs() - wallStart, (45 + firstPauseMinutes + 2) * Minute);
}

void RunControlTest::timeLimitComesBeforeAReminderDueInTheSamePass() {
    TRunFixture f;
    f.Start(1, 1);
    f.RunUntilActive(Minute);
    QVERIFY(!f.Run().IsRunning);
    QCOMPARE(f.LastRecord().EndReason, QString("Zeit um"));
    QCOMPARE(f.LastRecord().Pauses, 0);
}

void RunControlTest::escDuringAPauseEndsTheRunWithEsc() {
    TRunFixture f;
    f.Start(0, 20);
    f.AdvanceAndPass(30000);
    f.Control().BeginPause(false);
    QVERIFY(f.Run().FPaused);
    QVERIFY(!f.Run().FPauseIsReminder);
    f.Clock.AdvanceMs(Minute);
    f.Control().StopRun(QStringLiteral("Esc"));
    QVERIFY(!f.Run().IsRunning);
    QVERIFY(!f.Run().FPaused);
    QCOMPARE(f.LastRecord().EndReason, QString("Esc"));
    QCOMPARE(f.LastRecord().Pauses, 1);
    QCOMPARE(f.LastRecord().Minutes, 0.5);
}

void RunControlTest::presentationTimeZeroIsUnlimited() {
    TRunFixture f;
    f.Start(0, 0);
    QCOMPARE(f.Run().FTimeLimitMs, std::int64_t(0));
    for (int hour = 0; hour < 10; ++hour)
        f.AdvanceAndPass(60 * Minute);
    QVERIFY(f.Run().IsRunning);
    QVERIFY(!f.Run().FPaused);
    f.Control().btnStartStopClick();
    QCOMPARE(f.LastRecord().EndReason, QString("Stopp"));
}

void RunControlTest::resultMessageOnlyWithAlertnessOrShownStimuli_data() {
    QTest::addColumn<int>("alertnessItem");
    QTest::addColumn<bool>("withStimuli");
    QTest::addColumn<QString>("expected");
    QTest::newRow("off, nothing shown") << 0 << false << QString();
    QTest::newRow("on, nothing shown")
        << 1 << false
        << QString("Ergebnis Alertness:\r\n\r\nErreichte Stufe: 1 / 10\r\n---------------------"
                   "\r\nReaktionen: 0\r\nAusgelassen: 0\r\nFehlreaktionen: 0");
    QTest::newRow("off, switched on during the run")
        << 0 << true
        << QString("Ergebnis Alertness:\r\n\r\nErreichte Stufe: 1 / 10\r\n---------------------"
                   "\r\nReaktionen: 1\r\nAusgelassen: 1\r\nFehlreaktionen: 1\r\n"
                   "---------------------\r\n"
                   "Links:  1 von 1 beantwortet, Reaktionszeit 412 ms\r\n"
                   "Rechts: 0 von 1 beantwortet, Reaktionszeit -\r\n"
                   "(Reaktionszeit = Median)");
}

void RunControlTest::resultMessageOnlyWithAlertnessOrShownStimuli() {
    QFETCH(int, alertnessItem);
    QFETCH(bool, withStimuli);
    QFETCH(QString, expected);
    TRunFixture f;
    f.Form->RunControl().SetRecordHooks(nullptr); // the run control's own record
    f.Form->RadioGroupAlertness->SetItemIndex(alertnessItem);
    f.Start(0, 0);
    f.AdvanceAndPass(10);
    if (withStimuli) {
        TStimulusArray& stim = f.Form->Alertness().FStim;
        stim.push_back({1, 2.0, 1, 20, soHit, 412});
        stim.push_back({2, 6.0, 1, 80, soMiss, -1});
        stim.push_back({3, 7.0, 0, -1, soFalseAlarm, -1});
    }
    f.Control().btnStartStopClick();
    if (expected.isEmpty()) {
        QVERIFY(f.Answers.Messages.isEmpty());
        return;
    }
    QCOMPARE(f.Answers.Messages.size(), 1);
    QVERIFY(f.Answers.Messages[0].Kind == TMsgKind::Information);
    QCOMPARE(f.Answers.Messages[0].Text, expected);
}

// Regression: the reaction time of a stimulus visible across a pause must not include it.
void RunControlTest::pauseDoesNotCountIntoAReactionTime() {
    TRunFixture f;
    f.Form->RadioGroupAlertness->SetItemIndex(1);
    f.Start(0, 0);
    TAlertnessTask& alertness = f.Form->Alertness();
    for (int i = 0; i < 30 && !alertness.IsShown(); ++i)
        f.AdvanceAndPass(100);
    QVERIFY(alertness.IsShown());
    f.AdvanceAndPass(16); // drawn: the onset is taken
    QVERIFY(!alertness.FAlertOnsetPending);
    const std::int64_t onset = alertness.FAlertOnsetTick;
    f.Control().BeginPause(false);
    f.Clock.AdvanceMs(5000);
    f.Control().EndPause();
    QCOMPARE(alertness.FAlertOnsetTick, onset + 5000);
}

void RunControlTest::searchTaskBeforeAndAfterARunOfFiveMinutes_data() {
    QTest::addColumn<std::int64_t>("activeMs");
    QTest::addColumn<bool>("postTest");
    QTest::newRow("5 minutes") << 5 * Minute << true;
    QTest::newRow("4 minutes 59 seconds") << 5 * Minute - 1000 << false;
}

void RunControlTest::searchTaskBeforeAndAfterARunOfFiveMinutes() {
    QFETCH(std::int64_t, activeMs);
    QFETCH(bool, postTest);
    TRunFixture f;
    f.Form->RunControl().SetRecordHooks(nullptr);
    {
        TUserManager users;
        WriteOperatingMode(users, TOperatingMode::Patient);
    }
    AnswerWelcome(true);
    QVERIFY(f.Form->ChooseUser());
    const QString user = f.Form->CurrentUser();
    QCOMPARE(user, QString("Patient"));

    QList<int> targets;
    QList<bool> phases;
    f.Control().SetSearchTestRunner([&](QWidget*, bool pre, int target, TSearchTestRec& result) {
        targets << target;
        phases << pre;
        result = SearchResult(pre, target, pre ? 0 : 30);
        return true;
    });
    TSearchOn search;
    f.Control().SetUserHooks(&search);
    f.Control().btnStartStopClick();
    QVERIFY(f.Control().FSearchPreDone);
    QCOMPARE(LoadSearchTests(user).size(), std::size_t(1));

    f.RunUntilActive(activeMs);
    f.Control().btnStartStopClick();
    QVERIFY(!f.Control().FSearchPreDone);
    const TSearchTestArray stored = LoadSearchTests(user);
    if (!postTest) {
        QCOMPARE(phases, QList<bool>{true});
        QCOMPARE(stored.size(), std::size_t(1));
        QVERIFY(f.Answers.Messages.isEmpty());
        return;
    }
    QCOMPARE(phases, (QList<bool>{true, false}));
    QCOMPARE(targets[0], targets[1]);
    QCOMPARE(stored.size(), std::size_t(2));
    const TSearchTestRec& post = stored[1];
    QCOMPARE(post.Phase, QString("nachher"));
    QCOMPARE(post.Pair, stored[0].Start);
    QCOMPARE(post.TrainingMin, 5.0);
    QCOMPARE(f.Answers.Messages.size(), 1);
    QVERIFY(f.Answers.Messages[0].Text.startsWith("Suchaufgabe (Buchstabe "));
    QVERIFY(f.Answers.Messages[0].Text.contains(QString::fromUtf8("links:  2 → 0  (von 8)")));
}

void RunControlTest::searchTargetsNeverTakeTheNinthLetter() {
    TSeededRandom random(7);
    QSet<int> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(DrawSearchTarget(random));
    QCOMPARE(seen.size(), 25);
    QVERIFY(!seen.contains(8));
    QVERIFY(seen.contains(0) && seen.contains(25));
}

void RunControlTest::cursorHidesAfterThreeSecondsAndComesBackWhenMoved() {
    TRunFixture f;
    f.Start(0, 0);
    for (int i = 0; i < 29; ++i)
        f.AdvanceAndPass(100);
    QVERIFY(!f.Form->Cursor().FCursorIsHidden);
    QCOMPARE(f.Form->cursor().shape(), Qt::ArrowCursor);
    f.AdvanceAndPass(100);
    f.AdvanceAndPass(100);
    QVERIFY(f.Form->Cursor().FCursorIsHidden);
    QCOMPARE(f.Form->cursor().shape(), Qt::BlankCursor);

    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.Form.get(), &move);
    QVERIFY(!f.Form->Cursor().FCursorIsHidden);
    QCOMPARE(f.Form->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(f.Form->Cursor().FCursorIdleTime, 0.0);

    for (int i = 0; i < 40; ++i)
        f.AdvanceAndPass(100);
    QVERIFY(f.Form->Cursor().FCursorIsHidden);
    f.Control().btnStartStopClick();
    QVERIFY(!f.Form->Cursor().FCursorIsHidden);
    QCOMPARE(f.Form->cursor().shape(), Qt::ArrowCursor);
}

void RunControlTest::programEndDuringARunRecordsItAsProgrammende() {
    TRunFixture f;
    f.Start(0, 0);
    f.AdvanceAndPass(8000);
    f.Control().BeginPause(false);
    f.Clock.AdvanceMs(4000);
    f.Control().FinishAtProgramEnd();
    QVERIFY(!f.Run().IsRunning);
    QCOMPARE(f.LastRecord().EndReason, QString("Programmende"));
    QCOMPARE(f.LastRecord().Pauses, 1);
    QVERIFY(f.Answers.Messages.isEmpty());
}

QTEST_MAIN(RunControlTest)
#include "run_control_qtest.moc"
