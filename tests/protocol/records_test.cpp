#include "protocol/records.h"

#include <gtest/gtest.h>

namespace kalvero {
namespace {

TStimulusRec Hit(std::int32_t step, std::int32_t posPct, std::int32_t rtMs) {
    return {0, 0.0, step, posPct, soHit, rtMs};
}
TStimulusRec Miss(std::int32_t step, std::int32_t posPct) {
    return {0, 0.0, step, posPct, soMiss, -1};
}
TStimulusRec FalseAlarm() {
    return {0, 0.0, 0, -1, soFalseAlarm, -1};
}

struct TMedianCase {
    std::vector<std::int32_t> values;
    std::int32_t expected;
};

class MedianTest : public testing::TestWithParam<TMedianCase> {};

TEST_P(MedianTest, GivesMiddleValueWithHalvesToEven) {
    EXPECT_EQ(Median(GetParam().values), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MedianTest,
                         testing::Values(TMedianCase{{}, -1}, TMedianCase{{7}, 7},
                                         TMedianCase{{301, 300}, 300}, TMedianCase{{302, 301}, 302},
                                         TMedianCase{{500, 100, 300}, 300},
                                         TMedianCase{{-3, -2}, -2}, TMedianCase{{-5, -2}, -4},
                                         TMedianCase{{400, 100, 200, 300}, 250}));

TEST(SummarizeStimuli, NoEventsGiveZeroCountsAndNoReactionTimes) {
    TSessionRec run;
    SummarizeStimuli(run, {});
    EXPECT_EQ(run.Shown, 0);
    EXPECT_EQ(run.Hits, 0);
    EXPECT_EQ(run.FalseAlarms, 0);
    EXPECT_EQ(run.MaxStep, 0);
    EXPECT_EQ(run.RtMean, -1);
    EXPECT_EQ(run.RtMedian, -1);
    EXPECT_EQ(run.RtLeft, -1);
    EXPECT_EQ(run.RtRight, -1);
}

TEST(SummarizeStimuli, OnlyFalseAlarmsShowNothing) {
    TSessionRec run;
    SummarizeStimuli(run, {FalseAlarm(), FalseAlarm()});
    EXPECT_EQ(run.FalseAlarms, 2);
    EXPECT_EQ(run.Shown, 0);
    EXPECT_EQ(run.ShownLeft + run.ShownRight, 0);
    EXPECT_EQ(run.RtMean, -1);
    EXPECT_EQ(run.RtMedian, -1);
}

TEST(SummarizeStimuli, HitsWithoutReactionTimeCountButAddNoTimes) {
    TSessionRec run;
    SummarizeStimuli(run, {Hit(1, 20, -1), Hit(2, 80, -1)});
    EXPECT_EQ(run.Hits, 2);
    EXPECT_EQ(run.HitsLeft, 1);
    EXPECT_EQ(run.HitsRight, 1);
    EXPECT_EQ(run.RtMean, -1);
    EXPECT_EQ(run.RtMedian, -1);
    EXPECT_EQ(run.RtLeft, -1);
    EXPECT_EQ(run.RtRight, -1);
}

TEST(SummarizeStimuli, SidesSplitAtFiftyPercent) {
    TSessionRec run;
    SummarizeStimuli(run, {Hit(1, 49, 400), Hit(3, 50, 600), Miss(2, 50), FalseAlarm()});
    EXPECT_EQ(run.Shown, 3);
    EXPECT_EQ(run.Hits, 2);
    EXPECT_EQ(run.Misses, 1);
    EXPECT_EQ(run.FalseAlarms, 1);
    EXPECT_EQ(run.MaxStep, 3);
    EXPECT_EQ(run.ShownLeft, 1);
    EXPECT_EQ(run.HitsLeft, 1);
    EXPECT_EQ(run.RtLeft, 400);
    EXPECT_EQ(run.ShownRight, 2);
    EXPECT_EQ(run.HitsRight, 1);
    EXPECT_EQ(run.RtRight, 600);
    EXPECT_EQ(run.RtMean, 500);
    EXPECT_EQ(run.RtMedian, 500);
}

TEST(SummarizeStimuli, MeanAndMedianRoundHalvesToEven) {
    TSessionRec run;
    SummarizeStimuli(run, {Hit(1, 10, 300), Hit(1, 10, 301)});
    EXPECT_EQ(run.RtMean, 300);
    EXPECT_EQ(run.RtMedian, 300);
    SummarizeStimuli(run, {Hit(1, 10, 301), Hit(1, 10, 302)});
    EXPECT_EQ(run.RtMean, 302);
    EXPECT_EQ(run.RtMedian, 302);
}

TEST(SummarizeStimuli, LeavesOtherFieldsAlone) {
    TSessionRec run;
    run.EndStep = 4;
    run.Pauses = 2;
    run.Alertness = QStringLiteral("Stern");
    run.Minutes = 3.0;
    run.Shown = 99; // stale values are replaced
    SummarizeStimuli(run, {Hit(1, 10, 300)});
    EXPECT_EQ(run.EndStep, 4);
    EXPECT_EQ(run.Pauses, 2);
    EXPECT_EQ(run.Alertness, QStringLiteral("Stern"));
    EXPECT_EQ(run.Minutes, 3.0);
    EXPECT_EQ(run.Shown, 1);
}

TEST(SearchTestDerived, OmittedNeverNegativeAndAllFoundNeedsTargets) {
    TSearchTestRec test;
    test.TargetsLeft = 4;
    test.FoundLeft = 3;
    test.TargetsRight = 4;
    test.FoundRight = 6;
    EXPECT_EQ(Omitted(test, bsLeft), 1);
    EXPECT_EQ(Omitted(test, bsRight), 0);
    EXPECT_FALSE(AllFound(test));
    test.FoundLeft = 4;
    EXPECT_TRUE(AllFound(test));
    EXPECT_FALSE(AllFound(TSearchTestRec{}));
}

TEST(AlertnessNames, FourChoicesInOrder) {
    EXPECT_EQ(AlertnessNames, (QStringList{"aus", "Stern", "Papierdrache", "Smiley"}));
}

} // namespace
} // namespace kalvero
