#include "protocol/search_compare.h"
#include "protocol/store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

const QString Arrow = QString(QChar(0x2192));

QDateTime At(int day, int hour, int minute, int second) {
    return QDateTime(QDate(2025, 3, day), QTime(hour, minute, second));
}

TSearchTestRec MakeTest(const char* phase, const QDateTime& start, int foundLeft, int foundRight,
                        int wrong, double timeSec) {
    TSearchTestRec test;
    test.Start = test.Pair = start;
    test.Phase = phase;
    test.Target = "K";
    test.Items = 60;
    test.TargetsLeft = test.TargetsRight = 4;
    test.FoundLeft = foundLeft;
    test.FoundRight = foundRight;
    test.Wrong = wrong;
    test.TimeSec = timeSec;
    test.AllFoundSec = -1;
    test.EndReason = "Fertig";
    return test;
}

TSearchTestRec After(const TSearchTestRec& pre, const QDateTime& start, int foundLeft,
                     int foundRight, int wrong, double timeSec) {
    TSearchTestRec post = MakeTest("nachher", start, foundLeft, foundRight, wrong, timeSec);
    post.Pair = pre.Start;
    return post;
}

QString Line(const QString& text) {
    return QString(text).replace("->", Arrow);
}

TEST(SearchComparisonText, SixLinesWithWrongMarksAndNoComparableTime) {
    const TSearchTestRec pre = MakeTest("vorher", At(7, 9, 0, 10), 3, 4, 2, 61.4);
    const TSearchTestRec post = After(pre, At(7, 9, 20, 5), 4, 4, 0, 58.5);
    EXPECT_EQ(SearchComparisonText(pre, post),
              Line("Suchaufgabe (Buchstabe K): vorher -> nachher\r\n"
                   "\r\n"
                   "Ausgelassen links:  1 -> 0  (von 4)\r\n"
                   "Ausgelassen rechts:  0 -> 0  (von 4)\r\n"
                   "Falsch markiert:  2 -> 0\r\n"
                   "Bearbeitungszeit:  nur vergleichbar, wenn beide Male alle gefunden wurden"));
}

TEST(SearchComparisonText, BothCompleteShowsTimesHalvesToEvenAndNoWrongMarkLine) {
    const TSearchTestRec pre = MakeTest("vorher", At(7, 9, 0, 10), 4, 4, 0, 61.5);
    const TSearchTestRec post = After(pre, At(7, 9, 20, 5), 4, 4, 0, 58.5);
    EXPECT_EQ(SearchComparisonText(pre, post),
              Line("Suchaufgabe (Buchstabe K): vorher -> nachher\r\n"
                   "\r\n"
                   "Ausgelassen links:  0 -> 0  (von 4)\r\n"
                   "Ausgelassen rechts:  0 -> 0  (von 4)\r\n"
                   "Bearbeitungszeit:  62 s -> 58 s"));
}

TEST(SearchComparisonText, ZeroTargetsAreNeverComparableAndOvercountsOmitNothing) {
    TSearchTestRec pre = MakeTest("vorher", At(7, 9, 0, 10), 0, 0, 0, 10);
    pre.TargetsLeft = pre.TargetsRight = 0;
    TSearchTestRec post = After(pre, At(7, 9, 20, 5), 6, 5, 0, 9);
    const QString text = SearchComparisonText(pre, post);
    EXPECT_TRUE(text.endsWith("nur vergleichbar, wenn beide Male alle gefunden wurden"));
    EXPECT_TRUE(text.contains(Line("Ausgelassen links:  0 -> 0  (von 4)")));
}

