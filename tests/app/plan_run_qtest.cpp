#include "app/keyboard_commands.h"
#include "app/settings_widgets.h"
#include "common/dialog_answers.h"
#include "engine/alertness_task.h"
#include "engine/run_state.h"
#include "engine/sequence_player.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "installation_fixture.h"
#include "plan/training_plan.h"
#include "platform/atomic_file.h"
#include "protocol/store.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::Minute;
using kalvero::test::TDialogAnswers;
using kalvero::test::TInstallation;

namespace {

const QString User = QStringLiteral("Anna");

QString SettingsText(int sprite, int count, int speed, int alertness = 0) {
    return QStringLiteral("{\"background_index\":2,\"sprite_index\":%1,\"speed\":%2,\"count\":%3,"
                          "\"showtime\":10,\"direction_index\":1,\"variance_index\":0,"
                          "\"alertness_index\":%4,\"verfolger\":false,\"show_timer\":false}")
        .arg(sprite)
        .arg(speed)
        .arg(count)
        .arg(alertness);
}

void StorePlan(const TTrainingPlan& plan) {
    plan.SaveToFile(GetUserPlanFile(User));
}

TTrainingPlan ProfilePlan(const QString& settings, int minutes, bool locked) {
    TTrainingPlan plan;
    plan.Kind = pkProfile;
    plan.Name = QStringLiteral("Aufbau");
    plan.Settings = settings;
    plan.Minutes = minutes;
    plan.Locked = locked;
    return plan;
}

// What a key may change during a run, by name.
QMap<QString, QString> RunState(TForm1& form, const TDialogAnswers& answers) {
    return {
        {"background", QString::number(form.ComboBackground->ItemIndex())},
        {"sprite", QString::number(form.ComboSprite->ItemIndex())},
        {"speed", QString::number(form.TrackBarSpeed->Position())},
        {"count", QString::number(form.TrackBarNumberOfSprites->Position())},
        {"alertness", QString::number(form.RadioGroupAlertness->ItemIndex())},
        {"verfolger", QString::number(form.checkboxVerfolger->Checked())},
        {"zeit", QString::number(form.checkboxZeit->Checked())},
        {"stimuli", QString::number(form.Alertness().FStim.size())},
        {"messages", QString::number(answers.Messages.size())},
        {"paused", QString::number(form.RunState().FPaused)},
        {"running", QString::number(form.RunState().IsRunning)},
        {"takt", QString::number(form.FrameLoop().FVSync)},
        {"fein", QString::number(form.FrameLoop().FSmooth)},
        {"stats", QString::number(form.FrameLoop().FShowStats)},
    };
}

QStringList ChangedNames(const QMap<QString, QString>& before,
                         const QMap<QString, QString>& after) {
    QStringList changed;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (after.value(it.key()) != it.value())
            changed << it.key();
    return changed;
}

} // namespace

// One main window in patient mode for every test; each test stores the plan it needs and
// chooses the user again, which loads it.
class PlanRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void profilePlanRunsForThePlanMinutesAndIsRecordedAsTrainingsplan_data();
    void profilePlanRunsForThePlanMinutesAndIsRecordedAsTrainingsplan();
    void sequencePlanPlaysItsSectionsWithTheirDurationsAndSettings();
    void keysDuringALockedPlanRun_data();
    void keysDuringALockedPlanRun();
    void sameUserChosenAgainReloadsTheStoredSettings();

private:
    TForm1& Form() { return *FInstallation->Form; }
    void ChooseWithPlan(const TTrainingPlan& plan) {
        StorePlan(plan);
        QVERIFY(FInstallation->Choose(User));
        QVERIFY(FInstallation->Session->PlanActive());
    }

    std::unique_ptr<TDialogAnswers> FAnswers;
    std::unique_ptr<TInstallation> FInstallation;
};

void PlanRunTest::initTestCase() {
    FAnswers = std::make_unique<TDialogAnswers>();
    FInstallation = std::make_unique<TInstallation>(TOperatingMode::Patient, QStringList{User});
    FInstallation->Open();
}

