#pragma once

#include "protocol/records.h"

#include <QDate>
#include <array>

namespace kalvero {

// x to the nearest integer, a value exactly halfway going to the even integer.
int RoundHalfEven(double x);

// Grid step of a value axis whose largest value is m.
int NiceStep(double m);

// The axis top: m rounded up to a whole number of steps.
double AxisTop(double m, double step);

// The plot area of a chart in device pixels (real numbers, not yet rounded).
struct TPlotArea {
    double X0 = 0; // left end of the grid lines
    double X1 = 0; // right end of the grid lines
    double Y1 = 0; // height of the axis top
    double Y0 = 0; // height of the value 0

    // Height of value v on an axis running from 0 to top.
    double YFor(double v, double top) const { return Y0 - v / top * (Y0 - Y1); }
    // Centre of slot i (from 0) of n slotCount across the area.
    double SlotCenter(int i, int n) const { return X0 + (i + 0.5) * (X1 - X0) / n; }
};

// Every how many slotCount a date label is drawn, so that labels of labelWidth fit the plot width.
int DateLabelStep(int slotCount, double plotWidth, double labelWidth);

// The day chart labels today's slot and counts back from it every step slotCount.
bool DaySlotHasLabel(int slot, int step);
// The series charts label every step-th slot and always the last one.
bool SeriesSlotHasLabel(int slot, int slotCount, int step);

// Training minutes of the last 28 days, index 27 for today; runs dated after today are left out.
constexpr int ChartDays = 28;
struct TDayTotals {
    std::array<double, ChartDays> Minutes{};
    double Sum7 = 0;
    double Sum28 = 0;
};
TDayTotals DayTotals(const TSessionArray& runs, const QDate& today);

// The series charts show at most the last SeriesRuns runs.
constexpr int SeriesRuns = 30;
int SeriesFirst(int count);

enum class TChartSide { Left, Right };

// Value of one run for one side of a series chart; negative when the run has none.
using TSeriesValue = double (*)(const TSessionRec& run, TChartSide side);
double HitsPercent(const TSessionRec& run, TChartSide side);
double ReactionMs(const TSessionRec& run, TChartSide side);

// Largest value of a series axis: the fixed maximum when there is one, otherwise at least 500
// and raised to every value of the runs from first on.
double SeriesMaximum(double fixedMax, const TSessionArray& runs, int first, TSeriesValue value);
// Grid step of a series axis.
int SeriesStep(double fixedMax, double m);

} // namespace kalvero
