#include "app/main_window.h"
#include "app/run_control.h"
#include "app/settings_widgets.h"
#include "common/dialog_answers.h"
#include "engine/alertness_task.h"
#include "engine/frame_loop.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "installation_fixture.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/sound_player.h"
#include "protocol/store.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::TDialogAnswers;

namespace {
using kalvero::test::Minute;

// The real main window on a fresh data folder in patient mode, with its one user chosen, a
// clock that moves only when told and no sound; runs are driven pass by pass.
struct TRecordingFixture : kalvero::test::TInstallation {
    TRecordingFixture() : TInstallation(TOperatingMode::Patient, {}) {
        OpenWindowOnly();
        UserChosen = ChooseProposed();
    }
    ~TRecordingFixture() { Form.reset(); }

    void Pause(std::int64_t ms) {
        Control().BeginPause(false);
        Clock.AdvanceMs(ms);
        Control().EndPause();
    }

    QString RunFile() const { return RunFileName(Form->CurrentUser()); }
    QString StimulusFile() const { return StimulusFileName(Form->CurrentUser()); }
    // The lines after the byte order mark, split at CR LF.
    static QStringList Lines(const QString& path) {
        QByteArray bytes;
        if (!ReadWholeFile(path, bytes))
            return {};
        if (!bytes.startsWith(Utf8Bom()))
            return {QStringLiteral("<no byte order mark>")};
        QStringList lines = QString::fromUtf8(StripUtf8Bom(bytes)).split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }
    QStringList RunFields() const {
        const QStringList lines = Lines(RunFile());
        return lines.size() < 2 ? QStringList() : lines.last().split(u';');
    }

    TDialogAnswers Answers;
    bool UserChosen = false;
};
} // namespace

class RunRecordingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void runOfThreeActiveMinutesIsStoredWithTheSettingsOfItsFirstFrame();
    void runShorterThanFiveSecondsIsNotStored();
    void alertnessRunStoresItsEvents();
    void programEndDuringARunStoresItWithProgrammende();
};

void RunRecordingWindowTest::runOfThreeActiveMinutesIsStoredWithTheSettingsOfItsFirstFrame() {
    TRecordingFixture f;
    QVERIFY(f.UserChosen);
    QVERIFY(!QFile::exists(f.RunFile()));
    f.Form->TrackBarSpeed->SetPosition(7);
    f.Form->RadioGroupDirection->SetItemIndex(1);
    f.Form->checkboxVerfolger->SetChecked(true);
    f.Control().btnStartStopClick();
    f.AdvanceAndPass(16); // the first frame
    f.Form->TrackBarSpeed->SetPosition(12);

    f.AdvanceAndPass(Minute - 16);
    f.Pause(30000);
    f.AdvanceAndPass(Minute);
    f.Pause(30000);
    f.AdvanceAndPass(Minute);
    f.Control().btnStartStopClick();

    const QStringList lines = TRecordingFixture::Lines(f.RunFile());
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(QStringLiteral("Datum;Beginn;Dauer (min);Programm;")));
    const QStringList fields = lines[1].split(u';');
    QCOMPARE(fields.size(), 31);
    QCOMPARE(fields[2], QString("3,0"));
    QCOMPARE(fields.mid(3, 2), QStringList({"Einstellungen", ""}));
    QCOMPARE(fields[5], f.Form->ComboBackground->itemText(0));
    QCOMPARE(fields.mid(6, 7),
             QStringList({"Hummel", "40", "7", "nach rechts", "gleich", "ja", "aus"}));
    QCOMPARE(fields.mid(13, 14), QStringList(14, QString()));
    QCOMPARE(fields.mid(27, 4), QStringList({"2", "Stopp", "nein", "nein"}));
    QVERIFY(!QFile::exists(f.StimulusFile()));
}

void RunRecordingWindowTest::runShorterThanFiveSecondsIsNotStored() {
    TRecordingFixture f;
    QVERIFY(f.UserChosen);
    f.Control().btnStartStopClick();
    f.AdvanceAndPass(16);
    f.AdvanceAndPass(4900 - 16);
    f.Control().StopRun(QStringLiteral("Esc"));
    QVERIFY(!f.Form->RunState().IsRunning);
    QVERIFY(!QFile::exists(f.RunFile()));

    f.Control().btnStartStopClick();
    f.AdvanceAndPass(5000);
    f.Control().StopRun(QStringLiteral("Esc"));
    QCOMPARE(f.RunFields().value(28), QString("Esc"));
    QCOMPARE(TRecordingFixture::Lines(f.RunFile()).size(), 2);
}

void RunRecordingWindowTest::alertnessRunStoresItsEvents() {
    TRecordingFixture f;
    QVERIFY(f.UserChosen);
    f.Form->RadioGroupAlertness->SetItemIndex(1);
    f.Control().btnStartStopClick();
    TAlertnessTask& alertness = f.Form->Alertness();
    alertness.SpaceBar(); // nothing shown yet: a false alarm
    for (int i = 0; i < 200 && !alertness.IsShown(); ++i)
        f.AdvanceAndPass(16);
    QVERIFY(alertness.IsShown());
    f.AdvanceAndPass(16); // drawn: its onset is taken
    f.Clock.AdvanceMs(400);
    alertness.SpaceBar();
    f.AdvanceAndPass(6000);
    f.Control().btnStartStopClick();
    QCOMPARE(f.Answers.Messages.size(), 1); // the alertness result

    QCOMPARE(f.RunFields().mid(12, 6), QStringList({"Stern", "1", "1", "0", "1", "2"}));
    const QStringList lines = TRecordingFixture::Lines(f.StimulusFile());
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0],
             QString("Datum;Beginn;Nr;Zeit (s);Stufe;Position (%);Seite;Ergebnis;RZ (ms)"));
    QVERIFY(lines[1].endsWith(QStringLiteral(";1;0,0;;;;Fehlreaktion;")));
    QVERIFY2(lines[2].contains(QStringLiteral(";Reaktion;4")), qPrintable(lines[2]));
}

void RunRecordingWindowTest::programEndDuringARunStoresItWithProgrammende() {
    TRecordingFixture f;
    QVERIFY(f.UserChosen);
    const QString runFile = f.RunFile();
    f.Control().btnStartStopClick();
    f.AdvanceAndPass(8000);
    f.Control().BeginPause(false);
    f.Clock.AdvanceMs(4000);
    f.Form.reset();

    const QStringList lines = TRecordingFixture::Lines(runFile);
    QCOMPARE(lines.size(), 2);
    const QStringList fields = lines[1].split(u';');
    QCOMPARE(fields[2], QString("0,1"));
    QCOMPARE(fields[27], QString("1"));
    QCOMPARE(fields[28], QString("Programmende"));
}

QTEST_MAIN(RunRecordingWindowTest)
#include "run_recording_qtest.moc"
