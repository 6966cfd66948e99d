#include "history/history_print.h"

#include "history/chart_scale.h"
#include "history/history_charts.h"
#include "history/history_fonts.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace kalvero {

namespace {

TPrintDialogFn& PrintDialogOverride() {
    static TPrintDialogFn dialog;
    return dialog;
}

// One print job: the page geometry in printer pixels and the running line position.
class THistoryPrintJob {
public:
    THistoryPrintJob(QPrinter& printer, const THistoryPrintout& printout)
        : FPrinter(printer), FPrintout(printout) {}

    void Run() {
        FPrinter.setPageOrientation(QPageLayout::Landscape);
        FPrinter.setDocName(HistoryTitle(FPrintout.User));
        if (!FPainter.begin(&FPrinter))
            throw TPrintError("Der Druck konnte nicht begonnen werden.");
        try {
            Measure();
            FirstPage();
            ListPages();
        } catch (...) {
            Abort();
            throw;
        }
        if (!FPainter.end())
            throw TPrintError("Der Druck konnte nicht abgeschlossen werden.");
    }

private:
    QPrinter& FPrinter;
    const THistoryPrintout& FPrintout;
    QPainter FPainter;
    double FS = 1; // scale factor: printer dpi / 96
    int FM = 0;    // margin
    int FW = 0;    // printable width
    int FH = 0;    // printable height
    int FY = 0;    // where the next line goes

    int R(double x) const { return RoundHalfEven(x); }
    int LineHeight() const { return FPainter.fontMetrics().height(); }

    void TextOut(int x, int y, const QString& text) {
        FPainter.drawText(x, y + FPainter.fontMetrics().ascent(), text);
    }

    void Measure() {
        const int dpi = FPrinter.resolution();
        FS = dpi / 96.0;
        FM = R(0.6 * dpi);
        const QRect page = FPrinter.pageRect(QPrinter::DevicePixel).toRect();
        FW = page.width();
        FH = page.height();
    }

    void Abort() {
        if (FPainter.isActive())
            FPrinter.abort();
    }

    void NewPage() {
        if (!FPrinter.newPage())
            throw TPrintError("Eine neue Seite konnte nicht begonnen werden.");
    }

    void PrintHeader(const QString& title) {
        FPainter.setBackgroundMode(Qt::TransparentMode);
        FPainter.setPen(Qt::black);
        FPainter.setFont(HistoryFont(QStringLiteral("Segoe UI"), R(20 * FS), true));
        FY = FM;
        TextOut(FM, FM, title);
        FY += LineHeight();
        FPainter.setFont(HistoryFont(QStringLiteral("Segoe UI"), R(12 * FS), false));
        TextOut(FM, FY,
                QStringLiteral("Gedruckt am ") +
                    QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy, hh:mm")) +
                    QStringLiteral(" Uhr"));
        FY += LineHeight();
    }

    void FirstPage() {
        PrintHeader(HistoryTitle(FPrintout.User));
        TextOut(FM, FY, FPrintout.Info);
        FY += LineHeight() + R(10 * FS);
        const int g = (FH - FM - FY) / 3;
        const int width = FW - 2 * FM;
        DrawDays(FPainter, QRect(FM, FY, width, g), FPrintout.Sessions, FS);
        DrawHits(FPainter, QRect(FM, FY + g, width, g), FPrintout.Alert, FS);
        DrawRt(FPainter, QRect(FM, FY + 2 * g, width, g), FPrintout.Alert, FS);
    }

    void StartListPage(const QString& title) {
        NewPage();
        PrintHeader(title);
        FY += R(10 * FS);
        FPainter.setPen(Qt::black);
        FPainter.setFont(ListFont(R(10 * FS)));
    }

    void ListPages() {
        const QStringList& lines = FPrintout.Lines;
        if (lines.isEmpty())
            return;
        StartListPage(QStringLiteral("Kalvero 4 - Durchgänge - ") + FPrintout.User);
        const int l = LineHeight();
        const int n = std::max(1, (FH - FM - FY) / l);
        const int c = (FW - 2 * FM) / 2;
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0 && i % (2 * n) == 0)
                StartListPage(QStringLiteral("Kalvero 4 - Durchgänge (Fortsetzung)"));
            TextOut(FM + ((i / n) % 2) * c, FY + (i % n) * l, lines[i]);
        }
    }
};

} // namespace

QString HistoryTitle(const QString& user) {
    return QStringLiteral("Kalvero 4 - Verlauf für ") + user;
}

void PrintHistory(QPrinter& printer, const THistoryPrintout& printout) {
    THistoryPrintJob(printer, printout).Run();
}

void SetPrintDialog(TPrintDialogFn dialog) {
    PrintDialogOverride() = std::move(dialog);
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
    if (PrintDialogOverride())
        return PrintDialogOverride()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kalvero
