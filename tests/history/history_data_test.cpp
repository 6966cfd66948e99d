#include "history/history_data.h"

#include "protocol/lines.h"
#include "protocol/search_compare.h"
#include "protocol/store.h"
#include "users/data_folder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QDate Today(2025, 3, 20);

TSessionRec MakeRun(const QDateTime& start, double minutes) {
    TSessionRec run;
    run.Start = start;
    run.Minutes = minutes;
    run.ProgramKind = QStringLiteral("Einstellungen");
    run.Stimulus = QStringLiteral("Fisch");
    run.Count = 20;
    run.Speed = 3;
    run.Direction = QStringLiteral("nach links");
    run.Alertness = QStringLiteral("aus");
    return run;
}

TSessionRec RunOn(const QDate& day, double minutes) {
    return MakeRun(QDateTime(day, QTime(10, 0)), minutes);
}

TEST(RunBlockTest, WorkedExampleLineForLine) {
    TSessionRec run;
    ASSERT_TRUE(ParseSessionLine(
        QStringLiteral("07.03.2025;09:05:30;12,5;Profil;Standard;Wiese;Hummel;30;5;nach rechts;"
                       "gleich;nein;Stern;20;18;2;1;4;5;512;498;10;9;480;10;9;520;1;Zeit um;nein;"
                       "nein"),
        run));
    const QStringList expected{
        QStringLiteral("07.03.25 09:05  12,5 min  Profil \"Standard\""),
        QStringLiteral("    Hummel, 30 Reize, Geschw. 5, nach rechts"),
        QStringLiteral("    Alertness: 18 von 20, Fehlreakt. 1, Stufe 4 (max. 5)"),
        QStringLiteral("    links 9/10 480 ms   rechts 9/10 520 ms"),
        QStringLiteral("    Ende: Zeit um, 1 Pause(n)"),
        QString()};
    EXPECT_EQ(RunBlock(run, German), expected);
}

TEST(RunBlockTest, HeadLineWithoutProgramNameAndWithFollower) {
    TSessionRec run = MakeRun(QDateTime(QDate(2025, 1, 2), QTime(8, 7, 59)), 5);
    run.Follower = true;
    const QStringList block = RunBlock(run, German);
    ASSERT_EQ(block.size(), 3);
    EXPECT_EQ(block[0], QStringLiteral("02.01.25 08:07   5,0 min  Einstellungen"));
    EXPECT_EQ(block[1], QStringLiteral("    Fisch, 20 Reize, Geschw. 3, nach links, Verfolger"));
    EXPECT_EQ(block[2], QString());
}

struct TMinutesCase {
    double Minutes;
    const char* German;
    const char* C;
};

class MinutesFieldTest : public ::testing::TestWithParam<TMinutesCase> {};

TEST_P(MinutesFieldTest, FourCharactersOneDecimalLocaleSeparator) {
    EXPECT_EQ(FormatListMinutes(GetParam().Minutes, German), QString::fromUtf8(GetParam().German));
    EXPECT_EQ(FormatListMinutes(GetParam().Minutes, QLocale::c()), QString::fromUtf8(GetParam().C));
}

INSTANTIATE_TEST_SUITE_P(Minutes, MinutesFieldTest,
                         ::testing::Values(TMinutesCase{7.25, " 7,3", " 7.3"},
                                           TMinutesCase{12, "12,0", "12.0"},
                                           TMinutesCase{0.05, " 0,1", " 0.1"},
                                           TMinutesCase{0, " 0,0", " 0.0"},
                                           TMinutesCase{123.44, "123,4", "123.4"}));

TEST(RunBlockTest, MinutesFieldSitsBetweenTwoBlanksAndMin) {
    const QStringList block = RunBlock(RunOn(Today, 7.25), German);
    EXPECT_TRUE(block[0].startsWith(QStringLiteral("20.03.25 10:00   7,3 min  Einstellungen")))
        << block[0].toStdString();
}

