#include "app/keyboard_commands.h"
#include "app/main_window.h"
#include "app/settings_widgets.h"
#include "app/user_session.h"
#include "common/dialog_answers.h"
#include "engine/program_settings.h"
#include "engine/training_settings.h"
#include "installation_fixture.h"
#include "plan/training_plan.h"
#include "platform/clock.h"
#include "platform/sound_player.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace kalvero;

namespace {

// A main window with its user session on a fresh data folder holding the users Anna and Ben.
struct TSessionFixture : kalvero::test::TInstallation {
    explicit TSessionFixture(TOperatingMode mode = TOperatingMode::Patient)
        : TInstallation(mode, {"Anna", "Ben"}) {}
    // The window closes while the dialog answers are still there.
    ~TSessionFixture() { Close(); }

    kalvero::test::TDialogAnswers Answers;
};

void StoreLockedPlan(const QString& user, const QString& settings) {
    TTrainingPlan plan;
    plan.Kind = pkProfile;
    plan.Settings = settings;
    plan.Minutes = 15;
    plan.Locked = true;
    plan.SaveToFile(GetUserPlanFile(user));
}

QList<QWidget*> TwelveLockedControls(TForm1& f) {
    return {f.ComboBackground,     f.ComboSprite,         f.RadioGroupDirection,
            f.TrackBarSpeed,       f.RadioGroupSameSpeed, f.TrackBarNumberOfSprites,
            f.RadioGroupAlertness, f.checkboxVerfolger,   f.btnLoadProfile,
            f.btnSaveProfile,      f.btnLoadSequence,     f.btnCreateSequence};
}

int CountOf(const QStringList& texts, const QString& text) {
    return static_cast<int>(texts.count(text));
}

} // namespace

class UserSessionTest : public QObject {
    Q_OBJECT
private slots:
    void safetyNoticeIsShownOncePerUserAlsoAfterARestart();
    void lockedPlanLocksOnlyInPatientMode_data();
    void lockedPlanLocksOnlyInPatientMode();
    void switchingUsersSavesTheOldUserFirst();
    void planNoteIsShownAtMostOnceADayInPatientMode_data();
    void planNoteIsShownAtMostOnceADayInPatientMode();
    void planDemandingTheSearchTaskOverridesTheOwnChoice();
    void storedPauseIntervalIsRead_data();
    void storedPauseIntervalIsRead();
};

void UserSessionTest::safetyNoticeIsShownOncePerUserAlsoAfterARestart() {
    TSessionFixture f;
    const QString notice = QString::fromUtf8(SafetyNoticeText);
    f.Open();
    QVERIFY(f.Choose("Anna"));
    f.Session->ShowSafetyNotice();
    f.Session->ShowSafetyNotice();
    QCOMPARE(CountOf(f.Answers.Texts(), notice), 1);
    QVERIFY(notice.startsWith("Bitte vor dem ersten Training lesen\r\n\r\nGroßflächig"));
    QVERIFY(notice.endsWith("Ihrem Arzt ab.\r\n\r\n"));

    f.Close();
    f.Open();
    QVERIFY(f.Choose("Anna"));
    f.Session->ShowSafetyNotice();
    QCOMPARE(CountOf(f.Answers.Texts(), notice), 1);

    QVERIFY(f.Choose("Ben"));
    f.Session->ShowSafetyNotice();
    QCOMPARE(CountOf(f.Answers.Texts(), notice), 2);
}

void UserSessionTest::lockedPlanLocksOnlyInPatientMode_data() {
    QTest::addColumn<bool>("therapist");
    QTest::newRow("patient") << false;
    QTest::newRow("therapist") << true;
}

void UserSessionTest::lockedPlanLocksOnlyInPatientMode() {
    QFETCH(bool, therapist);
    TSessionFixture f(therapist ? TOperatingMode::Therapist : TOperatingMode::Patient);
    TForm1& form = f.Open();
    StoreLockedPlan("Anna", form.Settings().SettingsSnapshot());
    QVERIFY(f.Choose("Anna"));

    const bool locked = !therapist;
    QVERIFY(f.Session->PlanActive());
    QCOMPARE(f.Session->Locked(), locked);
    for (QWidget* control : TwelveLockedControls(form))
        QVERIFY2(control->isEnabled() == !locked, qPrintable(control->objectName()));
    QCOMPARE(form.CheckBoxPlan->isEnabled(), !locked);
    QCOMPARE(form.KeyboardCommands().Locked(), locked);
    QVERIFY(!form.TrackBarDarbietungszeit->isEnabled());
    QVERIFY(form.checkboxZeit->isEnabled());
    QVERIFY(form.TrackBarPause->isEnabled());
    QVERIFY(!form.CheckBoxPlan->isHidden());
    QCOMPARE(form.CheckBoxPlan->text(), QString("Nach Trainingsplan trainieren (15 min)"));
    QCOMPARE(form.LabelDarbietungszeit->text(),
             QString("Darbietungszeit laut Trainingsplan: 15 min"));
    if (locked)
        return;

    // Without the plan the own settings and controls come back.
    form.CheckBoxPlan->click();
    QVERIFY(!f.Session->PlanActive());
    for (QWidget* control : TwelveLockedControls(form))
        QVERIFY(control->isEnabled());
    QVERIFY(form.TrackBarDarbietungszeit->isEnabled());
    QVERIFY(!form.KeyboardCommands().Locked());
    QVERIFY(form.LabelDarbietungszeit->text().startsWith("Darbietungszeit in min: "));
}

