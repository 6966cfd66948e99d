#include "history/history_charts.h"

#include "gui_app.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace kalvero {
namespace {

const QDate Today(2025, 3, 20);
const QRgb Grid = qRgb(225, 225, 225);
const QRgb Bar = qRgb(64, 128, 192);
const QRgb Left = qRgb(30, 90, 176);
const QRgb Right = qRgb(232, 140, 32);

TSessionRec RunOn(const QDate& day, double minutes) {
    TSessionRec run;
    run.Start = QDateTime(day, QTime(10, 0));
    run.Minutes = minutes;
    return run;
}

// The lay-out of a rendered chart as read back from its pixels.
struct TReadAxis {
    std::vector<int> GridRows; // from top (the axis top) to bottom (the value 0)
    int X0 = 0, X1 = 0;        // ends of the bottom grid line

    int Y1() const { return GridRows.front(); }
    int Y0() const { return GridRows.back(); }
    double RowOf(double fraction) const { return Y0() - fraction * (Y0() - Y1()); }
    double SlotCenter(int i, int n) const { return X0 + (i + 0.5) * (X1 - X0) / n; }
};

class ChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }

    QImage Render(const std::function<void(QPainter&, const QRect&)>& draw, int width = 800,
                  int height = 300) {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        draw(painter, QRect(0, 0, width, height));
        painter.end();
        return image;
    }

    // Grid rows are read in a column right of the last slot's bar and left of the legend text.
    static TReadAxis ReadAxis(const QImage& image, double s = 1) {
        TReadAxis axis;
        const int x = image.width() - int(21 * s);
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == Grid)
                axis.GridRows.push_back(y);
        if (axis.GridRows.empty())
            return axis;
        // The bottom grid line is the longest run of grid colour in its row.
        int longest = -1;
        for (const auto& [from, to] : ColourRuns(image, axis.Y0(), Grid))
            if (to - from > longest) {
                longest = to - from;
                axis.X0 = from;
                axis.X1 = to;
            }
        return axis;
    }

    static std::vector<std::pair<int, int>> ColourRuns(const QImage& image, int y, QRgb colour) {
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour)
                continue;
            if (!runs.empty() && runs.back().second == x - 1)
                runs.back().second = x;
            else
                runs.push_back({x, x});
        }
        return runs;
    }

    static int TopOfColour(const QImage& image, int x, QRgb colour) {
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == colour)
                return y;
        return -1;
    }

    static int ColourHeight(const QImage& image, int x, QRgb colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            count += image.pixel(x, y) == colour;
        return count;
    }
};

// --- The day chart ---

struct TDayCase {
    const char* Name;
    std::vector<std::pair<int, double>> DaysAgoAndMinutes;
    int GridLines;         // top / step + 1
    double TallestShare;   // tallest day total / axis top
    std::vector<int> Bars; // slots with a bar
};

void PrintTo(const TDayCase& c, std::ostream* os) {
    *os << c.Name;
}

class DayChartTest : public ChartTest, public ::testing::WithParamInterface<TDayCase> {};

TEST_P(DayChartTest, AxisAndBarsFollowTheDayTotals) {
    const TDayCase& c = GetParam();
    TSessionArray runs;
    for (const auto& [daysAgo, minutes] : c.DaysAgoAndMinutes)
        runs.push_back(RunOn(Today.addDays(-daysAgo), minutes));
    const QImage image =
        Render([&](QPainter& p, const QRect& r) { DrawDays(p, r, runs, 1, Today); });
    const TReadAxis axis = ReadAxis(image);
    ASSERT_EQ(int(axis.GridRows.size()), c.GridLines);

    const auto bars = ColourRuns(image, axis.Y0() - 1, Bar);
    ASSERT_EQ(bars.size(), c.Bars.size());
    int tallest = image.height();
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const double centre = (bars[b].first + bars[b].second) / 2.0;
        EXPECT_NEAR(centre, axis.SlotCenter(c.Bars[b], 28), 1.5) << "bar " << b;
        tallest = std::min(tallest, TopOfColour(image, int(centre), Bar));
    }
    EXPECT_NEAR(tallest, axis.RowOf(c.TallestShare), 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    Days, DayChartTest,
    ::testing::Values(
        // At least 10 minutes on the axis: 0 to 10 in steps of 2, the bar in today's slot.
        TDayCase{"ThreeMinutesToday", {{0, 3}}, 6, 0.3, {27}},
        TDayCase{"UpTo45Minutes", {{0, 20}, {3, 45}}, 6, 0.9, {24, 27}},
        TDayCase{"UpTo100Minutes", {{1, 60}, {1, 40}}, 5, 100.0 / 120, {26}},
        // Runs dated after today and runs older than 27 days count nowhere.
        TDayCase{"FutureAndOldRunsIgnored", {{-1, 50}, {28, 50}, {0, 3}}, 6, 0.3, {27}},
        TDayCase{"OldestDayIsFirstSlot", {{27, 3}}, 6, 0.3, {0}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ChartTest, DayChartWithoutRecentRunsDrawsNoAxis) {
    const TSessionArray runs{RunOn(Today.addDays(-40), 30)};
    const QImage image =
        Render([&](QPainter& p, const QRect& r) { DrawDays(p, r, runs, 1, Today); });
    EXPECT_TRUE(ReadAxis(image).GridRows.empty());
    EXPECT_TRUE(ColourRuns(image, image.height() - 70, Bar).empty());
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)) << "the whole rectangle is filled white";
}

