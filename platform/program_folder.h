#pragma once

#include <QString>

namespace kalvero {

// The folder of the running executable, with a trailing separator. Works without a
// QCoreApplication. KALVERO_PROGRAM_DIR overrides it (tests, tools).
QString ProgramFolder();

// "Grafik/" and "Sound/" beside the executable, with trailing separators.
QString PictureFolder();
QString SoundFolder();

} // namespace kalvero
