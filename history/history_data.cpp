#include "history/history_data.h"

#include "history/chart_scale.h"
#include "protocol/search_compare.h"
#include "protocol/store.h"

#include <cmath>

namespace kalvero {

namespace {

const QString Indent = QStringLiteral("    ");

QString QuotedName(const QString& name) {
    return name.isEmpty() ? QString() : QStringLiteral(" \"") + name + QLatin1Char('"');
}

QString SideTime(std::int32_t rtMs) {
    return rtMs >= 0 ? QString::number(rtMs) + QStringLiteral(" ms") : QString();
}

QString HeadLine(const TSessionRec& run, const QLocale& locale) {
    return run.Start.toString(QStringLiteral("dd.MM.yy hh:mm")) + QStringLiteral("  ") +
           FormatListMinutes(run.Minutes, locale) + QStringLiteral(" min  ") + run.ProgramKind +
           QuotedName(run.ProgramName);
}

QString StimulusLine(const TSessionRec& run) {
    return Indent +
           QStringLiteral("%1, %2 Reize, Geschw. %3, %4%5")
               .arg(run.Stimulus)
               .arg(run.Count)
               .arg(run.Speed)
               .arg(run.Direction, run.Follower ? QStringLiteral(", Verfolger") : QString());
}

QStringList AlertnessLines(const TSessionRec& run) {
    return {Indent + QStringLiteral("Alertness: %1 von %2, Fehlreakt. %3, Stufe %4 (max. %5)")
                         .arg(run.Hits)
                         .arg(run.Shown)
                         .arg(run.FalseAlarms)
                         .arg(run.EndStep)
                         .arg(run.MaxStep),
            Indent + QStringLiteral("links %1/%2 %3   rechts %4/%5 %6")
                         .arg(run.HitsLeft)
                         .arg(run.ShownLeft)
                         .arg(SideTime(run.RtLeft))
                         .arg(run.HitsRight)
                         .arg(run.ShownRight)
                         .arg(SideTime(run.RtRight))};
}

bool HasEndLine(const TSessionRec& run) {
    return run.Pauses > 0 || run.Changed || !run.EndReason.isEmpty();
}

QString EndLine(const TSessionRec& run) {
    QString line = Indent + QStringLiteral("Ende: ") + run.EndReason;
    if (run.Pauses > 0)
        line += QStringLiteral(", %1 Pause(n)").arg(run.Pauses);
    if (run.Changed)
        line += QStringLiteral(", während des Laufs verstellt");
    return line;
}

QStringList PairLines(const TSearchPairArray& pairs) {
    if (pairs.empty())
        return {};
    QStringList lines{QStringLiteral("Suchaufgabe vorher → nachher (Auslassungen; Zeit nur, "
                                     "wenn beide Male alle gefunden)")};
    for (auto pair = pairs.rbegin(); pair != pairs.rend(); ++pair)
        lines << SearchPairLine(*pair);
    lines << QString() << QStringLiteral("Durchgänge") << QString();
    return lines;
}

} // namespace

bool HasAlertnessData(const TSessionRec& run) {
    return run.Shown > 0 && run.Alertness.compare(QStringLiteral("aus"), Qt::CaseInsensitive) != 0;
}

TSessionArray AlertRuns(const TSessionArray& runs) {
    TSessionArray alert;
    for (const TSessionRec& run : runs)
        if (HasAlertnessData(run))
            alert.push_back(run);
    return alert;
}

QString SummaryLine(const QString& user, const TSessionArray& runs, const QDate& today) {
    if (runs.empty())
        return user + QStringLiteral(": noch keine Durchgänge protokolliert.");
    double total = 0, recentMinutes = 0;
    int recentRuns = 0;
    for (const TSessionRec& run : runs) {
        total += run.Minutes;
        if (run.Start.date().daysTo(today) < 7) {
            ++recentRuns;
            recentMinutes += run.Minutes;
        }
    }
    const int t = RoundHalfEven(total);
    return QStringLiteral("%1: %2 Durchgänge, zusammen %3:%4 h.  Letzte 7 Tage: %5 Durchgänge, "
                          "%6 min.")
        .arg(user)
        .arg(runs.size())
        .arg(t / 60)
        .arg(t % 60, 2, 10, QLatin1Char('0'))
        .arg(recentRuns)
        .arg(RoundHalfEven(recentMinutes));
}

QString FormatListMinutes(double minutes, const QLocale& locale) {
    QString text = QString::number(std::round(minutes * 10) / 10, 'f', 1);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text.rightJustified(4, QLatin1Char(' '));
}

QStringList RunBlock(const TSessionRec& run, const QLocale& locale) {
    QStringList lines{HeadLine(run, locale), StimulusLine(run)};
    if (HasAlertnessData(run))
        lines << AlertnessLines(run);
    if (HasEndLine(run))
        lines << EndLine(run);
    lines << QString();
    return lines;
}

QStringList FillList(const TSessionArray& runs, const TSearchPairArray& pairs,
                     const QLocale& locale) {
    QStringList lines = PairLines(pairs);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        lines << RunBlock(*run, locale);
    return lines;
}

THistory LoadHistory(const QString& user, const QDate& today, const QLocale& locale) {
    THistory history;
    history.Sessions = LoadSessions(user);
    history.Pairs = LoadSearchPairs(user);
    history.Alert = AlertRuns(history.Sessions);
    history.Info = SummaryLine(user, history.Sessions, today);
    history.Lines = FillList(history.Sessions, history.Pairs, locale);
    return history;
}

} // namespace kalvero
