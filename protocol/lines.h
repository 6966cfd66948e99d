#pragma once

#include "protocol/records.h"

#include <QString>

namespace kalvero {

// Header lines of the run, stimulus and search-test files.
QString RunFileHeader();
QString StimulusFileHeader();
QString SearchTestFileHeader();

// One line of a protocol file, without its line end.
QString SessionLine(const TSessionRec& run);
QString StimulusLine(const TSessionRec& run, const TStimulusRec& stimulus);
QString SearchTestLine(const TSearchTestRec& test);

// Reads a line of the run or search-test file; false for short lines and lines whose
// first two fields are not a valid date and time (the header line among them).
bool ParseSessionLine(const QString& line, TSessionRec& run);
bool ParseSearchTestLine(const QString& line, TSearchTestRec& test);

} // namespace kalvero