TEST(DayTotalsTest, SevenAndTwentyEightDaySums) {
    const TSessionArray runs{RunOn(Today, 3),
                             RunOn(Today.addDays(-6), 4),
                             RunOn(Today.addDays(-7), 5),
                             RunOn(Today.addDays(-27), 6),
                             RunOn(Today.addDays(-28), 7),
                             RunOn(Today.addDays(1), 8)};
    const TDayTotals totals = DayTotals(runs, Today);
    EXPECT_DOUBLE_EQ(totals.Sum7, 7);
    EXPECT_DOUBLE_EQ(totals.Sum28, 18);
    EXPECT_DOUBLE_EQ(totals.Minutes[27], 3);
    EXPECT_DOUBLE_EQ(totals.Minutes[0], 6);
}

TEST(NiceStepTest, StepsAtTheirBounds) {
    const std::vector<std::pair<double, int>> cases{
        {10, 2},   {10.5, 5}, {30, 5},    {31, 10},    {60, 10},    {61, 30},    {150, 30},
        {151, 60}, {300, 60}, {301, 200}, {1000, 200}, {1001, 500}, {2000, 500}, {2001, 1000}};
    for (const auto& [m, step] : cases)
        EXPECT_EQ(NiceStep(m), step) << m;
}

// --- The series charts ---

TSessionRec AlertRun(int day, int hitsLeft, int shownLeft, int hitsRight, int shownRight,
                     int rtLeft = -1, int rtRight = -1) {
    TSessionRec run = RunOn(Today.addDays(day - 60), 10);
    run.Alertness = QStringLiteral("Stern");
    run.HitsLeft = hitsLeft;
    run.ShownLeft = shownLeft;
    run.HitsRight = hitsRight;
    run.ShownRight = shownRight;
    run.Shown = shownLeft + shownRight;
    run.RtLeft = rtLeft;
    run.RtRight = rtRight;
    return run;
}

TSessionRec RtRun(int day, int rtLeft, int rtRight) {
    return AlertRun(day, 1, 1, 1, 1, rtLeft, rtRight);
}

struct TSeriesCase {
    const char* Name;
    bool Hits; // DrawHits, else DrawRt
    TSessionArray Runs;
    int GridLines;
    double LeftShare; // the last run's left value / axis top
};

void PrintTo(const TSeriesCase& c, std::ostream* os) {
    *os << c.Name;
}

class SeriesAxisTest : public ChartTest, public ::testing::WithParamInterface<TSeriesCase> {};

