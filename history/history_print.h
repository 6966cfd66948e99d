#pragma once

#include "protocol/records.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

class QPrinter;
class QWidget;

namespace kalvero {

// What the printout shows: the same data as the history window.
struct THistoryPrintout {
    QString User;
    QString Info;           // the summary line
    TSessionArray Sessions; // all runs, oldest first
    TSessionArray Alert;    // the runs with alertness data
    QStringList Lines;      // the history list
};

// Raised when the printer fails while the document is open; the job is aborted by then.
class TPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Title of the print job and of the first page.
QString HistoryTitle(const QString& user);

// Prints the history in landscape: a first page with the summary line and the three charts,
// then the list in two columns of a fixed-width font on as many pages as it needs.
// Throws TPrintError on failure.
void PrintHistory(QPrinter& printer, const THistoryPrintout& printout);

// The print dialog shown before printing; returns false when it is cancelled. Tests replace it
// (for example with one that directs the printer to a PDF file); nullptr restores the real one.
using TPrintDialogFn = std::function<bool(QPrinter& printer, QWidget* parent)>;
void SetPrintDialog(TPrintDialogFn dialog);
bool RunPrintDialog(QPrinter& printer, QWidget* parent);

} // namespace kalvero
