#include "history/chart_scale.h"

#include <algorithm>
#include <cmath>

namespace kalvero {

int RoundHalfEven(double x) {
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<int>(std::nearbyint(x));
}

int NiceStep(double m) {
    if (m <= 10)
        return 2;
    if (m <= 30)
        return 5;
    if (m <= 60)
        return 10;
    if (m <= 150)
        return 30;
    if (m <= 300)
        return 60;
    if (m <= 1000)
        return 200;
    if (m <= 2000)
        return 500;
    return 1000;
}

double AxisTop(double m, double step) {
    return std::ceil(m / step) * step;
}

int DateLabelStep(int slotCount, double plotWidth, double labelWidth) {
    const double fitting = std::max(plotWidth / labelWidth, 1.0);
    return std::max(1, static_cast<int>(std::ceil(slotCount / fitting)));
}

bool DaySlotHasLabel(int slot, int step) {
    return (ChartDays - 1 - slot) % step == 0;
}

bool SeriesSlotHasLabel(int slot, int slotCount, int step) {
    return slot % step == 0 || slot == slotCount - 1;
}

TDayTotals DayTotals(const TSessionArray& runs, const QDate& today) {
    TDayTotals totals;
    for (const TSessionRec& run : runs) {
        const qint64 d = run.Start.date().daysTo(today);
        if (d < 0 || d >= ChartDays)
            continue;
        totals.Minutes[ChartDays - 1 - d] += run.Minutes;
        totals.Sum28 += run.Minutes;
        if (d <= 6)
            totals.Sum7 += run.Minutes;
    }
    return totals;
}

int SeriesFirst(int count) {
    return std::max(0, count - SeriesRuns);
}

double HitsPercent(const TSessionRec& run, TChartSide side) {
    const bool left = side == TChartSide::Left;
    const int shown = left ? run.ShownLeft : run.ShownRight;
    const int hits = left ? run.HitsLeft : run.HitsRight;
    return shown > 0 ? hits * 100.0 / shown : -1;
}

double ReactionMs(const TSessionRec& run, TChartSide side) {
    return side == TChartSide::Left ? run.RtLeft : run.RtRight;
}

double SeriesMaximum(double fixedMax, const TSessionArray& runs, int first, TSeriesValue value) {
    if (fixedMax > 0)
        return fixedMax;
    double m = 500;
    for (std::size_t i = first; i < runs.size(); ++i)
        m = std::max({m, value(runs[i], TChartSide::Left), value(runs[i], TChartSide::Right)});
    return m;
}

int SeriesStep(double fixedMax, double m) {
    return fixedMax == 100 ? 20 : NiceStep(m);
}

} // namespace kalvero
