#include "history/history_print.h"

#include "gui_app.h"
#include "pdf_text.h"

#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvero {
namespace {

using test::PdfPages;

class PrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }

    QTemporaryDir FDir;

    QString Print(const THistoryPrintout& printout, int dpi = 300) {
        const QString pdf = FDir.filePath(QStringLiteral("verlauf.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(dpi);
        PrintHistory(printer, printout);
        return pdf;
    }

    static THistoryPrintout Numbered(int lines) {
        THistoryPrintout printout{QStringLiteral("Anna"), QStringLiteral("Anna: 1 Durchgänge")};
        for (int i = 1; i <= lines; ++i)
            printout.Lines << QStringLiteral("Zeile%1").arg(i, 4, 10, QLatin1Char('0'));
        return printout;
    }

    // The list lines per page (2·N), read from a long printout.
    int LinesPerPage() {
        const QStringList pages = PdfPages(Print(Numbered(600)));
        EXPECT_GE(pages.size(), 3);
        return int(pages.value(1).count(QStringLiteral("Zeile")));
    }
};

TEST_F(PrintTest, EmptyHistoryPrintsOnePage) {
    const QStringList pages = PdfPages(Print(
        {QStringLiteral("Bea"), QStringLiteral("Bea: noch keine Durchgänge protokolliert.")}));
    ASSERT_EQ(pages.size(), 1);
    const QString& page = pages[0];
    for (const char* text :
         {"Kalvero 4 - Verlauf für Bea", "Gedruckt am", "Bea: noch keine Durchgänge protokolliert.",
          "Trainingszeit je Tag (7 Tage: 0 min, 28 Tage: 0 min)",
          "In den letzten 28 Tagen wurde nicht trainiert.", "Alertness: beantwortete Reize",
          "Alertness: Reaktionszeit (Median)", "Noch keine Durchgänge mit Alertnessreiz."})
        EXPECT_TRUE(page.simplified().contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(page.count(QStringLiteral("Noch keine Durchgänge mit Alertnessreiz.")), 2);
    EXPECT_TRUE(page.contains(QRegularExpression(
        QStringLiteral("Gedruckt am \\d\\d\\.\\d\\d\\.\\d{4}, \\d\\d:\\d\\d Uhr"))));
}

TEST_F(PrintTest, FirstPageChartsShowTheirAxes) {
    THistoryPrintout printout{QStringLiteral("Anna"), QStringLiteral("Anna: 1 Durchgänge")};
    TSessionRec run;
    run.Start = QDateTime::currentDateTime();
    run.Minutes = 3;
    printout.Sessions = {run};
    const QString page = PdfPages(Print(printout)).value(0).simplified();
    for (const char* label : {"0 min", "2 min", "10 min", "7 Tage: 3 min, 28 Tage: 3 min"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(label))) << label;
    EXPECT_FALSE(page.contains(QStringLiteral("12 min")));
    EXPECT_TRUE(page.contains(run.Start.toString(QStringLiteral("dd.MM."))));
}

TEST_F(PrintTest, ExactlyTwoColumnsFillOneListPage) {
    const int perPage = LinesPerPage();
    ASSERT_GT(perPage, 10);
    ASSERT_EQ(perPage % 2, 0);

    const QStringList full = PdfPages(Print(Numbered(perPage)));
    ASSERT_EQ(full.size(), 2);
    EXPECT_TRUE(full[1].contains(QStringLiteral("Kalvero 4 - Durchgänge - Anna")));
    EXPECT_TRUE(full[1].contains(QStringLiteral("Gedruckt am")));

    const QStringList more = PdfPages(Print(Numbered(perPage + 1)));
    ASSERT_EQ(more.size(), 3);
    EXPECT_TRUE(
        more[2].trimmed().startsWith(QStringLiteral("Kalvero 4 - Durchgänge (Fortsetzung)")));
    EXPECT_TRUE(more[2].contains(QStringLiteral("Gedruckt am")));
    EXPECT_EQ(more[2].count(QStringLiteral("Zeile")), 1);
    EXPECT_TRUE(
        more[2].contains(QStringLiteral("Zeile%1").arg(perPage + 1, 4, 10, QLatin1Char('0'))));
}

TEST_F(PrintTest, ListRunsDownTheLeftColumnThenTheRight) {
    const int n = LinesPerPage() / 2;
    const QStringList rows =
        PdfPages(Print(Numbered(2 * n)), {QStringLiteral("-layout")}).value(1).split('\n');
    auto line = [](int i) { return QStringLiteral("Zeile%1").arg(i, 4, 10, QLatin1Char('0')); };
    auto row = [&](int i) {
        for (const QString& r : rows)
            if (r.contains(line(i)))
                return r;
        return QString();
    };
    EXPECT_TRUE(row(1).contains(line(n + 1))) << row(1).toStdString();
    EXPECT_TRUE(row(n).contains(line(2 * n))) << row(n).toStdString();
    EXPECT_LT(row(1).indexOf(line(1)), row(1).indexOf(line(n + 1)));
}

TEST_F(PrintTest, LandscapeWithMarginOfSixTenthsInch) {
    const QString pdf = Print(Numbered(0), 600);
    // Word boxes in points: the title starts at the margin, 0.6 inch = 43.2 pt from the
    // printable area's corner.
    const QString boxes = test::PdfText(pdf, {QStringLiteral("-bbox")});
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">Kalvero"));
    const auto match = word.match(boxes);
    ASSERT_TRUE(match.hasMatch()) << boxes.left(2000).toStdString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const QRectF paper = printer.pageLayout().fullRectPoints();
    const QRectF printable = printer.pageLayout().paintRectPoints();
    EXPECT_NEAR(match.captured(1).toDouble(), printable.left() + 43.2, 3);
    EXPECT_NEAR(match.captured(2).toDouble(), printable.top() + 43.2, 6);
    const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
    const auto size = page.match(boxes);
    ASSERT_TRUE(size.hasMatch());
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";
    EXPECT_NEAR(size.captured(1).toDouble(), paper.width(), 1);
}

TEST_F(PrintTest, FailureIsReportedAndNothingIsLeftOpen) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FDir.path()); // a folder cannot become the PDF file
    EXPECT_THROW(PrintHistory(printer, Numbered(3)), TPrintError);
}

} // namespace
} // namespace kalvero
