#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "protocol/lines.h"
#include "protocol/store.h"
#include "protocol/text_file.h"
#include "users/data_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

const QByteArray Bom("\xEF\xBB\xBF");

QByteArray Bytes(const QString& path) {
    QByteArray data;
    ReadWholeFile(path, data);
    return data;
}

TSessionRec MakeRun(const QDateTime& start, std::int32_t count) {
    TSessionRec run;
    run.Start = start;
    run.Minutes = 12.25;
    run.ProgramKind = "Einstellungen";
    run.Background = "Wiese";
    run.Stimulus = "Fisch";
    run.Count = count;
    run.Speed = 3;
    run.Direction = "nach links";
    run.SpeedMode = "gleich";
    run.Alertness = "aus";
    run.EndReason = "Esc";
    return run;
}

QDateTime At(int hour, int minute) {
    return QDateTime(QDate(2025, 3, 7), QTime(hour, minute, 0));
}

std::vector<std::int32_t> Counts(const TSessionArray& runs) {
    std::vector<std::int32_t> counts;
    for (const TSessionRec& run : runs)
        counts.push_back(run.Count);
    return counts;
}

class StoreTest : public testing::Test {
protected:
    StoreTest() : FStore(FDir.filePath("Protokolle")) {}
    QTemporaryDir FDir;
    TProtocolStore FStore;
};

TEST_F(StoreTest, FileNamesPerUser) {
    EXPECT_EQ(FStore.RunFileName("Anna"), FDir.filePath("Protokolle/Anna.csv"));
    EXPECT_EQ(FStore.StimulusFileName("Anna"), FDir.filePath("Protokolle/Anna_Reize.csv"));
    EXPECT_EQ(FStore.SearchTestFileName("Anna"), FDir.filePath("Protokolle/Anna_Suchaufgabe.csv"));
    EXPECT_EQ(FStore.RunFileName(QString::fromUtf8("M\xC3\xBCller/Meier")),
              FDir.filePath(QString::fromUtf8("Protokolle/M\xC3\xBCller_Meier.csv")));
}

TEST_F(StoreTest, FirstRunOfNewUserCreatesRunFileWithBomHeaderAndLine) {
    FStore.AppendSession("Anna", MakeRun(At(10, 0), 20), {});
    EXPECT_EQ(Bytes(FStore.RunFileName("Anna")),
              Bom + RunFileHeader().toUtf8() +
                  "\r\n07.03.2025;10:00:00;12,3;Einstellungen;;Wiese;Fisch;20;3;nach links;"
                  "gleich;nein;aus;;;;;;;;;;;;;;;0;Esc;nein;nein\r\n");
    EXPECT_FALSE(QFile::exists(FStore.StimulusFileName("Anna"))); // no events, no file
}

TEST_F(StoreTest, StimulusLinesGoToTheStimulusFileInOrder) {
    TSessionRec run = MakeRun(QDateTime(QDate(2025, 3, 7), QTime(9, 5, 30)), 30);
    run.Alertness = "Stern";
    FStore.AppendSession("Anna", run,
                         {{1, 12.25, 1, 63, soHit, 512},
                          {2, 15.0, 0, -1, soFalseAlarm, -1},
                          {3, 20.75, 2, 30, soMiss, -1}});
    EXPECT_EQ(Bytes(FStore.StimulusFileName("Anna")),
              Bom + "Datum;Beginn;Nr;Zeit (s);Stufe;Position (%);Seite;Ergebnis;RZ (ms)\r\n"
                    "07.03.2025;09:05:30;1;12,3;1;63;rechts;Reaktion;512\r\n"
                    "07.03.2025;09:05:30;2;15,0;;;;Fehlreaktion;\r\n"
                    "07.03.2025;09:05:30;3;20,8;2;30;links;ausgelassen;\r\n");
}

TEST_F(StoreTest, BlankUserWritesNothing) {
    FStore.AppendSession("  \t", MakeRun(At(10, 0), 1), {{1, 1.0, 1, 10, soHit, 300}});
    TSearchTestRec test;
    test.Start = At(10, 0);
    FStore.AppendSearchTest(" ", test);
    EXPECT_FALSE(QDir(FDir.filePath("Protokolle")).exists());
}

