#include "protocol/lines.h"

#include <gtest/gtest.h>

namespace kalvero {
namespace {

QDateTime At(int day, int hour, int minute, int second) {
    return QDateTime(QDate(2025, 3, day), QTime(hour, minute, second));
}

TSessionRec RunWithAlertness() {
    TSessionRec run;
    run.Start = At(7, 9, 5, 30);
    run.Minutes = 12.5;
    run.ProgramKind = "Profil";
    run.ProgramName = "Standard";
    run.Background = "Wiese";
    run.Stimulus = "Hummel";
    run.Count = 30;
    run.Speed = 5;
    run.Direction = "nach rechts";
    run.SpeedMode = "gleich";
    run.Alertness = "Stern";
    run.Shown = 20;
    run.Hits = 18;
    run.Misses = 2;
    run.FalseAlarms = 1;
    run.EndStep = 4;
    run.MaxStep = 5;
    run.RtMean = 512;
    run.RtMedian = 498;
    run.ShownLeft = 10;
    run.HitsLeft = 9;
    run.RtLeft = 480;
    run.ShownRight = 10;
    run.HitsRight = 9;
    run.RtRight = 520;
    run.Pauses = 1;
    run.EndReason = "Zeit um";
    return run;
}

TSessionRec RunWithoutAlertness() {
    TSessionRec run;
    run.Start = At(7, 10, 0, 0);
    run.Minutes = 5.0;
    run.ProgramKind = "Einstellungen";
    run.Background = "Wiese";
    run.Stimulus = "Fisch";
    run.Count = 20;
    run.Speed = 3;
    run.Direction = "nach links";
    run.SpeedMode = "unterschiedlich";
    run.Follower = true;
    run.Alertness = "aus";
    run.EndStep = 1;
    run.RtMean = -1;
    run.EndReason = "Esc";
    return run;
}

TSearchTestRec TestBefore() {
    TSearchTestRec test;
    test.Start = At(7, 9, 0, 10);
    test.Pair = test.Start;
    test.Phase = "vorher";
    test.Target = "K";
    test.Items = 60;
    test.TargetsLeft = 8;
    test.TargetsRight = 8;
    test.FoundLeft = 7;
    test.FoundRight = 8;
    test.Wrong = 2;
    test.TimeSec = 61.4;
    test.AllFoundSec = -1;
    test.EndReason = "Fertig";
    return test;
}

TSearchTestRec TestAfter() {
    TSearchTestRec test;
    test.Start = At(7, 9, 20, 5);
    test.Pair = At(7, 9, 0, 10);
    test.Phase = "nachher";
    test.Target = "K";
    test.Items = 60;
    test.TargetsLeft = 8;
    test.TargetsRight = 8;
    test.FoundLeft = 8;
    test.FoundRight = 8;
    test.TimeSec = 58.5;
    test.AllFoundSec = 58.5;
    test.EndReason = "Fertig";
    test.TrainingMin = 12.5;
    return test;
}

const char* const RunLineWithAlertness =
    "07.03.2025;09:05:30;12,5;Profil;Standard;Wiese;Hummel;30;5;nach rechts;gleich;nein;Stern;20;"
    "18;2;1;4;5;512;498;10;9;480;10;9;520;1;Zeit um;nein;nein";
const char* const RunLineWithoutAlertness =
    "07.03.2025;10:00:00;5,0;Einstellungen;;Wiese;Fisch;20;3;nach links;unterschiedlich;ja;aus;;;;"
    ";;;;;;;;;;;0;Esc;nein;nein";
const char* const SearchLineBefore =
    "07.03.2025;09:00:10;07.03.2025 09:00:10;vorher;K;60;8;8;7;8;1;0;2;61,4;;Fertig;";
const char* const SearchLineAfter =
    "07.03.2025;09:20:05;07.03.2025 09:00:10;nachher;K;60;8;8;8;8;0;0;0;58,5;58,5;Fertig;12,5";

TEST(SessionLine, WorkedExamples) {
    EXPECT_EQ(SessionLine(RunWithAlertness()), QString::fromUtf8(RunLineWithAlertness));
    EXPECT_EQ(SessionLine(RunWithoutAlertness()), QString::fromUtf8(RunLineWithoutAlertness));
}

TEST(SessionLine, AlertnessOffInAnyCaseOrEmptyLeavesFourteenEmptyFields) {
    for (const char* off : {"AUS", ""}) {
        TSessionRec run = RunWithoutAlertness();
        run.Alertness = off;
        const QStringList fields = SessionLine(run).split(';');
        ASSERT_EQ(fields.size(), 31);
        for (int i = 13; i < 27; ++i)
            EXPECT_TRUE(fields[i].isEmpty()) << off << " column " << i + 1;
    }
}

TEST(SessionLine, MissingReactionTimesAreEmptyAndCountsZero) {
    TSessionRec run = RunWithAlertness();
    run.Shown = run.Misses = 2;
    run.Hits = run.HitsLeft = run.HitsRight = run.FalseAlarms = 0;
    run.RtMean = run.RtMedian = run.RtLeft = run.RtRight = -1;
    const QStringList fields = SessionLine(run).split(';');
    EXPECT_EQ(fields.mid(13, 14),
              (QStringList{"2", "0", "2", "0", "4", "5", "", "", "10", "0", "", "10", "0", ""}));
}

TEST(SessionLine, SeparatorAndLineBreakInNameStayInOneField) {
    TSessionRec run = RunWithAlertness();
    run.ProgramName = "Plan;A\r\nB";
    const QString line = SessionLine(run);
    EXPECT_EQ(line.split(';').size(), 31);
    EXPECT_EQ(line.split(';')[4], QStringLiteral("Plan,A  B"));
}

TEST(StimulusLine, HitFalseAlarmAndMiss) {
    const TSessionRec run = RunWithAlertness();
    EXPECT_EQ(StimulusLine(run, {1, 12.25, 1, 63, soHit, 512}),
              QStringLiteral("07.03.2025;09:05:30;1;12,3;1;63;rechts;Reaktion;512"));
    EXPECT_EQ(StimulusLine(run, {2, 15.0, 0, -1, soFalseAlarm, -1}),
              QStringLiteral("07.03.2025;09:05:30;2;15,0;;;;Fehlreaktion;"));
    EXPECT_EQ(StimulusLine(run, {3, 20.75, 2, 30, soMiss, -1}),
              QStringLiteral("07.03.2025;09:05:30;3;20,8;2;30;links;ausgelassen;"));
}

TEST(SearchTestLine, WorkedExamples) {
    EXPECT_EQ(SearchTestLine(TestBefore()), QString::fromUtf8(SearchLineBefore));
    EXPECT_EQ(SearchTestLine(TestAfter()), QString::fromUtf8(SearchLineAfter));
}

TEST(ParseSessionLine, ReadsWorkedExamplesBack) {
    TSessionRec run;
    ASSERT_TRUE(ParseSessionLine(QString::fromUtf8(RunLineWithAlertness), run));
    EXPECT_EQ(SessionLine(run), QString::fromUtf8(RunLineWithAlertness));
    EXPECT_EQ(run.Start, At(7, 9, 5, 30));
    EXPECT_DOUBLE_EQ(run.Minutes, 12.5);
    EXPECT_EQ(run.RtRight, 520);

    ASSERT_TRUE(ParseSessionLine(QString::fromUtf8(RunLineWithoutAlertness), run));
    EXPECT_TRUE(run.Follower);
    EXPECT_EQ(run.Shown, 0);
    EXPECT_EQ(run.EndStep, 0);
    EXPECT_EQ(run.RtMean, -1);
    EXPECT_EQ(run.RtMedian, -1);
    EXPECT_EQ(run.RtLeft, -1);
    EXPECT_EQ(run.RtRight, -1);
    EXPECT_EQ(run.ProgramName, QString());
    EXPECT_EQ(run.EndReason, QStringLiteral("Esc"));
}

TEST(ParseSessionLine, PointOrCommaAndTrimmedNumbersUntrimmedTexts) {
    QString line = QString::fromUtf8(RunLineWithAlertness);
    line.replace("12,5;Profil;Standard", "12.5;Profil; Standard ");
    line.replace(";30;5;", "; 30 ;5;");
    line.replace(";nein;nein", ";JA;nein;extra;columns");
    TSessionRec run;
    ASSERT_TRUE(ParseSessionLine(line, run));
    EXPECT_DOUBLE_EQ(run.Minutes, 12.5);
    EXPECT_EQ(run.ProgramName, QStringLiteral(" Standard "));
    EXPECT_EQ(run.Count, 30);
    EXPECT_TRUE(run.Changed);
    EXPECT_FALSE(run.Demo);
}

TEST(ParseSessionLine, RejectsHeaderShortLinesAndBadDates) {
    const QString good = QString::fromUtf8(RunLineWithAlertness);
    TSessionRec run;
    EXPECT_FALSE(ParseSessionLine(RunFileHeader(), run));
    EXPECT_FALSE(ParseSessionLine(good.section(';', 0, 29), run)); // 30 fields
    EXPECT_FALSE(ParseSessionLine(QString(good).replace(0, 10, "07.03.1999"), run));
    EXPECT_FALSE(ParseSessionLine(QString(good).replace(11, 8, "25:05:30"), run));
    EXPECT_FALSE(ParseSessionLine(QString(good).replace(0, 10, "31.04.2024"), run));
    EXPECT_TRUE(ParseSessionLine(QString(good).replace(11, 8, "09:05"), run));
    EXPECT_EQ(run.Start, At(7, 9, 5, 0));
}

TEST(ParseSearchTestLine, ReadsWorkedExamplesBack) {
    TSearchTestRec test;
    ASSERT_TRUE(ParseSearchTestLine(QString::fromUtf8(SearchLineBefore), test));
    EXPECT_EQ(SearchTestLine(test), QString::fromUtf8(SearchLineBefore));
    EXPECT_DOUBLE_EQ(test.AllFoundSec, -1.0);
    EXPECT_DOUBLE_EQ(test.TrainingMin, 0.0);
    ASSERT_TRUE(ParseSearchTestLine(QString::fromUtf8(SearchLineAfter), test));
    EXPECT_EQ(SearchTestLine(test), QString::fromUtf8(SearchLineAfter));
    EXPECT_EQ(test.Pair, At(7, 9, 0, 10));
    EXPECT_DOUBLE_EQ(test.TrainingMin, 12.5);
}

TEST(ParseSearchTestLine, UnreadablePairFallsBackToStartAndShortLinesFail) {
    QString line = QString::fromUtf8(SearchLineAfter);
    line.replace("07.03.2025 09:00:10", "gestern");
    TSearchTestRec test;
    ASSERT_TRUE(ParseSearchTestLine(line, test));
    EXPECT_EQ(test.Pair, test.Start);
    EXPECT_FALSE(ParseSearchTestLine(SearchTestFileHeader(), test));
    EXPECT_FALSE(ParseSearchTestLine(QString::fromUtf8(SearchLineAfter).section(';', 0, 15), test));
}

TEST(Headers, ExactColumnCounts) {
    EXPECT_EQ(RunFileHeader().count(';'), 30);
    EXPECT_EQ(StimulusFileHeader().count(';'), 8);
    EXPECT_EQ(SearchTestFileHeader().count(';'), 16);
    EXPECT_TRUE(RunFileHeader().contains(QString::fromUtf8("H\xC3\xB6"
                                                           "chste Stufe")));
    EXPECT_TRUE(SearchTestFileHeader().contains(QString::fromUtf8("Kn\xC3\xB6pfe")));
}

} // namespace
} // namespace kalvero
