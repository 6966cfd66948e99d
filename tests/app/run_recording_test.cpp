#include "app/run_recording.h"

#include "engine/alertness_task.h"
#include "engine/frame_loop.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "engine/training_settings.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

const char RunHeader[] =
    "Datum;Beginn;Dauer (min);Programm;Name;Hintergrund;Reize;Anzahl;Geschwindigkeit;Richtung;"
    "Tempo;Verfolger;Alertness;Alertnessreize;Reaktionen;Ausgelassen;Fehlreaktionen;Endstufe;"
    "Höchste Stufe;RZ Mittel (ms);RZ Median (ms);Reize links;Reaktionen links;RZ Median links "
    "(ms);Reize rechts;Reaktionen rechts;RZ Median rechts (ms);Pausen;Ende;Verstellt;Demo";

// The run control as the recording reads it.
class TFakeRun final : public TRecordedRun, public TRunHooks {
public:
    QDateTime RunStart() const override { return Start; }
    QString RunKind() const override { return Kind; }
    QString RunName() const override { return Name; }
    std::int32_t PauseCount() const override { return Pauses; }
    QString CurrentUser() const override { return User; }

    void CaptureRunSettings() override {}
    std::int64_t ActiveElapsedMs() const override { return ActiveMs; }
    void StopRun() override {}
    void BeginPause(bool) override {}

    QDateTime Start{QDate(2025, 3, 7), QTime(9, 5, 30)};
    QString Kind = QStringLiteral("Profil");
    QString Name = QStringLiteral("Standard");
    std::int32_t Pauses = 0;
    QString User = QStringLiteral("Anna");
    std::int64_t ActiveMs = 0;
};

class RunRecordingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FFolder.isValid()); }

    QString RunFile() const { return FFolder.filePath(QStringLiteral("Anna.csv")); }
    QString StimulusFile() const { return FFolder.filePath(QStringLiteral("Anna_Reize.csv")); }

    // The file's lines after its byte order mark; empty when there is no file.
    QStringList FileLines(const QString& path) const {
        QByteArray bytes;
        if (!ReadWholeFile(path, bytes))
            return {};
        EXPECT_TRUE(bytes.startsWith(Utf8Bom()));
        QStringList lines = QString::fromUtf8(StripUtf8Bom(bytes)).split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.takeLast(), QString()) << "every line ends with CR LF";
        return lines;
    }
    QStringList RunFields(int line = 1) const {
        const QStringList lines = FileLines(RunFile());
        return line < lines.size() ? lines[line].split(u';') : QStringList();
    }

    void Record(TStimOutcome outcome, int step, int posPct, int rtMs) {
        const int nr = static_cast<int>(FAlertness.FStim.size()) + 1;
        FAlertness.FStim.push_back({nr, nr * 2.5, step, posPct, outcome, rtMs});
    }

    TSessionRec RunFor(std::int64_t activeMs) {
        FRecorder.CaptureRunSettings();
        FSource.ActiveMs = activeMs;
        return FRecorder.FinishRunRecord();
    }

    QTemporaryDir FFolder;
    TPlainSettingsControls FControls{3};
    TRunState FRunState;
    TAlertnessTask FAlertness;
    TFakeRun FSource;
    TRunRecorder FRecorder{
        TRunRecorderParts{FControls, [](int i) { return QStringLiteral("Wiese %1").arg(i); },
                          FRunState, FSource, FAlertness, FSource},
        TProtocolStore(FFolder.path())};
};

struct TStoreCase {
    std::int64_t ActiveMs;
    const char* User;
    bool Stored;
};

class RunRecordingStoreTest : public RunRecordingTest,
                              public ::testing::WithParamInterface<TStoreCase> {};