void PlanRunTest::cleanupTestCase() {
    FInstallation.reset();
    FAnswers.reset();
}

// A test that failed half-way leaves no run behind for the next one.
void PlanRunTest::cleanup() {
    FInstallation->Control().StopRun(QStringLiteral("Stopp"));
}

void PlanRunTest::profilePlanRunsForThePlanMinutesAndIsRecordedAsTrainingsplan_data() {
    QTest::addColumn<int>("minutes");
    QTest::newRow("2 minutes") << 2;
    QTest::newRow("0 minutes: unlimited") << 0;
}

void PlanRunTest::profilePlanRunsForThePlanMinutesAndIsRecordedAsTrainingsplan() {
    QFETCH(int, minutes);
    ChooseWithPlan(ProfilePlan(SettingsText(2, 25, 9), minutes, false));
    TForm1& form = Form();
    QCOMPARE(form.TrackBarSpeed->Position(), 9);
    // Not locked: the patient moves a control, the run still follows the plan.
    form.TrackBarSpeed->SetPosition(3);
    form.TrackBarDarbietungszeit->SetPosition(1);
    form.TrackBarPause->SetPosition(0);
    const QString ownSettings = TUserManager().GetValue(User, "Einstellungen");
    const std::size_t runsBefore = LoadSessions(User).size();

    form.btnStartStopClick();
    TRunControl& control = FInstallation->Control();
    QVERIFY(form.RunState().IsRunning);
    QVERIFY(control.FPlanRun);
    QCOMPARE(control.FRunKind, QString("Trainingsplan"));
    QCOMPARE(control.FRunName, QString("Aufbau"));
    QCOMPARE(form.RunState().FTimeLimitMs, minutes * Minute);
    QCOMPARE(form.TrackBarSpeed->Position(), 9);
    QCOMPARE(form.SpriteField().BaseSpeedFactor, 9.0);
    QCOMPARE(TUserManager().GetValue(User, "Einstellungen"), ownSettings);

    if (minutes > 0) {
        FInstallation->RunActiveFor(minutes * Minute - 1);
        QVERIFY(form.RunState().IsRunning);
        FInstallation->AdvanceAndPass(1);
        QVERIFY(!form.RunState().IsRunning);
    } else {
        FInstallation->RunActiveFor(5 * 60 * Minute);
        QVERIFY(form.RunState().IsRunning);
        form.btnStartStopClick();
    }
    QVERIFY(!control.FPlanRun);

    const TSessionArray runs = LoadSessions(User);
    QCOMPARE(runs.size(), runsBefore + 1);
    const TSessionRec& run = runs.back();
    QCOMPARE(run.ProgramKind, QString("Trainingsplan"));
    QCOMPARE(run.ProgramName, QString("Aufbau"));
    QCOMPARE(run.EndReason, minutes > 0 ? QString("Zeit um") : QString("Stopp"));
    QCOMPARE(run.Minutes, minutes > 0 ? double(minutes) : 300.0);
    QCOMPARE(run.Stimulus, SpriteNames().at(2));
    QCOMPARE(run.Count, 25);
    QCOMPARE(run.Speed, 9);
    QByteArray bytes;
    QVERIFY(ReadWholeFile(RunFileName(User), bytes));
    QVERIFY(QString::fromUtf8(bytes).contains(";Trainingsplan;Aufbau;"));
}

