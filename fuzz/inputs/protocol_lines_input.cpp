#include "fuzz/inputs/fuzz_support.h"
#include "fuzz/inputs/one_input.h"
#include "protocol/fields.h"
#include "protocol/lines.h"

#include <QStringList>
#include <cmath>

namespace kalvero::fuzz {

namespace {

// Lines as the protocol reader cuts them: at CR LF, lone LF and lone CR.
QStringList CutLines(const QString& text) {
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != '\r' && c != '\n') {
            current += c;
            continue;
        }
        lines << current;
        current.clear();
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

// A real written with one decimal reads back within half a unit of that decimal.
bool CloseReal(double read, double written) {
    return std::fabs(read - written) <= 0.05 + 1e-9 * std::fabs(written);
}

bool SameRun(const TSessionRec& a, const TSessionRec& b) {
    return a.Start == b.Start && a.Minutes == b.Minutes && a.ProgramKind == b.ProgramKind &&
           a.ProgramName == b.ProgramName && a.Background == b.Background &&
           a.Stimulus == b.Stimulus && a.Count == b.Count && a.Speed == b.Speed &&
           a.Direction == b.Direction && a.SpeedMode == b.SpeedMode && a.Follower == b.Follower &&
           a.Alertness == b.Alertness && a.Shown == b.Shown && a.Hits == b.Hits &&
           a.Misses == b.Misses && a.FalseAlarms == b.FalseAlarms && a.EndStep == b.EndStep &&
           a.MaxStep == b.MaxStep && a.RtMean == b.RtMean && a.RtMedian == b.RtMedian &&
           a.ShownLeft == b.ShownLeft && a.HitsLeft == b.HitsLeft && a.RtLeft == b.RtLeft &&
           a.ShownRight == b.ShownRight && a.HitsRight == b.HitsRight && a.RtRight == b.RtRight &&
           a.Pauses == b.Pauses && a.EndReason == b.EndReason && a.Changed == b.Changed &&
           a.Demo == b.Demo;
}

bool SameSearchTest(const TSearchTestRec& a, const TSearchTestRec& b) {
    return a.Start == b.Start && a.Pair == b.Pair && a.Phase == b.Phase && a.Target == b.Target &&
           a.Items == b.Items && a.TargetsLeft == b.TargetsLeft &&
           a.TargetsRight == b.TargetsRight && a.FoundLeft == b.FoundLeft &&
           a.FoundRight == b.FoundRight && a.Wrong == b.Wrong && a.TimeSec == b.TimeSec &&
           a.AllFoundSec == b.AllFoundSec && a.EndReason == b.EndReason &&
           a.TrainingMin == b.TrainingMin;
}

// Written once, a record reads back with every text, count and time it had; written again it
// gives the same line.
void CheckRunLine(TFindings& findings, const QString& line) {
    TSessionRec read;
    if (!ParseSessionLine(line, read))
        return;
    const QString written = SessionLine(read);
    findings.Check(SplitFields(written).size() == 31, "run line without 31 fields");
    TSessionRec again;
    if (!ParseSessionLine(written, again)) {
        findings.Fail("written run line does not read: " + Shown(written));
        return;
    }
    findings.Check(again.Start == read.Start && again.ProgramName == read.ProgramName &&
                       again.Alertness == read.Alertness && again.Count == read.Count &&
                       again.Pauses == read.Pauses && again.EndReason == read.EndReason &&
                       again.Follower == read.Follower && again.Demo == read.Demo,
                   "run changed on writing: " + Shown(line) + " -> " + Shown(written));
    findings.Check(CloseReal(again.Minutes, read.Minutes),
                   "minutes changed on writing: " + Shown(line) + " -> " + Shown(written));
    TSessionRec third;
    const QString rewritten = SessionLine(again);
    findings.Check(ParseSessionLine(rewritten, third) && SameRun(third, again),
                   "run line not stable: " + Shown(written) + " -> " + Shown(rewritten));
}

void CheckSearchTestLine(TFindings& findings, const QString& line) {
    TSearchTestRec read;
    if (!ParseSearchTestLine(line, read))
        return;
    const QString written = SearchTestLine(read);
    findings.Check(SplitFields(written).size() == 17, "search-test line without 17 fields");
    TSearchTestRec again;
    if (!ParseSearchTestLine(written, again)) {
        findings.Fail("written search-test line does not read: " + Shown(written));
        return;
    }
    findings.Check(again.Start == read.Start && again.Pair == read.Pair &&
                       again.Phase == read.Phase && again.Target == read.Target &&
                       again.Items == read.Items && again.Wrong == read.Wrong &&
                       again.FoundLeft == read.FoundLeft && again.EndReason == read.EndReason,
                   "search test changed on writing: " + Shown(line) + " -> " + Shown(written));
    findings.Check(CloseReal(again.TimeSec, read.TimeSec),
                   "search time changed on writing: " + Shown(line) + " -> " + Shown(written));
    TSearchTestRec third;
    const QString rewritten = SearchTestLine(again);
    findings.Check(ParseSearchTestLine(rewritten, third) && SameSearchTest(third, again),
                   "search-test line not stable: " + Shown(written) + " -> " + Shown(rewritten));
}

} // namespace

// The input is the text of a protocol file; every line is read both as a run and as a search
// test.
std::string ProtocolLinesInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TFindings findings;
    for (const QString& line : CutLines(text)) {
        CheckRunLine(findings, line);
        CheckSearchTestLine(findings, line);
        FieldInt(line, 0);
        FieldFloat(line);
    }
    return findings.Text();
}

} // namespace kalvero::fuzz