TEST_P(RunRecordingStoreTest, StoresRunsOfFiveSecondsWithAUser) {
    FSource.User = QString::fromUtf8(GetParam().User);
    FSource.ActiveMs = GetParam().ActiveMs;
    FRecorder.CaptureRunSettings();
    FRecorder.FinishRunRecord();
    EXPECT_EQ(QFile::exists(RunFile()), GetParam().Stored);
    EXPECT_EQ(QDir(FFolder.path()).entryList(QDir::Files).isEmpty(), !GetParam().Stored);
}

INSTANTIATE_TEST_SUITE_P(ActiveTimeAndUser, RunRecordingStoreTest,
                         ::testing::Values(TStoreCase{4900, "Anna", false},
                                           TStoreCase{4999, "Anna", false},
                                           TStoreCase{5000, "Anna", true},
                                           TStoreCase{600000, "", false},
                                           TStoreCase{600000, "  ", false}));

TEST_F(RunRecordingTest, ShortRunStillGivesTheRecordForTheResultMessage) {
    FControls.RadioGroupAlertness().SetItemIndex(1);
    FAlertness.AlertnessVars.CurrentStep = 2;
    Record(soHit, 1, 70, 480);
    Record(soMiss, 2, 20, -1);
    const TSessionRec run = RunFor(4900);
    EXPECT_FALSE(QFile::exists(RunFile()));
    EXPECT_EQ(run.Hits, 1);
    EXPECT_EQ(run.Misses, 1);
    EXPECT_EQ(run.ShownLeft, 1);
    EXPECT_EQ(run.RtRight, 480);
    EXPECT_EQ(run.EndStep, 3);
    EXPECT_DOUBLE_EQ(run.Minutes, 4900.0 / 60000.0);
}

TEST_F(RunRecordingTest, FirstRunOfANewUserCreatesTheFileWithHeader) {
    FSource.Pauses = 2;
    FRunState.FStopReason = QStringLiteral("Zeit um");
    RunFor(180000); // three minutes of active time; the pauses are not in it
    const QStringList lines = FileLines(RunFile());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString::fromUtf8(RunHeader));
    EXPECT_EQ(lines[1], QStringLiteral("07.03.2025;09:05:30;3,0;Profil;Standard;Wiese 0;Hummel;40;"
                                       "5;nach links;gleich;nein;aus;;;;;;;;;;;;;;;2;Zeit um;nein;"
                                       "nein"));
    EXPECT_FALSE(QFile::exists(StimulusFile())) << "no alertness events, no stimulus file";
}

TEST_F(RunRecordingTest, CapturesTheSettingsOfTheFirstFrame) {
    FSource.Kind = QStringLiteral("Einstellungen");
    FSource.Name.clear();
    FControls.ComboBackground().SetItemIndex(2);
    FControls.ComboSprite().SetItemIndex(1);
    FControls.TrackBarNumberOfSprites().SetPosition(150);
    FControls.TrackBarSpeed().SetPosition(20);
    FControls.RadioGroupDirection().SetItemIndex(1);
    FControls.RadioGroupSameSpeed().SetItemIndex(1);
    FControls.checkboxVerfolger().SetChecked(true);
    FControls.RadioGroupAlertness().SetItemIndex(3);
    FRecorder.CaptureRunSettings();
    EXPECT_TRUE(FRunState.FRunCaptured);

    // Later changes (keys during the run) only mark the run as changed.
    FControls.TrackBarSpeed().SetPosition(3);
    FControls.RadioGroupDirection().SetItemIndex(0);
    FRecorder.MarkChanged();
    FSource.ActiveMs = 60000;
    const TSessionRec run = FRecorder.FinishRunRecord();

    EXPECT_EQ(run.Start, FSource.Start);
    EXPECT_EQ(run.ProgramKind, QStringLiteral("Einstellungen"));
    EXPECT_EQ(run.ProgramName, QString());
    EXPECT_EQ(run.Background, QStringLiteral("Wiese 2"));
    EXPECT_EQ(run.Stimulus, SpriteNames()[1]);
    EXPECT_EQ(run.Count, 150);
    EXPECT_EQ(run.Speed, 20);
    EXPECT_EQ(run.Direction, QStringLiteral("nach rechts"));
    EXPECT_EQ(run.SpeedMode, QStringLiteral("unterschiedlich"));
    EXPECT_TRUE(run.Follower);
    EXPECT_EQ(run.Alertness, QStringLiteral("Smiley"));
    EXPECT_TRUE(run.Changed);
    EXPECT_EQ(RunFields().value(29), QStringLiteral("ja"));
}

