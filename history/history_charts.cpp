#include "history/history_charts.h"

#include "history/history_fonts.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>
#include <algorithm>

namespace kalvero {

namespace {

const QColor TitleColor(40, 40, 40);
const QColor EmptyColor(128, 128, 128);
const QColor GridColor(225, 225, 225);
const QColor ValueLabelColor(110, 110, 110);
const QColor DateLabelColor(90, 90, 90);
const QColor LegendColor(60, 60, 60);
const QColor BarColor(64, 128, 192);
const QColor LeftColor(30, 90, 176);
const QColor RightColor(232, 140, 32);

// The target rectangle with exclusive right and bottom edges, as the charts measure it.
struct TChartRect {
    int Left, Top, Right, Bottom;
    explicit TChartRect(const QRect& r)
        : Left(r.left()), Top(r.top()), Right(r.left() + r.width()), Bottom(r.top() + r.height()) {}
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

int TextWidth(const QPainter& canvas, const QString& text) {
    return canvas.fontMetrics().horizontalAdvance(text);
}

// Height of a line of text in the current font ("Xg").
int TextHeight(const QPainter& canvas) {
    return canvas.fontMetrics().height();
}

// Draws text with its top-left corner at (x, y).
void TextOut(QPainter& canvas, int x, int y, const QString& text) {
    canvas.drawText(x, y + canvas.fontMetrics().ascent(), text);
}

// Fills a rectangle whose right and bottom edges are exclusive.
void FillBox(QPainter& canvas, int left, int top, int right, int bottom, const QColor& color) {
    if (right > left && bottom > top)
        canvas.fillRect(QRect(left, top, right - left, bottom - top), color);
}

// State of one chart while it is drawn.
struct TChart {
    QPainter& Canvas;
    TChartRect Rect;
    double S;
    int TitleHeight = 0;
    TPlotArea Area;
    double Top = 1;

    TChart(QPainter& canvas, const QRect& rect, double s) : Canvas(canvas), Rect(rect), S(s) {}

    void Title(const QString& title) {
        FillBox(Canvas, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, Qt::white);
        Canvas.setBackgroundMode(Qt::TransparentMode);
        Canvas.setFont(HistoryFont(QStringLiteral("Segoe UI"), RoundHalfEven(15 * S), true));
        Canvas.setPen(TitleColor);
        TextOut(Canvas, Rect.Left + RoundHalfEven(12 * S), Rect.Top + RoundHalfEven(8 * S), title);
        TitleHeight = TextHeight(Canvas);
        Canvas.setFont(HistoryFont(QStringLiteral("Segoe UI"), RoundHalfEven(12 * S), false));
    }

    void EmptyText(const QString& text) {
        Canvas.setPen(EmptyColor);
        TextOut(Canvas, Rect.Left + (Rect.Width() - TextWidth(Canvas, text)) / 2,
                Rect.Top + Rect.Height() / 2, text);
    }

    void ValueAxis(const QString& unit, int step, double top) {
        Top = top;
        Area.X0 = Rect.Left + TextWidth(Canvas, QStringLiteral("0000 ") + unit) + 22 * S;
        Area.X1 = Rect.Right - 18 * S;
        Area.Y1 = Rect.Top + TitleHeight + 26 * S;
        Area.Y0 = Rect.Bottom - 2 * TextHeight(Canvas) - 12 * S;
        const int halfText = TextHeight(Canvas) / 2;
        for (int v = 0; v <= top + 0.001; v += step) {
            const int y = RoundHalfEven(Area.YFor(v, top));
            Canvas.setPen(QPen(GridColor, 1, Qt::SolidLine));
            Canvas.drawLine(RoundHalfEven(Area.X0), y, RoundHalfEven(Area.X1), y);
            const QString label = QString::number(v) + QLatin1Char(' ') + unit;
            Canvas.setPen(ValueLabelColor);
            TextOut(Canvas, RoundHalfEven(Area.X0 - TextWidth(Canvas, label) - 6 * S), y - halfText,
                    label);
        }
    }

    int LabelStep(int slotCount) const {
        const double labelWidth = TextWidth(Canvas, QStringLiteral("00.00.")) + 10 * S;
        return DateLabelStep(slotCount, Area.X1 - Area.X0, labelWidth);
    }

