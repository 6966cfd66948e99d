#pragma once

#include "plan/training_plan.h"

#include <QString>
#include <vector>

namespace kalvero {

// The settings object of a profile file as compact, ASCII-escaped JSON text; "" when the file
// does not exist, cannot be read or holds no JSON object.
QString ReadProfileJson(const QString& path);

// The sections a sequence file gives a plan: one per playlist entry with a text "file" (a number
// counts as its text) whose
// profile file (in profilesFolder) holds a settings object. Entries whose profile is missing or
// unreadable are counted in Missing; elements that are no such entry are skipped uncounted.
struct TSequenceSections {
    std::vector<TPlanItem> Items;
    int Missing = 0;
};

// An unreadable or malformed sequence file gives no sections. A missing or non-integer
// "duration" gives 30 seconds; no lower bound is applied.
TSequenceSections ReadSequenceSections(const QString& sequenceFile, const QString& profilesFolder);

} // namespace kalvero
