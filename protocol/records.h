#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace kalvero {

// Outcome of one alertness event; stored as one byte in this order.
enum TStimOutcome : std::uint8_t {
    soHit = 0,        // answered in time ("Reaktion")
    soMiss = 1,       // shown, not answered ("ausgelassen")
    soFalseAlarm = 2, // key pressed while no stimulus was due ("Fehlreaktion")
};

// One alertness event of a run, in the order the outcomes were recorded.
struct TStimulusRec {
    std::int32_t Nr = 0;     // running number within the run, from 1
    double TimeSec = 0;      // net run time in seconds when the outcome was recorded
    std::int32_t Step = 0;   // alertness step from 1; 0 for a false alarm
    std::int32_t PosPct = 0; // stimulus centre in percent of the width; -1 for a false alarm
    TStimOutcome Outcome = soHit;
    std::int32_t RtMs = 0; // reaction time; negative when there is none
};
using TStimulusArray = std::vector<TStimulusRec>;

// One training run.
struct TSessionRec {
    QDateTime Start;
    double Minutes = 0;  // net duration, pauses not counted
    QString ProgramKind; // "Trainingsplan", "Sequenz", "Profil" or "Einstellungen"
    QString ProgramName;
    QString Background;
    QString Stimulus;
    std::int32_t Count = 0;
    std::int32_t Speed = 0;
    QString Direction; // "nach links" or "nach rechts"
    QString SpeedMode; // "gleich" or "unterschiedlich"
    bool Follower = false;
    QString Alertness; // an entry of AlertnessNames or "wechselnd"
    std::int32_t Shown = 0;
    std::int32_t Hits = 0;
    std::int32_t Misses = 0;
    std::int32_t FalseAlarms = 0;
    std::int32_t EndStep = 0;
    std::int32_t MaxStep = 0;
    std::int32_t RtMean = 0;   // -1 when there is none
    std::int32_t RtMedian = 0; // -1 when there is none
    std::int32_t ShownLeft = 0;
    std::int32_t HitsLeft = 0;
    std::int32_t RtLeft = 0; // -1 when there is none
    std::int32_t ShownRight = 0;
    std::int32_t HitsRight = 0;
    std::int32_t RtRight = 0; // -1 when there is none
    std::int32_t Pauses = 0;
    QString EndReason;
    bool Changed = false;
    bool Demo = false; // carried along from the file, never shown or used
};
using TSessionArray = std::vector<TSessionRec>;

// One letter-cancellation search task.
struct TSearchTestRec {
    QDateTime Start;
    QDateTime Pair; // "nachher": Start of its "vorher" test; "vorher": its own Start
    QString Phase;  // "vorher" or "nachher"
    QString Target; // the searched letter
    std::int32_t Items = 0;
    std::int32_t TargetsLeft = 0;
    std::int32_t TargetsRight = 0;
    std::int32_t FoundLeft = 0;
    std::int32_t FoundRight = 0;
    std::int32_t Wrong = 0;
    double TimeSec = 0;
    double AllFoundSec = 0; // -1 when not all targets were found
    QString EndReason;      // "Fertig" or "Zeit um"
    double TrainingMin = 0; // "nachher": minutes of the run between the tests; 0 otherwise
};
using TSearchTestArray = std::vector<TSearchTestRec>;

// A "vorher" test and, where found, its "nachher" test.
struct TSearchPair {
    TSearchTestRec Pre;
    TSearchTestRec Post; // empty while HasPost is false
    bool HasPost = false;
};
using TSearchPairArray = std::vector<TSearchPair>;

// The fields of one protocol line.
using TFieldArray = QStringList;

// Names of the alertness choices, indexed by the setting: "aus", "Stern", "Papierdrache", "Smiley".
extern const QStringList AlertnessNames;

enum TBoardSide : std::uint8_t { bsLeft, bsRight };

// Targets not marked on one side; never negative.
std::int32_t Omitted(const TSearchTestRec& test, TBoardSide side);

// True when there was at least one target and every target on both sides was marked.
bool AllFound(const TSearchTestRec& test);

// Median of the values, the mean of the middle two (halves to even) for an even count;
// -1 for an empty list.
std::int32_t Median(std::vector<std::int32_t> values);

// Fills the alertness summary of a run (counts, highest step, reaction times, per side)
// from its stimulus events; every other field of the run is left as it was.
void SummarizeStimuli(TSessionRec& run, const TStimulusArray& stimuli);

} // namespace kalvero
