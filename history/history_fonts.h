#pragma once

#include <QFont>

namespace kalvero {

// A font of the given family and character height in pixels.
QFont HistoryFont(const QString& family, int pixelHeight, bool bold = false);

// The fixed-width font of the list ("Consolas", else the system's fixed-width font).
QFont ListFont(int pixelHeight);

} // namespace kalvero
