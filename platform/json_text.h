#pragma once

#include <QString>

namespace kalvero {

// How a JSON writer escapes string contents. Both forms give the short escapes
// \b \t \n \f \r, and \" and \\; "/" is never escaped.
enum class TJsonEscape {
    ShortOnly, // every other character is written unchanged (sequence files)
    Ascii,     // every other code below 32 and every UTF-16 unit above 127 as \uXXXX (upper case)
};

// The quoted JSON form of text.
QString JsonQuoted(const QString& text, TJsonEscape escape);

} // namespace kalvero