void PlanRunTest::sequencePlanPlaysItsSectionsWithTheirDurationsAndSettings() {
    TTrainingPlan plan;
    plan.Kind = pkSequence;
    plan.Name = QStringLiteral("Morgenreihe");
    plan.Minutes = 3;
    plan.Items = {{"Ruhig.json", 5, SettingsText(1, 12, 4)},
                  {"Schnell.json", 8, SettingsText(3, 30, 11)}};
    ChooseWithPlan(plan);
    TForm1& form = Form();
    QCOMPARE(form.ComboSprite->ItemIndex(), 1); // the first section's settings at once
    form.TrackBarNumberOfSprites->SetPosition(60);

    form.btnStartStopClick();
    TRunControl& control = FInstallation->Control();
    TSequencePlayer& player = form.SequencePlayer();
    QCOMPARE(control.FRunKind, QString("Trainingsplan"));
    QCOMPARE(control.FRunName, QString("Morgenreihe"));
    QCOMPARE(form.RunState().FTimeLimitMs, 3 * Minute);
    QVERIFY(player.FPlaylistActive);
    QCOMPARE(player.FPlaylist.size(), std::size_t(2));
    const std::unique_ptr<TTrainingPlan> stored = LoadStoredPlan(User);
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(player.FPlaylist[i].FileName, plan.Items[i].Name);
        QCOMPARE(player.FPlaylist[i].Duration, plan.Items[i].Duration);
        QCOMPARE(player.FPlaylist[i].SettingsJson, stored->Items[i].Settings);
    }
    QCOMPARE(player.FPlaylistIndex, 0);
    QCOMPARE(form.ComboSprite->ItemIndex(), 1);
    QCOMPARE(form.TrackBarNumberOfSprites->Position(), 12);
    QCOMPARE(form.TrackBarSpeed->Position(), 4);
    QCOMPARE(form.SpriteField().SpriteCount(), 12);

    // Frames of 100 ms: the first section for 5 s, the second for 8 s, then from the top.
    FInstallation->RunActiveFor(4900, 100);
    QCOMPARE(player.FPlaylistIndex, 0);
    FInstallation->RunActiveFor(500, 100);
    QCOMPARE(player.FPlaylistIndex, 1);
    QCOMPARE(form.ComboSprite->ItemIndex(), 3);
    QCOMPARE(form.TrackBarNumberOfSprites->Position(), 30);
    QCOMPARE(form.SpriteField().CurrentSpriteType, 3);
    QCOMPARE(form.SpriteField().SpriteCount(), 30);
    QCOMPARE(form.SpriteField().BaseSpeedFactor, 11.0);
    FInstallation->RunActiveFor(7300, 100);
    QCOMPARE(player.FPlaylistIndex, 1);
    FInstallation->RunActiveFor(800, 100);
    QCOMPARE(player.FPlaylistIndex, 0);
    QCOMPARE(form.ComboSprite->ItemIndex(), 1);
    QVERIFY(form.RunState().IsRunning);

    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.RunState().IsRunning);
    QVERIFY(!player.FPlaylistActive);
    const TSessionRec run = LoadSessions(User).back();
    QCOMPARE(run.ProgramKind, QString("Trainingsplan"));
    QCOMPARE(run.ProgramName, QString("Morgenreihe"));
    QCOMPARE(run.EndReason, QString("Esc"));
    QCOMPARE(run.Stimulus, SpriteNames().at(1)); // the first frame's settings
    QCOMPARE(run.Count, 12);
}

void PlanRunTest::keysDuringALockedPlanRun_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("changes");
    const int none = Qt::NoModifier;
    const int keypad = Qt::KeypadModifier;
    const QStringList nothing;
    QTest::newRow("V locked") << int(Qt::Key_V) << none << nothing;
    QTest::newRow("A locked") << int(Qt::Key_A) << none << nothing;
    QTest::newRow("right locked") << int(Qt::Key_Right) << none << nothing;
    QTest::newRow("left locked") << int(Qt::Key_Left) << none << nothing;
    QTest::newRow("up locked") << int(Qt::Key_Up) << none << nothing;
    QTest::newRow("down locked") << int(Qt::Key_Down) << none << nothing;
    QTest::newRow("plus locked") << int(Qt::Key_Plus) << none << nothing;
    QTest::newRow("keypad plus locked") << int(Qt::Key_Plus) << keypad << nothing;
    QTest::newRow("minus locked") << int(Qt::Key_Minus) << none << nothing;
    QTest::newRow("keypad minus locked") << int(Qt::Key_Minus) << keypad << nothing;
    QTest::newRow("M locked") << int(Qt::Key_M) << none << nothing;
    QTest::newRow("W locked") << int(Qt::Key_W) << none << nothing;
    QTest::newRow("space answers") << int(Qt::Key_Space) << none << QStringList{"stimuli"};
    QTest::newRow("Z shows the time") << int(Qt::Key_Z) << none << QStringList{"zeit"};
    QTest::newRow("H shows the help") << int(Qt::Key_H) << none << QStringList{"messages"};
    QTest::newRow("P pauses") << int(Qt::Key_P) << none << QStringList{"paused"};
    QTest::newRow("F5 Takt") << int(Qt::Key_F5) << none << QStringList{"stats", "takt"};
    QTest::newRow("F6 fein") << int(Qt::Key_F6) << none << QStringList{"fein", "stats"};
    QTest::newRow("F8 statistics") << int(Qt::Key_F8) << none << QStringList{"stats"};
    // The run ends and shows its alertness result.
    QTest::newRow("Esc ends") << int(Qt::Key_Escape) << none << QStringList{"messages", "running"};
}

