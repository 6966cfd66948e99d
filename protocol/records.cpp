#include "protocol/records.h"

#include <algorithm>
#include <limits>

namespace kalvero {

const QStringList AlertnessNames = {QStringLiteral("aus"), QStringLiteral("Stern"),
                                    QStringLiteral("Papierdrache"), QStringLiteral("Smiley")};

namespace {

// num / den (den > 0) to the nearest integer, a half going to the even one.
std::int32_t DivideRoundHalfEven(std::int64_t num, std::int64_t den) {
    std::int64_t quotient = num / den;
    std::int64_t remainder = num % den;
    if (remainder < 0) {
        remainder += den;
        --quotient;
    }
    const bool roundUp = 2 * remainder > den || (2 * remainder == den && (quotient % 2 != 0));
    return static_cast<std::int32_t>(roundUp ? quotient + 1 : quotient);
}

bool IsRightSide(std::int32_t posPct) {
    return posPct >= 50;
}

} // namespace

std::int32_t Omitted(const TSearchTestRec& test, TBoardSide side) {
    // Counts read from a file can be anything: subtract without overflowing.
    const std::int64_t missing = side == bsLeft ? std::int64_t(test.TargetsLeft) - test.FoundLeft
                                                : std::int64_t(test.TargetsRight) - test.FoundRight;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(missing, 0, std::numeric_limits<std::int32_t>::max()));
}

bool AllFound(const TSearchTestRec& test) {
    return std::int64_t(test.TargetsLeft) + test.TargetsRight >= 1 &&
           test.FoundLeft >= test.TargetsLeft && test.FoundRight >= test.TargetsRight;
}

std::int32_t Median(std::vector<std::int32_t> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    if (values.size() % 2 != 0)
        return values[half];
    return DivideRoundHalfEven(std::int64_t(values[half - 1]) + values[half], 2);
}

void SummarizeStimuli(TSessionRec& run, const TStimulusArray& stimuli) {
    run.Shown = run.Hits = run.Misses = run.FalseAlarms = 0;
    run.ShownLeft = run.HitsLeft = run.ShownRight = run.HitsRight = 0;
    run.MaxStep = 0;
    std::vector<std::int32_t> all, left, right;
    std::int64_t sum = 0;
    for (const TStimulusRec& stim : stimuli) {
        if (stim.Outcome == soFalseAlarm) {
            ++run.FalseAlarms;
            continue;
        }
        const bool right_side = IsRightSide(stim.PosPct);
        ++run.Shown;
        run.MaxStep = std::max(run.MaxStep, stim.Step);
        ++(right_side ? run.ShownRight : run.ShownLeft);
        if (stim.Outcome == soMiss) {
            ++run.Misses;
            continue;
        }
        ++run.Hits;
        ++(right_side ? run.HitsRight : run.HitsLeft);
        if (stim.RtMs >= 0) {
            all.push_back(stim.RtMs);
            sum += stim.RtMs;
            (right_side ? right : left).push_back(stim.RtMs);
        }
    }
    run.RtMean = all.empty() ? -1 : DivideRoundHalfEven(sum, std::int64_t(all.size()));
    run.RtMedian = Median(all);
    run.RtLeft = Median(left);
    run.RtRight = Median(right);
}

} // namespace kalvero