void UserSessionTest::switchingUsersSavesTheOldUserFirst() {
    TSessionFixture f;
    TUserManager().SetValue("Ben", "PauseNach", "45");
    TForm1& form = f.Open();
    QVERIFY(f.Choose("Anna"));
    form.TrackBarPause->setValue(35);
    form.TrackBarSpeed->setValue(form.TrackBarSpeed->value() == 3 ? 4 : 3);
    const QString annasSettings = form.Settings().SettingsSnapshot();

    QVERIFY(f.Choose("Ben"));
    TUserManager users;
    QCOMPARE(users.GetValue("Anna", "PauseNach"), QString("35"));
    QCOMPARE(users.GetValue("Anna", "Einstellungen"), annasSettings);
    QCOMPARE(form.TrackBarPause->value(), 45);
    QCOMPARE(form.LabelPause->text(), QString("Pausenhinweis alle 45 min"));
    QCOMPARE(form.LabelUser->text(), QString("Willkommen, Ben"));
}

void UserSessionTest::planNoteIsShownAtMostOnceADayInPatientMode_data() {
    QTest::addColumn<bool>("therapist");
    QTest::addColumn<int>("shown");
    QTest::newRow("patient") << false << 1;
    QTest::newRow("therapist") << true << 0;
}

void UserSessionTest::planNoteIsShownAtMostOnceADayInPatientMode() {
    QFETCH(bool, therapist);
    QFETCH(int, shown);
    TSessionFixture f(therapist ? TOperatingMode::Therapist : TOperatingMode::Patient);
    TForm1& form = f.Open();
    TTrainingPlan plan;
    plan.Settings = form.Settings().SettingsSnapshot();
    plan.Therapist = "Dr. Weber";
    plan.Note = "  Täglich üben\r\n";
    plan.SaveToFile(GetUserPlanFile("Anna"));
    const QString note = "Ihr Trainingsplan von Dr. Weber:\r\n\r\nTäglich üben";

    QVERIFY(f.Choose("Anna"));
    QVERIFY(f.Choose("Anna"));
    QCOMPARE(CountOf(f.Answers.Texts(), note), shown);
    if (shown)
        QCOMPARE(TUserManager().GetValue("Anna", "PlanHinweis"),
                 QDate::currentDate().toString("yyyy-MM-dd"));
}

void UserSessionTest::planDemandingTheSearchTaskOverridesTheOwnChoice() {
    TSessionFixture f(TOperatingMode::Therapist);
    TUserManager().SetValue("Anna", "Suchaufgabe", "0");
    TForm1& form = f.Open();
    TTrainingPlan plan;
    plan.Settings = form.Settings().SettingsSnapshot();
    plan.SearchTest = true;
    plan.SaveToFile(GetUserPlanFile("Anna"));

    QVERIFY(f.Choose("Anna"));
    QVERIFY(form.CheckBoxSuchaufgabe->isChecked());
    QVERIFY(!form.CheckBoxSuchaufgabe->isEnabled());
    QVERIFY(f.Session->SearchTaskEnabled());

    form.CheckBoxPlan->click();
    QVERIFY(!form.CheckBoxSuchaufgabe->isChecked());
    QVERIFY(form.CheckBoxSuchaufgabe->isEnabled());
    QVERIFY(!f.Session->SearchTaskEnabled());

    form.CheckBoxSuchaufgabe->click();
    QCOMPARE(TUserManager().GetValue("Anna", "Suchaufgabe"), QString("1"));
}

void UserSessionTest::storedPauseIntervalIsRead_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("minutes");
    QTest::newRow("no number") << "abc" << 20;
    QTest::newRow("missing") << "" << 20;
    QTest::newRow("off") << "0" << 0;
    QTest::newRow("number") << "45" << 45;
    QTest::newRow("too large") << "75" << 60;
}

void UserSessionTest::storedPauseIntervalIsRead() {
    QFETCH(QString, stored);
    QFETCH(int, minutes);
    QCOMPARE(PauseMinutesOf(stored), minutes);

    TSessionFixture f;
    if (!stored.isEmpty())
        TUserManager().SetValue("Anna", "PauseNach", stored);
    TForm1& form = f.Open();
    form.TrackBarPause->setValue(5);
    QVERIFY(f.Choose("Anna"));
    QCOMPARE(form.TrackBarPause->value(), minutes);
}

QTEST_MAIN(UserSessionTest)
#include "user_session_qtest.moc"
