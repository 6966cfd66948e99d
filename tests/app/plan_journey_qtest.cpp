#include "app/keyboard_commands.h"
#include "app/settings_widgets.h"
#include "common/dialog_answers.h"
#include "engine/run_state.h"
#include "engine/training_settings.h"
#include "installation_fixture.h"
#include "plan/training_plan.h"
#include "plan/ui/plan_editor.h"
#include "platform/atomic_file.h"
#include "protocol/store.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using namespace kalvero;
using kalvero::test::Minute;
using kalvero::test::TDialogAnswers;
using kalvero::test::TInstallation;
using kalvero::test::WhenModalOpen;

namespace {

const QString Patient = QStringLiteral("Clara");

template <typename TWidget> TWidget* Control(QWidget& window, const char* name) {
    auto* widget = window.findChild<TWidget*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

QList<QWidget*> TwelveLockableControls(TForm1& f) {
    return {f.ComboBackground,     f.ComboSprite,         f.RadioGroupDirection,
            f.TrackBarSpeed,       f.RadioGroupSameSpeed, f.TrackBarNumberOfSprites,
            f.RadioGroupAlertness, f.checkboxVerfolger,   f.btnLoadProfile,
            f.btnSaveProfile,      f.btnLoadSequence,     f.btnCreateSequence};
}

QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

// The therapist fills the editor's form and exports the plan.
void WriteAndExportLockedPlan(TFormPlan& editor) {
    QCOMPARE(Control<QLabel>(editor, "LabelTitle")->text(), QString("Trainingsplan für Clara"));
    QVERIFY(Control<QRadioButton>(editor, "RadioCurrent")->isChecked());
    Control<QSpinBox>(editor, "SpinMinutes")->setValue(1);
    Control<QLineEdit>(editor, "EditTherapist")->setText(" Frau Berg ");
    Control<QPlainTextEdit>(editor, "MemoNote")
        ->setPlainText(QStringLiteral("Jeden Morgen üben.\nBitte ruhig sitzen.\n"));
    Control<QCheckBox>(editor, "CheckLocked")->click();
    Control<QPushButton>(editor, "ButtonExport")->click();
    Control<QPushButton>(editor, "ButtonClose")->click();
}

// The patient reads the plan file in; summary gets what the editor shows afterwards.
void ReadPlanIn(TFormPlan& editor, QString& summary) {
    QCOMPARE(Control<QLabel>(editor, "LabelTitle")->text(), QString("Ihr Trainingsplan"));
    QPushButton* import = Control<QPushButton>(editor, "ButtonImport");
    QCOMPARE(import->text(), QString("Trainingsplan einlesen ..."));
    import->click();
    summary = Control<QPlainTextEdit>(editor, "MemoCurrent")->toPlainText();
    Control<QPushButton>(editor, "ButtonClose")->click();
}

} // namespace

class PlanJourneyTest : public QObject {
    Q_OBJECT
private slots:
    void therapistExportsAPlanThePatientReadsInAndTrainsBy();

private:
    void TrainByThePlan(TInstallation& home, const QString& settings);
};

// The practice's installation writes a locked plan for a patient and hands it over as a file;
// the patient's own installation reads it in, is locked to it, sees the note once and trains.
void PlanJourneyTest::therapistExportsAPlanThePatientReadsInAndTrainsBy() {
    TDialogAnswers answers;
    QTemporaryDir stick; // the file travels on it from one installation to the other
    const QString exported = stick.path() + QStringLiteral("/Trainingsplan Clara.kvplan");
    const QString note = QStringLiteral("Ihr Trainingsplan von Frau Berg:\r\n\r\n"
                                        "Jeden Morgen üben.\r\nBitte ruhig sitzen.");
    QString settings;

    {
        TInstallation practice(TOperatingMode::Therapist, {Patient, QStringLiteral("Dirk")});
        TForm1& form = practice.Open();
        QVERIFY(practice.Choose(Patient));
        form.ComboSprite->SetItemIndex(6);
        form.TrackBarSpeed->SetPosition(8);
        form.TrackBarNumberOfSprites->SetPosition(35);
        form.RadioGroupDirection->SetItemIndex(0);
        settings = form.Settings().SettingsSnapshot();

        answers.FileAnswers << exported;
        WhenModalOpen<TFormPlan>([](TFormPlan& editor) {
            WriteAndExportLockedPlan(editor);
            if (editor.isVisible())
                editor.reject();
        });
        form.btnPlanClick();
        QVERIFY(!form.findChild<TFormPlan*>());

        QCOMPARE(answers.FileRequests.size(), 1);
        const TFileRequest& request = answers.FileRequests[0];
        QVERIFY(request.Save);
        QCOMPARE(request.Title, QString("Trainingsplan weitergeben"));
        QCOMPARE(request.Filter, QString("Trainingsplan (*.kvplan)|*.kvplan"));
        QCOMPARE(request.ProposedName, QString("Trainingsplan Clara.kvplan"));
        QVERIFY(answers.Texts().last().startsWith("Der Plan ist gespeichert:\r\n" + exported));
        QVERIFY(!FileBytes(exported).isEmpty());
        QCOMPARE(FileBytes(exported), FileBytes(GetUserPlanFile(Patient)));
        // The practice trains by the plan too, but never locked.
        QVERIFY(practice.Session->PlanActive());
        QVERIFY(!practice.Session->Locked());
        QVERIFY(form.CheckBoxPlan->isEnabled());
        QVERIFY(!answers.Texts().contains(note));
    }

    TInstallation home(TOperatingMode::Patient, {Patient});
    TForm1& form = home.Open();
    QVERIFY(home.Choose(Patient));
    QVERIFY(!home.Session->Plan());
    QVERIFY(form.CheckBoxPlan->isHidden());
    QVERIFY(form.ComboSprite->isEnabled());

    answers.FileAnswers << exported;
    QString summary;
    WhenModalOpen<TFormPlan>([&summary](TFormPlan& editor) {
        ReadPlanIn(editor, summary);
        if (editor.isVisible())
            editor.reject();
    });
    form.btnPlanClick();
    QCOMPARE(answers.Texts().last(), QString("Der Trainingsplan ist eingelesen."));
    QVERIFY(summary.contains("In der Patientenversion wird nur nach diesem Plan trainiert."));

    const std::unique_ptr<TTrainingPlan> plan = LoadStoredPlan(Patient);
    QVERIFY(plan);
    QCOMPARE(plan->Patient, Patient);
    QCOMPARE(plan->Therapist, QString("Frau Berg"));
    QCOMPARE(plan->Created, QDate::currentDate().toString("dd.MM.yyyy"));
    QCOMPARE(plan->Minutes, 1);
    QVERIFY(plan->Locked);
    QCOMPARE(plan->Settings, settings);

    // Locked to the plan, its settings on the controls.
    QVERIFY(home.Session->PlanActive());
    QVERIFY(home.Session->Locked());
    QCOMPARE(form.Settings().SettingsSnapshot(), settings);
    for (QWidget* control : TwelveLockableControls(form))
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(form.KeyboardCommands().Locked());
    QVERIFY(!form.CheckBoxPlan->isHidden());
    QVERIFY(form.CheckBoxPlan->isChecked());
    QVERIFY(!form.CheckBoxPlan->isEnabled());
    QCOMPARE(form.CheckBoxPlan->text(), QString("Nach Trainingsplan trainieren (1 min)"));
    QVERIFY(!form.TrackBarDarbietungszeit->isEnabled());
    QCOMPARE(form.LabelDarbietungszeit->text(),
             QString("Darbietungszeit laut Trainingsplan: 1 min"));

    // Reading the plan in shows no note; choosing the user does, once a day.
    QCOMPARE(answers.Texts().count(note), 0);
    QVERIFY(home.Choose(Patient));
    QCOMPARE(answers.Texts().count(note), 1);
    QCOMPARE(TUserManager().GetValue(Patient, "PlanHinweis"),
             QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(home.Choose(Patient));
    QCOMPARE(answers.Texts().count(note), 1);
    // Nor after the program's next start the same day, which finds the plan locked again.
    home.Close();
    TForm1& restarted = home.Open();
    QVERIFY(home.Choose(Patient));
    QCOMPARE(answers.Texts().count(note), 1);
    QVERIFY(home.Session->Locked());
    QVERIFY(!restarted.ComboSprite->isEnabled());
    QCOMPARE(restarted.Settings().SettingsSnapshot(), settings);
    TrainByThePlan(home, settings);
}

// The patient's run ends at the plan's minute and is recorded as a plan run.
void PlanJourneyTest::TrainByThePlan(TInstallation& home, const QString& settings) {
    TForm1& form = *home.Form;
    form.btnStartStopClick();
    QCOMPARE(home.Control().FRunKind, QString("Trainingsplan"));
    QCOMPARE(form.RunState().FTimeLimitMs, Minute);
    home.RunActiveFor(Minute);
    QVERIFY(!form.RunState().IsRunning);

    QVERIFY(RunFileName(Patient).startsWith(home.Dir.path()));
    const TSessionArray runs = LoadSessions(Patient);
    QCOMPARE(runs.size(), std::size_t(1));
    QCOMPARE(runs[0].ProgramKind, QString("Trainingsplan"));
    QCOMPARE(runs[0].EndReason, QString("Zeit um"));
    QCOMPARE(runs[0].Minutes, 1.0);
    QCOMPARE(runs[0].Stimulus, SpriteNames().at(6));
    QCOMPARE(runs[0].Speed, 8);
    QCOMPARE(runs[0].Count, 35);
    QVERIFY(!runs[0].Changed);
    // The settings screen after the run: still the plan's settings, still locked.
    QCOMPARE(form.Settings().SettingsSnapshot(), settings);
    for (QWidget* control : TwelveLockableControls(form))
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
}

QTEST_MAIN(PlanJourneyTest)
#include "plan_journey_qtest.moc"
