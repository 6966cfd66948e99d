#include "protocol/lines.h"

#include "protocol/fields.h"

namespace kalvero {

namespace {

constexpr int RunColumns = 31;
constexpr int SearchTestColumns = 17;
constexpr int AlertnessColumns = 14;

bool IsCaseless(const QString& text, const char* word) {
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool HasAlertness(const TSessionRec& run) {
    return !run.Alertness.isEmpty() && !IsCaseless(run.Alertness, "aus");
}

void AppendAlertnessFields(QStringList& fields, const TSessionRec& run) {
    if (!HasAlertness(run)) {
        for (int i = 0; i < AlertnessColumns; ++i)
            fields << QString();
        return;
    }
    for (std::int32_t value : {run.Shown, run.Hits, run.Misses, run.FalseAlarms, run.EndStep,
                               run.MaxStep, run.RtMean, run.RtMedian, run.ShownLeft, run.HitsLeft,
                               run.RtLeft, run.ShownRight, run.HitsRight, run.RtRight})
        fields << FormatOptionalInt(value);
}

QString OutcomeWord(TStimOutcome outcome) {
    switch (outcome) {
    case soHit:
        return QStringLiteral("Reaktion");
    case soMiss:
        return QStringLiteral("ausgelassen");
    case soFalseAlarm:
        break;
    }
    return QStringLiteral("Fehlreaktion");
}

} // namespace

QString RunFileHeader() {
    return QStringLiteral(
        "Datum;Beginn;Dauer (min);Programm;Name;Hintergrund;Reize;Anzahl;Geschwindigkeit;"
        "Richtung;Tempo;Verfolger;Alertness;Alertnessreize;Reaktionen;Ausgelassen;"
        "Fehlreaktionen;Endstufe;Höchste Stufe;RZ Mittel (ms);RZ Median (ms);Reize links;"
        "Reaktionen links;RZ Median links (ms);Reize rechts;Reaktionen rechts;"
        "RZ Median rechts (ms);Pausen;Ende;Verstellt;Demo");
}

QString StimulusFileHeader() {
    return QStringLiteral("Datum;Beginn;Nr;Zeit (s);Stufe;Position (%);Seite;Ergebnis;RZ (ms)");
}

QString SearchTestFileHeader() {
    return QStringLiteral(
        "Datum;Beginn;Paar (Beginn vorher);Phase;Ziel;Knöpfe;Ziele links;Ziele rechts;"
        "Gefunden links;Gefunden rechts;Ausgelassen links;Ausgelassen rechts;Falsch markiert;"
        "Bearbeitungszeit (s);Alle gefunden nach (s);Ende;Training (min)");
}

QString SessionLine(const TSessionRec& run) {
    QStringList fields;
    fields << FormatDate(run.Start) << FormatTime(run.Start) << FormatReal(run.Minutes)
           << CsvField(run.ProgramKind) << CsvField(run.ProgramName) << CsvField(run.Background)
           << CsvField(run.Stimulus) << FormatInt(run.Count) << FormatInt(run.Speed)
           << CsvField(run.Direction) << CsvField(run.SpeedMode) << FormatYesNo(run.Follower)
           << CsvField(run.Alertness);
    AppendAlertnessFields(fields, run);
    fields << FormatInt(run.Pauses) << CsvField(run.EndReason) << FormatYesNo(run.Changed)
           << FormatYesNo(run.Demo);
    return fields.join(QLatin1Char(';'));
}

QString StimulusLine(const TSessionRec& run, const TStimulusRec& stimulus) {
    QStringList fields;
    fields << FormatDate(run.Start) << FormatTime(run.Start) << FormatInt(stimulus.Nr)
           << FormatReal(stimulus.TimeSec);
    if (stimulus.Outcome == soFalseAlarm) {
        fields << QString() << QString() << QString() << OutcomeWord(soFalseAlarm) << QString();
    } else {
        fields << FormatOptionalInt(stimulus.Step) << FormatOptionalInt(stimulus.PosPct)
               << (stimulus.PosPct >= 50 ? QStringLiteral("rechts") : QStringLiteral("links"))
               << OutcomeWord(stimulus.Outcome) << FormatOptionalInt(stimulus.RtMs);
    }
    return fields.join(QLatin1Char(';'));
}

QString SearchTestLine(const TSearchTestRec& test) {
    const bool after = IsCaseless(test.Phase, "nachher");
    QStringList fields;
    fields << FormatDate(test.Start) << FormatTime(test.Start)
           << FormatDate(test.Pair) + QLatin1Char(' ') + FormatTime(test.Pair)
           << CsvField(test.Phase) << CsvField(test.Target) << FormatInt(test.Items)
           << FormatInt(test.TargetsLeft) << FormatInt(test.TargetsRight)
           << FormatInt(test.FoundLeft) << FormatInt(test.FoundRight)
           << FormatInt(Omitted(test, bsLeft)) << FormatInt(Omitted(test, bsRight))
           << FormatInt(test.Wrong) << FormatReal(test.TimeSec)
           << (test.AllFoundSec >= 0 ? FormatReal(test.AllFoundSec) : QString())
           << CsvField(test.EndReason) << (after ? FormatReal(test.TrainingMin) : QString());
    return fields.join(QLatin1Char(';'));
}

bool ParseSessionLine(const QString& line, TSessionRec& run) {
    const TFieldArray f = SplitFields(line);
    if (f.size() < RunColumns)
        return false;
    TSessionRec r;
    if (!ParseDateTime(f[0], f[1], r.Start))
        return false;
    r.Minutes = FieldFloat(f[2]);
    r.ProgramKind = f[3];
    r.ProgramName = f[4];
    r.Background = f[5];
    r.Stimulus = f[6];
    r.Count = FieldInt(f[7], 0);
    r.Speed = FieldInt(f[8], 0);
    r.Direction = f[9];
    r.SpeedMode = f[10];
    r.Follower = ReadYesNo(f[11]);
    r.Alertness = f[12];
    r.Shown = FieldInt(f[13], 0);
    r.Hits = FieldInt(f[14], 0);
    r.Misses = FieldInt(f[15], 0);
    r.FalseAlarms = FieldInt(f[16], 0);
    r.EndStep = FieldInt(f[17], 0);
    r.MaxStep = FieldInt(f[18], 0);
    r.RtMean = FieldInt(f[19], -1);
    r.RtMedian = FieldInt(f[20], -1);
    r.ShownLeft = FieldInt(f[21], 0);
    r.HitsLeft = FieldInt(f[22], 0);
    r.RtLeft = FieldInt(f[23], -1);
    r.ShownRight = FieldInt(f[24], 0);
    r.HitsRight = FieldInt(f[25], 0);
    r.RtRight = FieldInt(f[26], -1);
    r.Pauses = FieldInt(f[27], 0);
    r.EndReason = f[28];
    r.Changed = ReadYesNo(f[29]);
    r.Demo = ReadYesNo(f[30]);
    run = r;
    return true;
}

bool ParseSearchTestLine(const QString& line, TSearchTestRec& test) {
    const TFieldArray f = SplitFields(line);
    if (f.size() < SearchTestColumns)
        return false;
    TSearchTestRec t;
    if (!ParseDateTime(f[0], f[1], t.Start))
        return false;
    if (!ParseDateTime(f[2].mid(0, 10), f[2].mid(11, 8), t.Pair))
        t.Pair = t.Start;
    t.Phase = f[3];
    t.Target = f[4];
    t.Items = FieldInt(f[5], 0);
    t.TargetsLeft = FieldInt(f[6], 0);
    t.TargetsRight = FieldInt(f[7], 0);
    t.FoundLeft = FieldInt(f[8], 0);
    t.FoundRight = FieldInt(f[9], 0);
    t.Wrong = FieldInt(f[12], 0);
    t.TimeSec = FieldFloat(f[13]);
    t.AllFoundSec = TrimControls(f[14]).isEmpty() ? -1.0 : FieldFloat(f[14]);
    t.EndReason = f[15];
    t.TrainingMin = FieldFloat(f[16]);
    test = t;
    return true;
}

} // namespace kalvero
