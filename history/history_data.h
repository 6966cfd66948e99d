#pragma once

#include "protocol/records.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace kalvero {

// True when the run has alertness data: stimuli shown and an alertness choice other than "aus".
bool HasAlertnessData(const TSessionRec& run);
// The runs with alertness data, in their order.
TSessionArray AlertRuns(const TSessionArray& runs);

// The summary line of the history window, e.g.
// "Anna: 3 Durchgänge, zusammen 0:38 h.  Letzte 7 Tage: 2 Durchgänge, 25 min.".
QString SummaryLine(const QString& user, const TSessionArray& runs, const QDate& today);

// Minutes as "%4.1f": one decimal (halves away from zero), the locale's decimal separator,
// filled with blanks on the left to at least four characters.
QString FormatListMinutes(double minutes, const QLocale& locale);

// The lines of one run in the history list, the empty closing line included.
QStringList RunBlock(const TSessionRec& run, const QLocale& locale);

// The whole history list: the search-test pairs (newest first) under their heading, then the
// runs, newest first.
QStringList FillList(const TSessionArray& runs, const TSearchPairArray& pairs,
                     const QLocale& locale = QLocale());

// Everything the history window shows of one user.
struct THistory {
    TSessionArray Sessions; // sorted by Start, oldest first
    TSessionArray Alert;    // the runs with alertness data
    TSearchPairArray Pairs; // oldest first
    QString Info;           // the summary line
    QStringList Lines;      // the list
};

// Reads the user's protocol files and builds the summary line and the list.
THistory LoadHistory(const QString& user, const QDate& today = QDate::currentDate(),
                     const QLocale& locale = QLocale());

} // namespace kalvero