TEST(SearchPairLine, WithAndWithoutPostTest) {
    const TSearchTestRec pre = MakeTest("vorher", At(7, 9, 0, 10), 3, 4, 2, 61.4);
    EXPECT_EQ(SearchPairLine({pre, {}, false}),
              QStringLiteral("07.03.25 09:00  Suchaufgabe \"K\"  ausgelassen li 1, re 0 (nur "
                             "vorher)"));
    const TSearchTestRec post = After(pre, At(7, 9, 20, 5), 4, 2, 0, 58.5);
    EXPECT_EQ(SearchPairLine({pre, post, true}),
              Line("07.03.25 09:00  Suchaufgabe \"K\"  ausgelassen li 1->0, re 0->2"));
    const TSearchTestRec full = MakeTest("vorher", At(7, 9, 0, 10), 4, 4, 0, 61.5);
    const TSearchTestRec fullPost = After(full, At(7, 9, 20, 5), 4, 4, 0, 58.5);
    EXPECT_EQ(SearchPairLine({full, fullPost, true}),
              Line("07.03.25 09:00  Suchaufgabe \"K\"  ausgelassen li 0->0, re 0->0, Zeit 62->58 "
                   "s"));
}

TEST(SearchPairLine, PercentInTargetIsNoPlaceholder) {
    TSearchTestRec pre = MakeTest("vorher", At(7, 9, 0, 10), 3, 4, 0, 1);
    pre.Target = "%1";
    const TSearchTestRec post = After(pre, At(7, 9, 20, 5), 4, 4, 0, 1);
    EXPECT_EQ(SearchPairLine({pre, post, true}),
              Line("07.03.25 09:00  Suchaufgabe \"%1\"  ausgelassen li 1->0, re 0->0"));
}

TEST(PairSearchTests, PairsWithinTheSameSecondAndLeavesTheRestOut) {
    const TSearchTestRec first = MakeTest("vorher", At(7, 9, 0, 10), 4, 4, 0, 1);
    const TSearchTestRec second = MakeTest("Vorher", At(7, 10, 0, 10), 4, 4, 0, 2);
    const TSearchTestRec matching = After(second, At(7, 10, 20, 0), 4, 4, 0, 3);
    TSearchTestRec offBySecond = After(first, At(7, 11, 0, 0), 4, 4, 0, 4);
    offBySecond.Pair = first.Start.addSecs(1);
    TSearchTestRec capital = After(first, At(7, 12, 0, 0), 4, 4, 0, 5);
    capital.Phase = "Nachher";
    capital.Pair = capital.Pair.addMSecs(999); // same second
    const TSearchTestRec other = MakeTest("zwischen", At(7, 13, 0, 0), 4, 4, 0, 6);

    const TSearchPairArray pairs =
        PairSearchTests({first, second, matching, offBySecond, capital, other});
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].Pre.TimeSec, 1);
    EXPECT_TRUE(pairs[0].HasPost);
    EXPECT_EQ(pairs[0].Post.TimeSec, 5);
    EXPECT_EQ(pairs[1].Pre.TimeSec, 2);
    EXPECT_TRUE(pairs[1].HasPost);
    EXPECT_EQ(pairs[1].Post.TimeSec, 3);
}

TEST(PairSearchTests, SecondVorherMatchedFirstStaysAlone) {
    const TSearchTestRec first = MakeTest("vorher", At(7, 9, 0, 10), 3, 4, 0, 1);
    const TSearchTestRec second = MakeTest("vorher", At(8, 9, 0, 10), 4, 4, 0, 2);
    const TSearchTestRec post = After(second, At(8, 9, 20, 0), 4, 4, 0, 3);
    const TSearchPairArray pairs = PairSearchTests({first, second, post});
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_FALSE(pairs[0].HasPost);
    EXPECT_TRUE(SearchPairLine(pairs[0]).endsWith("(nur vorher)"));
    EXPECT_TRUE(pairs[1].HasPost);
    EXPECT_EQ(pairs[0].Post.Phase, QString()); // empty while there is no post test
}

TEST(LoadSearchPairs, ReadsTheUsersSearchTestFile) {
    QTemporaryDir dir;
    TProtocolStore store(dir.path());
    const TSearchTestRec pre = MakeTest("vorher", At(7, 9, 0, 10), 3, 4, 0, 1);
    store.AppendSearchTest("Anna", After(pre, At(7, 9, 20, 0), 4, 4, 0, 3));
    store.AppendSearchTest("Anna", pre);
    const TSearchPairArray pairs = LoadSearchPairs(store, "Anna");
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_TRUE(pairs[0].HasPost);
    EXPECT_EQ(pairs[0].Post.Start, At(7, 9, 20, 0));
}

} // namespace
} // namespace kalvero