void PlanRunTest::keysDuringALockedPlanRun() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, changes);
    TForm1& form = Form();
    if (!FInstallation->Session->Locked())
        ChooseWithPlan(ProfilePlan(SettingsText(4, 20, 6, 1), 0, true));
    QVERIFY(FInstallation->Session->Locked());
    QVERIFY(form.KeyboardCommands().Locked());
    TFrameLoop& loop = form.FrameLoop();
    const bool takt = loop.FVSync, fein = loop.FSmooth, stats = loop.FShowStats;

    form.btnStartStopClick();
    QVERIFY(form.RunState().IsRunning);
    FInstallation->RunActiveFor(6000, 100);
    const auto before = RunState(form, *FAnswers);
    QTest::keyClick(&form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const auto after = RunState(form, *FAnswers);
    if (form.RunState().IsRunning)
        form.btnStartStopClick();
    loop.FVSync = takt;
    loop.FSmooth = fein;
    loop.FShowStats = stats;

    QCOMPARE(ChangedNames(before, after), changes);
    const TSessionRec run = LoadSessions(User).back();
    QCOMPARE(run.ProgramKind, QString("Trainingsplan"));
    QVERIFY(!run.Changed);
}

void PlanRunTest::sameUserChosenAgainReloadsTheStoredSettings() {
    QFile::remove(GetUserPlanFile(User));
    QVERIFY(FInstallation->Choose(User));
    QVERIFY(!FInstallation->Session->PlanActive());
    TForm1& form = Form();
    // A run start stores the user's settings.
    form.ComboSprite->SetItemIndex(5);
    form.TrackBarSpeed->SetPosition(6);
    form.TrackBarNumberOfSprites->SetPosition(20);
    form.TrackBarPause->SetPosition(25);
    form.btnStartStopClick();
    form.btnStartStopClick();
    TUserManager users;
    const QString stored = users.GetValue(User, "Einstellungen");
    QCOMPARE(stored, form.Settings().SettingsSnapshot());

    form.ComboSprite->SetItemIndex(7);
    form.TrackBarSpeed->SetPosition(14);
    form.TrackBarNumberOfSprites->SetPosition(50);
    form.TrackBarPause->SetPosition(40);
    QVERIFY(FInstallation->Choose(User));
    QCOMPARE(form.ComboSprite->ItemIndex(), 5);
    QCOMPARE(form.TrackBarSpeed->Position(), 6);
    QCOMPARE(form.LabelSpeed->text(), QString("Geschwindigkeit: 6"));
    QCOMPARE(form.TrackBarNumberOfSprites->Position(), 20);
    QCOMPARE(form.TrackBarPause->Position(), 25);
    QCOMPARE(form.LabelPause->text(), QString("Pausenhinweis alle 25 min"));
    QCOMPARE(form.Settings().SettingsSnapshot(), stored);
    // Nothing was saved on the way.
    QCOMPARE(users.GetValue(User, "Einstellungen"), stored);
    QCOMPARE(users.GetValue(User, "PauseNach"), QString("25"));
}

QTEST_MAIN(PlanRunTest)
#include "plan_run_qtest.moc"
