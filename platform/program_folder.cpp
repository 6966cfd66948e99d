#include "platform/program_folder.h"

#include <QFileInfo>

namespace kalvero {

QString ProgramFolder() {
    QString dir = qEnvironmentVariable("KALVERO_PROGRAM_DIR");
    if (dir.isEmpty())
        dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
    if (!dir.endsWith('/'))
        dir += '/';
    return dir;
}

QString PictureFolder() {
    return ProgramFolder() + QStringLiteral("Grafik/");
}

QString SoundFolder() {
    return ProgramFolder() + QStringLiteral("Sound/");
}

} // namespace kalvero