    void DateLabel(int slot, int slotCount, const QDate& date) {
        const QString label = date.toString(QStringLiteral("dd.MM."));
        const int cx = RoundHalfEven(Area.SlotCenter(slot, slotCount));
        Canvas.setPen(DateLabelColor);
        TextOut(Canvas, cx - TextWidth(Canvas, label) / 2, RoundHalfEven(Area.Y0 + 6 * S), label);
    }
};

void DrawLegend(TChart& chart) {
    QPainter& canvas = chart.Canvas;
    const int a = RoundHalfEven(10 * chart.S);
    const int gap = RoundHalfEven(5 * chart.S);
    const int y = chart.Rect.Top + a;
    const QString left = QStringLiteral("links");
    const QString right = QStringLiteral("rechts");
    int x = chart.Rect.Right - TextWidth(canvas, left) - TextWidth(canvas, right) - 2 * a -
            RoundHalfEven(60 * chart.S);
    for (const auto& [word, color] : {std::pair{left, LeftColor}, std::pair{right, RightColor}}) {
        FillBox(canvas, x, y + 2, x + a, y + 2 + a, color);
        canvas.setPen(LegendColor);
        TextOut(canvas, x + a + gap, y, word);
        x += TextWidth(canvas, word) + gap + a + RoundHalfEven(16 * chart.S);
    }
}

// One line of a series: a polyline through the values with a dot on each, broken at gaps.
void DrawSeriesLine(TChart& chart, const TSessionArray& runs, int first, TSeriesValue value,
                    TChartSide side, const QColor& color) {
    QPainter& canvas = chart.Canvas;
    const double s = chart.S;
    canvas.setPen(
        QPen(color, std::max(1, RoundHalfEven(2 * s)), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    canvas.setBrush(color);
    const int n = static_cast<int>(runs.size()) - first;
    bool penDown = false;
    QPoint last;
    for (int i = 0; i < n; ++i) {
        const double v = value(runs[first + i], side);
        if (v < 0) {
            penDown = false;
            continue;
        }
        const double cx = chart.Area.SlotCenter(i, n);
        const double y = chart.Area.YFor(std::min(v, chart.Top), chart.Top);
        const QPoint point(RoundHalfEven(cx), RoundHalfEven(y));
        if (penDown)
            canvas.drawLine(last, point);
        penDown = true;
        const int l = RoundHalfEven(cx - 3 * s), t = RoundHalfEven(y - 3 * s);
        canvas.drawEllipse(
            QRect(l, t, RoundHalfEven(cx + 3 * s) - l, RoundHalfEven(y + 3 * s) - t));
        last = point;
    }
}

} // namespace

void DrawDays(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s) {
    DrawDays(canvas, rect, runs, s, QDate::currentDate());
}

void DrawDays(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s,
              const QDate& today) {
    const TDayTotals totals = DayTotals(runs, today);
    TChart chart(canvas, rect, s);
    chart.Title(QStringLiteral("Trainingszeit je Tag  (7 Tage: %1 min, 28 Tage: %2 min)")
                    .arg(RoundHalfEven(totals.Sum7))
                    .arg(RoundHalfEven(totals.Sum28)));
    if (!(totals.Sum28 > 0)) {
        chart.EmptyText(QStringLiteral("In den letzten 28 Tagen wurde nicht trainiert."));
        return;
    }
    const double m =
        std::max(10.0, *std::max_element(totals.Minutes.begin(), totals.Minutes.end()));
    const int step = NiceStep(m);
    chart.ValueAxis(QStringLiteral("min"), step, AxisTop(m, step));

    const double bw = (chart.Area.X1 - chart.Area.X0) / ChartDays * 0.7;
    for (int i = 0; i < ChartDays; ++i) {
        if (!(totals.Minutes[i] > 0))
            continue;
        const double cx = chart.Area.SlotCenter(i, ChartDays);
        const double y = chart.Area.YFor(totals.Minutes[i], chart.Top);
        FillBox(canvas, RoundHalfEven(cx - bw / 2), RoundHalfEven(y), RoundHalfEven(cx + bw / 2),
                RoundHalfEven(chart.Area.Y0), BarColor);
    }
    const int h = chart.LabelStep(ChartDays);
    for (int i = 0; i < ChartDays; ++i)
        if (DaySlotHasLabel(i, h))
            chart.DateLabel(i, ChartDays, today.addDays(-(ChartDays - 1 - i)));
}

void DrawSeries(QPainter& canvas, const QRect& rect, const QString& title, double s,
                TSeriesValue value, double fixedMax, const TSessionArray& runs,
                const QString& unit) {
    TChart chart(canvas, rect, s);
    chart.Title(title);
    const int count = static_cast<int>(runs.size());
    const int first = SeriesFirst(count);
    const int n = count - first;
    if (n == 0) {
        chart.EmptyText(QStringLiteral("Noch keine Durchgänge mit Alertnessreiz."));
        return;
    }
    DrawLegend(chart);
    const double m = SeriesMaximum(fixedMax, runs, first, value);
    const int step = SeriesStep(fixedMax, m);
    chart.ValueAxis(unit, step, AxisTop(m, step));

    DrawSeriesLine(chart, runs, first, value, TChartSide::Left, LeftColor);
    DrawSeriesLine(chart, runs, first, value, TChartSide::Right, RightColor);

    canvas.setPen(QPen(DateLabelColor, 1));
    canvas.setBrush(Qt::NoBrush);
    const int h = chart.LabelStep(n);
    for (int i = 0; i < n; ++i)
        if (SeriesSlotHasLabel(i, n, h))
            chart.DateLabel(i, n, runs[first + i].Start.date());
}

void DrawHits(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s) {
    DrawSeries(canvas, rect, QStringLiteral("Alertness: beantwortete Reize"), s, HitsPercent, 100,
               runs, QStringLiteral("%"));
}

void DrawRt(QPainter& canvas, const QRect& rect, const TSessionArray& runs, double s) {
    DrawSeries(canvas, rect, QStringLiteral("Alertness: Reaktionszeit (Median)"), s, ReactionMs, 0,
               runs, QStringLiteral("ms"));
}

} // namespace kalvero
