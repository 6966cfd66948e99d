#pragma once

#include "protocol/records.h"

#include <QDateTime>
#include <QString>

namespace kalvero {

// Free text for one field: ";" becomes ",", CR and LF become blanks.
QString CsvField(const QString& text);

// Cuts a line at every ";": n separators give n + 1 fields, blanks kept.
TFieldArray SplitFields(const QString& line);

// Reads "dd.mm.yyyy" and "hh:nn:ss" by character position (a missing second reads as 0).
// Fails for years before 2000, values out of range and dates not in the calendar.
bool ParseDateTime(const QString& dateText, const QString& timeText, QDateTime& result);

// Integer field: trimmed of blanks and control characters; fallback when it is no number.
std::int32_t FieldInt(const QString& text, std::int32_t fallback);
// Real field: trimmed, the first "," read as "."; 0 when it is no number.
double FieldFloat(const QString& text);

// Value formats of the protocol files.
QString FormatDate(const QDateTime& value);    // dd.mm.yyyy
QString FormatTime(const QDateTime& value);    // hh:nn:ss
QString FormatInt(std::int32_t value);         // decimal, "-" for negatives
QString FormatOptionalInt(std::int32_t value); // empty for negatives
QString FormatReal(double value);              // one decimal, comma, halves away from 0
QString FormatYesNo(bool value);               // "ja" / "nein"
bool ReadYesNo(const QString& text);           // true only for "ja", any letter case

// Removes characters with codes up to 32 from both ends.
QString TrimControls(const QString& text);

} // namespace kalvero
