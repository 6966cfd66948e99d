#pragma once

#include <QImage>

namespace kalvero {

// The program's logo for the settings screen: an eye following small drifting shapes above the
// name "Kalvero 4", drawn at the given size.
QImage KalveroLogo(int width = 514, int height = 322);

} // namespace kalvero