TEST_P(SeriesAxisTest, AxisTopAndDotHeight) {
    const TSeriesCase& c = GetParam();
    const QImage image = Render([&](QPainter& p, const QRect& r) {
        if (c.Hits)
            DrawHits(p, r, c.Runs, 1);
        else
            DrawRt(p, r, c.Runs, 1);
    });
    const TReadAxis axis = ReadAxis(image);
    ASSERT_EQ(int(axis.GridRows.size()), c.GridLines);
    const int n = int(c.Runs.size());
    const int cx = int(std::lround(axis.SlotCenter(n - 1, n)));
    const int top = TopOfColour(image, cx, Left);
    const int height = ColourHeight(image, cx, Left);
    EXPECT_NEAR(top + (height - 1) / 2.0, axis.RowOf(c.LeftShare), 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    Series, SeriesAxisTest,
    ::testing::Values(
        // Hits always run from 0 to 100 % in steps of 20.
        TSeriesCase{"HitsHalf", true, {AlertRun(0, 1, 10, 0, 0), AlertRun(1, 5, 10, 0, 0)}, 6, 0.5},
        TSeriesCase{"HitsFew", true, {AlertRun(0, 1, 10, 0, 0)}, 6, 0.1},
        // Reaction times below 500 ms: 0 to 600 in steps of 200.
        TSeriesCase{"RtBelow500", false, {RtRun(0, 450, 200), RtRun(1, 300, 250)}, 4, 0.5},
        // A largest median of 1200 ms: steps of 500 up to 1500.
        TSeriesCase{"Rt1200", false, {RtRun(0, 1200, 200), RtRun(1, 300, 250)}, 4, 0.2},
        // Values above the top are drawn at the top.
        TSeriesCase{"Rt2500", false, {RtRun(0, 2500, 200), RtRun(1, 300, 2200)}, 4, 300.0 / 3000}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ChartTest, GapsAndLoneDots) {
    // Right values: 400, none, 400, none, 400, 400; no left values at all.
    const TSessionArray runs{RtRun(0, -1, 400), RtRun(1, -1, -1),  RtRun(2, -1, 400),
                             RtRun(3, -1, -1),  RtRun(4, -1, 400), RtRun(5, -1, 400)};
    const QImage image = Render([&](QPainter& p, const QRect& r) { DrawRt(p, r, runs, 1); });
    const TReadAxis axis = ReadAxis(image);
    ASSERT_EQ(axis.GridRows.size(), 4u);
    const int y = int(std::lround(axis.RowOf(400.0 / 600)));
    auto at = [&](double slot) {
        return image.pixel(
                   int(std::lround(axis.SlotCenter(0, 6) + slot * (axis.X1 - axis.X0) / 6.0)), y) ==
               Right;
    };
    for (double dot : {0.0, 2.0, 4.0, 5.0})
        EXPECT_TRUE(at(dot)) << "dot at slot " << dot;
    for (double gap : {0.5, 1.0, 1.5, 2.5, 3.0, 3.5})
        EXPECT_FALSE(at(gap)) << "gap at slot " << gap;
    EXPECT_TRUE(at(4.5)) << "the line joins neighbouring values";
    EXPECT_TRUE(ColourRuns(image, y, Left).empty());
}

TEST_F(ChartTest, OnlyTheLastThirtyRunsAreDrawn) {
    TSessionArray runs;
    for (int i = 0; i < 45; ++i)
        runs.push_back(RtRun(i, i < 15 ? 1500 : 300, -1));
    const QImage image = Render([&](QPainter& p, const QRect& r) { DrawRt(p, r, runs, 1); });
    const TReadAxis axis = ReadAxis(image);
    ASSERT_EQ(axis.GridRows.size(), 4u) << "the older 1500 ms runs do not raise the axis";
    const int y = int(std::lround(axis.RowOf(0.5)));
    const auto line = ColourRuns(image, y, Left);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_NEAR(line.front().first, axis.SlotCenter(0, 30) - 4, 1.5);
    EXPECT_NEAR(line.front().second, axis.SlotCenter(29, 30) + 4, 1.5);
}

TEST_F(ChartTest, LastSlotAlwaysCarriesItsDate) {
    // Three labels fit in this width per ten slots: slots 0, 3, ..., 27 are labelled, 28 is
    // not, 29 is labelled because it is the last.
    TSessionArray runs;
    for (int i = 0; i < 30; ++i)
        runs.push_back(RtRun(i, 300, 300));
    auto labels = [&](const TSessionArray& shown) {
        const QImage image =
            Render([&](QPainter& p, const QRect& r) { DrawRt(p, r, shown, 1); }, 700);
        const TReadAxis axis = ReadAxis(image);
        return image.copy(0, axis.Y0() + 2, image.width(), image.height() - axis.Y0() - 2);
    };
    const QImage base = labels(runs);
    TSessionArray lastMoved = runs;
    lastMoved[29].Start = lastMoved[29].Start.addDays(5);
    TSessionArray slot28Moved = runs;
    slot28Moved[28].Start = slot28Moved[28].Start.addDays(5);
    EXPECT_NE(labels(lastMoved), base) << "the last slot shows its date";
    EXPECT_EQ(labels(slot28Moved), base) << "the label step skips slot 28";
}

TEST_F(ChartTest, EmptySeriesDrawsNoAxis) {
    const QImage image = Render([&](QPainter& p, const QRect& r) { DrawHits(p, r, {}, 1); });
    EXPECT_TRUE(ReadAxis(image).GridRows.empty());
}

TEST_F(ChartTest, DoubleScaleDoublesLinesAndDots) {
    const TSessionArray runs{RtRun(0, 300, -1), RtRun(1, 300, -1), RtRun(2, -1, -1),
                             RtRun(3, 300, -1)};
    auto measure = [&](double s) {
        const QImage image = Render([&](QPainter& p, const QRect& r) { DrawRt(p, r, runs, s); },
                                    int(800 * s), int(300 * s));
        const TReadAxis axis = ReadAxis(image, s);
        const int lineX = int(std::lround((axis.SlotCenter(0, 4) + axis.SlotCenter(1, 4)) / 2));
        const int dotX = int(std::lround(axis.SlotCenter(3, 4)));
        return std::pair{ColourHeight(image, lineX, Left), ColourHeight(image, dotX, Left)};
    };
    const auto [line1, dot1] = measure(1);
    const auto [line2, dot2] = measure(2);
    EXPECT_EQ(line1, 2);
    EXPECT_EQ(line2, 4);
    EXPECT_NEAR(dot2, 2 * dot1, 2);
}

TEST(SeriesValueTest, SideWithoutStimuliHasNoValue) {
    const TSessionRec run = AlertRun(0, 3, 4, 0, 0, 480, -1);
    EXPECT_DOUBLE_EQ(HitsPercent(run, TChartSide::Left), 75);
    EXPECT_LT(HitsPercent(run, TChartSide::Right), 0);
    EXPECT_EQ(ReactionMs(run, TChartSide::Left), 480);
    EXPECT_LT(ReactionMs(run, TChartSide::Right), 0);
}

} // namespace
} // namespace kalvero