struct TAlertnessCase {
    const char* Alertness;
    int Shown;
    bool HasLines;
};

class AlertnessLinesTest : public ::testing::TestWithParam<TAlertnessCase> {};

TEST_P(AlertnessLinesTest, OnlyWithShownStimuliAndAlertnessOn) {
    TSessionRec run = RunOn(Today, 5);
    run.Alertness = QString::fromUtf8(GetParam().Alertness);
    run.Shown = GetParam().Shown;
    EXPECT_EQ(RunBlock(run, German).size(), GetParam().HasLines ? 5 : 3);
    EXPECT_EQ(HasAlertnessData(run), GetParam().HasLines);
}

INSTANTIATE_TEST_SUITE_P(Alertness, AlertnessLinesTest,
                         ::testing::Values(TAlertnessCase{"aus", 5, false},
                                           TAlertnessCase{"AUS", 5, false},
                                           TAlertnessCase{"Stern", 0, false},
                                           TAlertnessCase{"Stern", 3, true},
                                           TAlertnessCase{"wechselnd", 1, true}));

TEST(RunBlockTest, SideWithoutReactionTimeShowsNoTime) {
    TSessionRec run = RunOn(Today, 5);
    run.Alertness = QStringLiteral("Smiley");
    run.Shown = 5;
    run.ShownLeft = 3;
    run.ShownRight = 2;
    run.HitsRight = 2;
    run.RtLeft = -1;
    run.RtRight = 0;
    EXPECT_EQ(RunBlock(run, German)[3], QStringLiteral("    links 0/3    rechts 2/2 0 ms"));
}

struct TEndCase {
    const char* Reason;
    int Pauses;
    bool Changed;
    const char* Line; // nullptr: no end line
};

class EndLineTest : public ::testing::TestWithParam<TEndCase> {};

TEST_P(EndLineTest, Variants) {
    TSessionRec run = RunOn(Today, 5);
    run.EndReason = QString::fromUtf8(GetParam().Reason);
    run.Pauses = GetParam().Pauses;
    run.Changed = GetParam().Changed;
    const QStringList block = RunBlock(run, German);
    if (!GetParam().Line) {
        EXPECT_EQ(block.size(), 3);
        return;
    }
    ASSERT_EQ(block.size(), 4);
    EXPECT_EQ(block[2], QString::fromUtf8(GetParam().Line));
}

INSTANTIATE_TEST_SUITE_P(
    End, EndLineTest,
    ::testing::Values(TEndCase{"Zeit um", 0, false, "    Ende: Zeit um"},
                      TEndCase{"", 1, false, "    Ende: , 1 Pause(n)"},
                      TEndCase{"", 0, true, "    Ende: , während des Laufs verstellt"},
                      TEndCase{"Esc", 2, true,
                               "    Ende: Esc, 2 Pause(n), während des Laufs verstellt"},
                      TEndCase{"", 0, false, nullptr}));

struct TTotalCase {
    std::vector<double> Minutes;
    const char* Total;
};

class SummaryTotalTest : public ::testing::TestWithParam<TTotalCase> {};

TEST_P(SummaryTotalTest, TotalTakenToTheNearestEvenInteger) {
    TSessionArray runs;
    for (double m : GetParam().Minutes)
        runs.push_back(RunOn(Today.addDays(-30), m));
    const QString line = SummaryLine(QStringLiteral("Anna"), runs, Today);
    EXPECT_TRUE(line.contains(QStringLiteral(" zusammen %1 h.").arg(GetParam().Total)))
        << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Totals, SummaryTotalTest,
                         ::testing::Values(TTotalCase{{100, 25.6}, "2:06"},
                                           TTotalCase{{59.5}, "1:00"}, TTotalCase{{60.5}, "1:00"},
                                           TTotalCase{{0.4}, "0:00"},
                                           TTotalCase{{600, 5}, "10:05"}));