TEST_F(StoreTest, LoadSessionsSortsStablyAndSkipsBadLines) {
    const QString file = FStore.RunFileName("Anna");
    const QString good = SessionLine(MakeRun(At(11, 0), 3));
    WriteTextFile(file, JoinLines({RunFileHeader(), SessionLine(MakeRun(At(12, 0), 4)), good,
                                   SessionLine(MakeRun(At(10, 0), 1)), "kaputt",
                                   SessionLine(MakeRun(At(11, 0), 2)), good.left(40)}));
    WriteTextFile(PendingFileName(file), JoinLines({SessionLine(MakeRun(At(11, 0), 5)),
                                                    SessionLine(MakeRun(At(9, 0), 0))}));
    EXPECT_EQ(Counts(FStore.LoadSessions("Anna")), (std::vector<std::int32_t>{0, 1, 3, 2, 5, 4}));
}

TEST_F(StoreTest, MinutesReadBackWithPointOrComma) {
    const QString file = FStore.RunFileName("Anna");
    QString line = SessionLine(MakeRun(At(10, 0), 1));
    WriteTextFile(file, JoinLines({QString(line).replace("12,3", "12.5"),
                                   QString(line).replace("12,3", "12,5")}));
    const TSessionArray runs = FStore.LoadSessions("Anna");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_DOUBLE_EQ(runs[0].Minutes, 12.5);
    EXPECT_DOUBLE_EQ(runs[1].Minutes, 12.5);
}

TEST_F(StoreTest, RunsWhileFileIsHeldWaitAndShowThenLandInOrder) {
    const QString file = FStore.RunFileName("Anna");
    FStore.AppendSession("Anna", MakeRun(At(9, 0), 1), {});
    {
        TLockedFile spreadsheet;
        ASSERT_EQ(spreadsheet.Open(file, false), TLockResult::Locked);
        FStore.AppendSession("Anna", MakeRun(At(10, 0), 2), {});
        FStore.AppendSession("Anna", MakeRun(At(11, 0), 3), {});
        EXPECT_TRUE(QFile::exists(PendingFileName(file)));
        EXPECT_EQ(Counts(FStore.LoadSessions("Anna")), (std::vector<std::int32_t>{1, 2, 3}));
    }
    FStore.AppendSession("Anna", MakeRun(At(12, 0), 4), {});
    EXPECT_FALSE(QFile::exists(PendingFileName(file)));
    QStringList lines;
    ReadLines(lines, file);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], RunFileHeader());
    EXPECT_EQ(Counts(FStore.LoadSessions("Anna")), (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST_F(StoreTest, SearchTestsRoundTripSorted) {
    TSearchTestRec before;
    before.Start = before.Pair = At(9, 0);
    before.Phase = "vorher";
    before.Target = "K";
    before.TargetsLeft = before.TargetsRight = 8;
    before.FoundLeft = 7;
    before.FoundRight = 8;
    before.TimeSec = 61.4;
    before.AllFoundSec = -1;
    before.EndReason = "Fertig";
    TSearchTestRec after = before;
    after.Start = At(9, 20);
    after.Phase = "nachher";
    after.FoundLeft = 8;
    after.AllFoundSec = 58.5;
    after.TrainingMin = 12.5;
    FStore.AppendSearchTest("Anna", after);
    FStore.AppendSearchTest("Anna", before);
    const TSearchTestArray tests = FStore.LoadSearchTests("Anna");
    ASSERT_EQ(tests.size(), 2u);
    EXPECT_EQ(SearchTestLine(tests[0]), SearchTestLine(before));
    EXPECT_EQ(SearchTestLine(tests[1]), SearchTestLine(after));
    QStringList lines;
    ReadLines(lines, FStore.SearchTestFileName("Anna"));
    EXPECT_EQ(lines.value(0), SearchTestFileHeader());
}

TEST_F(StoreTest, FreeFunctionsUseTheDataFolder) {
    OverrideDataFolder(FDir.path());
    EXPECT_EQ(RunFileName("Anna"), FDir.filePath("Protokolle/Anna.csv"));
    AppendSession("Anna", MakeRun(At(10, 0), 7), {});
    EXPECT_EQ(Counts(LoadSessions("Anna")), std::vector<std::int32_t>{7});
    EXPECT_EQ(Counts(FStore.LoadSessions("Anna")), std::vector<std::int32_t>{7});
    OverrideDataFolder(QString());
}

} // namespace
} // namespace kalvero
