#pragma once

#include "history/chart_scale.h"

class QDate;
class QPainter;
class QRect;
class QString;

namespace kalvero {

// The three history charts. Each draws into rect of canvas with the scale factor s
// (the device's pixels per inch / 96) and keeps no state.

// Training minutes per day over the last 28 days, ending today.
void DrawDays(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s);
void DrawDays(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s,
              const QDate& today);

// Values of the last 30 runs as two lines, left and right; a negative value leaves a gap.
// fixedMax > 0 fixes the axis maximum, 0 lets the values decide (at least 500).
void DrawSeries(QPainter& canvas, const QRect& rect, const QString& title, double s,
                TSeriesValue value, double fixedMax, const TSessionArray& runs,
                const QString& unit);

// Answered alertness stimuli in percent, left and right.
void DrawHits(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s);
// Median reaction time in ms, left and right.
void DrawRt(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s);

} // namespace kalvero