TEST(SummaryLineTest, LastSevenDaysCountSixDaysAgoButNotSeven) {
    const TSessionArray runs{RunOn(Today.addDays(-7), 10), RunOn(Today.addDays(-6), 12.5),
                             RunOn(Today, 3), RunOn(Today.addDays(2), 4)};
    EXPECT_EQ(SummaryLine(QStringLiteral("Anna"), runs, Today),
              QStringLiteral("Anna: 4 Durchgänge, zusammen 0:30 h.  Letzte 7 Tage: 3 "
                             "Durchgänge, 20 min."));
}

TEST(SummaryLineTest, NoRuns) {
    EXPECT_EQ(SummaryLine(QStringLiteral("Bea"), {}, Today),
              QStringLiteral("Bea: noch keine Durchgänge protokolliert."));
}

TSearchPair Pair(const QDateTime& start, bool hasPost) {
    TSearchPair pair;
    pair.Pre.Start = pair.Pre.Pair = start;
    pair.Pre.Phase = QStringLiteral("vorher");
    pair.Pre.Target = QStringLiteral("K");
    pair.Pre.TargetsLeft = pair.Pre.TargetsRight = 4;
    pair.Pre.FoundLeft = 3;
    pair.Pre.FoundRight = 4;
    pair.HasPost = hasPost;
    if (hasPost) {
        pair.Post = pair.Pre;
        pair.Post.Phase = QStringLiteral("nachher");
        pair.Post.FoundLeft = 4;
    }
    return pair;
}

TEST(FillListTest, SearchPairsNewestFirstAboveTheRunsNewestFirst) {
    const TSearchPair older = Pair(QDateTime(QDate(2025, 3, 1), QTime(9, 0)), true);
    const TSearchPair newer = Pair(QDateTime(QDate(2025, 3, 2), QTime(9, 0)), false);
    const TSessionArray runs{RunOn(QDate(2025, 3, 1), 5), RunOn(QDate(2025, 3, 2), 6)};
    QStringList expected{QStringLiteral("Suchaufgabe vorher → nachher (Auslassungen; Zeit nur, "
                                        "wenn beide Male alle gefunden)"),
                         SearchPairLine(newer),
                         SearchPairLine(older),
                         QString(),
                         QStringLiteral("Durchgänge"),
                         QString()};
    expected << RunBlock(runs[1], German) << RunBlock(runs[0], German);
    EXPECT_EQ(FillList(runs, {older, newer}, German), expected);
}

TEST(FillListTest, EmptyWithoutRunsAndSearchTests) {
    EXPECT_TRUE(FillList({}, {}, German).isEmpty());
    EXPECT_EQ(FillList({}, {Pair(QDateTime(Today, QTime(9, 0)), false)}, German).size(), 5);
}

TEST(LoadHistoryTest, ReadsTheUsersProtocolFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    OverrideDataFolder(dir.path());
    TSessionRec alert = RunOn(Today.addDays(-1), 10);
    alert.Alertness = QStringLiteral("Stern");
    alert.Shown = 2;
    AppendSession(QStringLiteral("Anna"), RunOn(Today, 5), {});
    AppendSession(QStringLiteral("Anna"), alert, {});
    const THistory history = LoadHistory(QStringLiteral("Anna"), Today, German);
    OverrideDataFolder(QString());
    ASSERT_EQ(history.Sessions.size(), 2u);
    EXPECT_EQ(history.Sessions[0].Start, alert.Start) << "sorted by start";
    ASSERT_EQ(history.Alert.size(), 1u);
    EXPECT_EQ(history.Info, QStringLiteral("Anna: 2 Durchgänge, zusammen 0:15 h.  Letzte 7 Tage: "
                                           "2 Durchgänge, 15 min."));
    EXPECT_EQ(history.Lines.size(), 3 + 5);
    EXPECT_TRUE(history.Pairs.empty());
}

} // namespace
} // namespace kalvero
