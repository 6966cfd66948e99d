#include "protocol/search_compare.h"

#include "protocol/store.h"

#include <cmath>

namespace kalvero {

namespace {

const QString Arrow = QString(QChar(0x2192));

bool IsPhase(const TSearchTestRec& test, const char* phase) {
    return test.Phase.compare(QLatin1String(phase), Qt::CaseInsensitive) == 0;
}

QString SecondKey(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyyMMddHHmmss"));
}

// Nearest integer, a half going to the even one (the default rounding mode).
long long WholeSeconds(double seconds) {
    return std::llrint(seconds);
}

QString Seconds(double seconds) {
    return QString::number(WholeSeconds(seconds)) + QStringLiteral(" s");
}

} // namespace

TSearchPairArray PairSearchTests(const TSearchTestArray& tests) {
    TSearchPairArray pairs;
    for (const TSearchTestRec& test : tests) {
        if (IsPhase(test, "vorher"))
            pairs.push_back({test, TSearchTestRec{}, false});
    }
    for (const TSearchTestRec& test : tests) {
        if (!IsPhase(test, "nachher"))
            continue;
        const QString key = SecondKey(test.Pair);
        for (TSearchPair& pair : pairs) {
            if (!pair.HasPost && SecondKey(pair.Pre.Start) == key) {
                pair.Post = test;
                pair.HasPost = true;
                break;
            }
        }
    }
    return pairs;
}

TSearchPairArray LoadSearchPairs(const TProtocolStore& store, const QString& user) {
    return PairSearchTests(store.LoadSearchTests(user));
}

TSearchPairArray LoadSearchPairs(const QString& user) {
    return LoadSearchPairs(TProtocolStore::OfDataFolder(), user);
}

QString SearchComparisonText(const TSearchTestRec& pre, const TSearchTestRec& post) {
    const QString change = QStringLiteral("%1 ") + Arrow + QStringLiteral(" %2");
    QStringList lines;
    lines << QStringLiteral("Suchaufgabe (Buchstabe %1): vorher ").arg(pre.Target) + Arrow +
                 QStringLiteral(" nachher");
    lines << QString();
    lines << QStringLiteral("Ausgelassen links:  ") +
                 change.arg(Omitted(pre, bsLeft)).arg(Omitted(post, bsLeft)) +
                 QStringLiteral("  (von %1)").arg(post.TargetsLeft);
    lines << QStringLiteral("Ausgelassen rechts:  ") +
                 change.arg(Omitted(pre, bsRight)).arg(Omitted(post, bsRight)) +
                 QStringLiteral("  (von %1)").arg(post.TargetsRight);
    if (pre.Wrong > 0 || post.Wrong > 0)
        lines << QStringLiteral("Falsch markiert:  ") + change.arg(pre.Wrong).arg(post.Wrong);
    if (AllFound(pre) && AllFound(post))
        lines << QStringLiteral("Bearbeitungszeit:  ") + Seconds(pre.TimeSec) + QLatin1Char(' ') +
                     Arrow + QLatin1Char(' ') + Seconds(post.TimeSec);
    else
        lines << QStringLiteral(
            "Bearbeitungszeit:  nur vergleichbar, wenn beide Male alle gefunden wurden");
    return lines.join(QStringLiteral("\r\n"));
}

QString SearchPairLine(const TSearchPair& pair) {
    const TSearchTestRec& pre = pair.Pre;
    QString line = pre.Start.toString(QStringLiteral("dd.MM.yy HH:mm")) +
                   QStringLiteral("  Suchaufgabe \"") + pre.Target + QLatin1Char('"');
    if (!pair.HasPost)
        return line + QStringLiteral("  ausgelassen li %1, re %2 (nur vorher)")
                          .arg(Omitted(pre, bsLeft))
                          .arg(Omitted(pre, bsRight));
    const TSearchTestRec& post = pair.Post;
    // Filled on its own, so that a "%" in the target letter is never taken for a placeholder.
    const QString omissions = (QStringLiteral("  ausgelassen li %1") + Arrow +
                               QStringLiteral("%2, re %3") + Arrow + QStringLiteral("%4"))
                                  .arg(Omitted(pre, bsLeft))
                                  .arg(Omitted(post, bsLeft))
                                  .arg(Omitted(pre, bsRight))
                                  .arg(Omitted(post, bsRight));
    line += omissions;
    if (AllFound(pre) && AllFound(post))
        line += QStringLiteral(", Zeit ") + QString::number(WholeSeconds(pre.TimeSec)) + Arrow +
                Seconds(post.TimeSec);
    return line;
}

} // namespace kalvero
