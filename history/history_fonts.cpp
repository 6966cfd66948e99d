#include "history/history_fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

namespace kalvero {

QFont HistoryFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(std::max(1, pixelHeight));
    font.setBold(bold);
    return font;
}

QFont ListFont(int pixelHeight) {
    QFont font = HistoryFont(QStringLiteral("Consolas"), pixelHeight);
    // Without Consolas, the platform would substitute a proportional font by name alone, so
    // common fixed-width families follow before the system's own choice.
    font.setFamilies({QStringLiteral("Consolas"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Liberation Mono"), QStringLiteral("Noto Mono"),
                      QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace kalvero
