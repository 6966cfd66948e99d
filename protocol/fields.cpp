#include "protocol/fields.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kalvero {

namespace {

// A piece of a date or time text read as a decimal integer; fallback when it is none.
int DatePiece(const QString& text, qsizetype from, int fallback) {
    bool ok = false;
    const int value = text.mid(from, 2).toInt(&ok, 10);
    return ok ? value : fallback;
}

// Shortest decimal text that reads back as the value, in fixed notation, without sign.
std::string ShortestDecimal(double magnitude) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// Adds one to the last digit of a decimal text, carrying through "9"s and the point.
void IncrementLastDigit(std::string& digits) {
    for (auto i = digits.size(); i-- > 0;) {
        if (digits[i] == '.')
            continue;
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

QString CsvField(const QString& text) {
    QString result = text;
    result.replace(QLatin1Char(';'), QLatin1Char(','));
    result.replace(QLatin1Char('\r'), QLatin1Char(' '));
    result.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return result;
}

TFieldArray SplitFields(const QString& line) {
    return line.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

bool ParseDateTime(const QString& dateText, const QString& timeText, QDateTime& result) {
    const int day = DatePiece(dateText, 0, 0);
    const int month = DatePiece(dateText, 3, 0);
    bool yearOk = false;
    int year = dateText.mid(6, 4).toInt(&yearOk, 10);
    if (!yearOk)
        year = 0;
    const int hour = DatePiece(timeText, 0, -1);
    const int minute = DatePiece(timeText, 3, -1);
    const int second = DatePiece(timeText, 6, 0);
    if (year < 2000 || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    const QDateTime value(date, QTime(hour, minute, second));
    if (!value.isValid())
        return false;
    result = value;
    return true;
}

QString TrimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

std::int32_t FieldInt(const QString& text, std::int32_t fallback) {
    bool ok = false;
    const int value = TrimControls(text).toInt(&ok, 10);
    return ok ? value : fallback;
}

double FieldFloat(const QString& text) {
    QString number = TrimControls(text);
    const qsizetype comma = number.indexOf(QLatin1Char(','));
    if (comma >= 0)
        number[comma] = QLatin1Char('.');
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString FormatDate(const QDateTime& value) {
    return value.date().toString(QStringLiteral("dd.MM.yyyy"));
}

QString FormatTime(const QDateTime& value) {
    return value.time().toString(QStringLiteral("HH:mm:ss"));
}

QString FormatInt(std::int32_t value) {
    return QString::number(value);
}

QString FormatOptionalInt(std::int32_t value) {
    return value < 0 ? QString() : QString::number(value);
}

// Rounds the shortest decimal form of the value, so 12.25 gives 12,3 and 0.15 gives 0,2,
// as a reader of the number expects.
QString FormatReal(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("0,0");
    std::string digits = ShortestDecimal(std::fabs(value));
    auto point = digits.find('.');
    if (point == std::string::npos) {
        point = digits.size();
        digits += '.';
    }
    digits.resize(point + 3, '0'); // one decimal and the digit that decides the rounding
    const bool roundUp = digits.back() >= '5';
    digits.pop_back();
    if (roundUp)
        IncrementLastDigit(digits);
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    QString text = QString::fromStdString(digits).replace(QLatin1Char('.'), QLatin1Char(','));
    return value < 0 && !zero ? QLatin1Char('-') + text : text;
}

QString FormatYesNo(bool value) {
    return value ? QStringLiteral("ja") : QStringLiteral("nein");
}

bool ReadYesNo(const QString& text) {
    return text.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0;
}

} // namespace kalvero