TEST_F(RunRecordingTest, NoSelectionGivesEmptyNames) {
    FControls.ComboBackground().SetItemIndex(-1);
    FControls.ComboSprite().SetItemIndex(-1);
    FControls.RadioGroupAlertness().SetItemIndex(-1);
    const TSessionRec run = RunFor(1000);
    EXPECT_EQ(run.Background, QString());
    EXPECT_EQ(run.Stimulus, QString());
    EXPECT_EQ(run.Alertness, QStringLiteral("aus"));
}

TEST(AlertnessProtocolNameTest, ItemsOutsideTheTableAreOff) {
    const QStringList expected{"aus", "aus", "Stern", "Papierdrache", "Smiley", "aus"};
    for (int item = -1; item <= 4; ++item)
        EXPECT_EQ(AlertnessProtocolName(item), expected[item + 1]) << item;
}

struct TReasonCase {
    const char* StopReason;
    const char* EndReason;
};

class RunRecordingReasonTest : public RunRecordingTest,
                               public ::testing::WithParamInterface<TReasonCase> {};

TEST_P(RunRecordingReasonTest, EndReasonIsStoredOrBeendet) {
    FRunState.FStopReason = QString::fromUtf8(GetParam().StopReason);
    EXPECT_EQ(RunFor(6000).EndReason, QString::fromUtf8(GetParam().EndReason));
    EXPECT_EQ(RunFields().value(28), QString::fromUtf8(GetParam().EndReason));
}

INSTANTIATE_TEST_SUITE_P(Reasons, RunRecordingReasonTest,
                         ::testing::Values(TReasonCase{"", "beendet"}, TReasonCase{"Esc", "Esc"},
                                           TReasonCase{"Stopp", "Stopp"},
                                           TReasonCase{"Programmende", "Programmende"}));

struct TAlertnessCase {
    int FirstFrameItem;
    bool Events;
    const char* Stored;
};

class RunRecordingAlertnessTest : public RunRecordingTest,
                                  public ::testing::WithParamInterface<TAlertnessCase> {};

TEST_P(RunRecordingAlertnessTest, EventsWithTheTaskOffAtTheFirstFrameGiveWechselnd) {
    FControls.RadioGroupAlertness().SetItemIndex(GetParam().FirstFrameItem);
    FRecorder.CaptureRunSettings();
    // Key A switches the task on after the first frame.
    FControls.RadioGroupAlertness().SetItemIndex(1);
    if (GetParam().Events)
        Record(soHit, 1, 60, 400);
    FSource.ActiveMs = 10000;
    const TSessionRec run = FRecorder.FinishRunRecord();
    EXPECT_EQ(run.Alertness, QString::fromUtf8(GetParam().Stored));
    EXPECT_EQ(RunFields().value(12), QString::fromUtf8(GetParam().Stored));
}

INSTANTIATE_TEST_SUITE_P(FirstFrameAndEvents, RunRecordingAlertnessTest,
                         ::testing::Values(TAlertnessCase{0, true, "wechselnd"},
                                           TAlertnessCase{0, false, "aus"},
                                           TAlertnessCase{1, false, "Stern"},
                                           TAlertnessCase{2, true, "Papierdrache"}));

TEST_F(RunRecordingTest, AlertnessRunWithoutStimulusShownCountsZero) {
    FControls.RadioGroupAlertness().SetItemIndex(1);
    const TSessionRec run = RunFor(6000);
    EXPECT_EQ(run.Alertness, QStringLiteral("Stern"));
    EXPECT_EQ(run.Shown, 0);
    EXPECT_EQ(run.EndStep, 1);
    const QStringList fields = RunFields();
    ASSERT_EQ(fields.size(), 31);
    EXPECT_EQ(fields.mid(13, 6), QStringList({"0", "0", "0", "0", "1", "0"}));
    EXPECT_EQ(fields.mid(19, 2), QStringList({"", ""})) << "no reaction times";
}

TEST_F(RunRecordingTest, AlertnessRunWritesItsStimulusLines) {
    FControls.RadioGroupAlertness().SetItemIndex(1);
    FAlertness.AlertnessVars.CurrentStep = 1;
    Record(soHit, 1, 63, 512);
    Record(soFalseAlarm, 0, -1, -1);
    Record(soMiss, 2, 30, -1);
    const TSessionRec run = RunFor(125000);

    EXPECT_EQ(run.Shown, 2);
    EXPECT_EQ(run.FalseAlarms, 1);
    EXPECT_EQ(run.MaxStep, 2);
    EXPECT_EQ(run.EndStep, 2);
    EXPECT_EQ(RunFields().mid(12, 9),
              QStringList({"Stern", "2", "1", "1", "1", "2", "2", "512", "512"}));
    const QStringList lines = FileLines(StimulusFile());
    EXPECT_EQ(lines,
              QStringList({"Datum;Beginn;Nr;Zeit (s);Stufe;Position (%);Seite;Ergebnis;RZ (ms)",
                           "07.03.2025;09:05:30;1;2,5;1;63;rechts;Reaktion;512",
                           "07.03.2025;09:05:30;2;5,0;;;;Fehlreaktion;",
                           "07.03.2025;09:05:30;3;7,5;2;30;links;ausgelassen;"}));
}

TEST_F(RunRecordingTest, RunEndedBeforeItsFirstFrameIsCapturedAtTheEnd) {
    FControls.TrackBarSpeed().SetPosition(9);
    FSource.ActiveMs = 7000;
    const TSessionRec run = FRecorder.FinishRunRecord();
    EXPECT_TRUE(FRunState.FRunCaptured);
    EXPECT_EQ(run.Speed, 9);
    EXPECT_EQ(run.ProgramKind, QStringLiteral("Profil"));
    EXPECT_EQ(FileLines(RunFile()).size(), 2);
}

// Regression: a second finishing call for the same run (stop, then program end) must not add a
// second line.
TEST_F(RunRecordingTest, ARunIsStoredOnce) {
    const TSessionRec first = RunFor(8000);
    FSource.ActiveMs = 9000;
    const TSessionRec second = FRecorder.FinishRunRecord();
    EXPECT_DOUBLE_EQ(second.Minutes, first.Minutes);
    EXPECT_EQ(FileLines(RunFile()).size(), 2);
}

TEST_F(RunRecordingTest, EachRunAfterAResetIsStored) {
    RunFor(8000);
    FRecorder.ResetRunRecord();
    EXPECT_FALSE(FRunState.FRunCaptured);
    FSource.Start = FSource.Start.addSecs(600);
    RunFor(6000);
    // A run control that only clears FRunCaptured at the start still gets the run stored.
    FRunState.FRunCaptured = false;
    FSource.Start = FSource.Start.addSecs(600);
    RunFor(6000);
    const QStringList lines = FileLines(RunFile());
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("07.03.2025;09:15:30;0,1;")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("07.03.2025;09:25:30;0,1;")));
}

TEST_F(RunRecordingTest, ResetClearsTheChangedFlag) {
    FRecorder.MarkChanged();
    FRecorder.ResetRunRecord();
    EXPECT_FALSE(RunFor(6000).Changed);
}

} // namespace
} // namespace kalvero
