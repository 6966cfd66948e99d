#pragma once

#include "searchtest/search_board.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

namespace kalvero::test {

// Letter pictures 1, 3 .. 27 (red buttons with the letter) and optionally the background, in
// <dir>/Grafik/. skip leaves one picture number out; broken writes text instead of a PNG.
inline void MakePictures(const QString& dir, bool background, int skip = 0, int broken = 0) {
    QDir().mkpath(dir + "/Grafik/Alphabet");
    for (int letter = 0; letter < SearchLetterCount; ++letter) {
        const int n = letter == 0 ? 1 : letter + 2;
        const QString path = QString("%1/Grafik/Alphabet/%2.png").arg(dir).arg(n);
        if (n == skip)
            continue;
        if (n == broken) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a picture");
            continue;
        }
        QImage image(96, 96, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(200, 30, 30));
        p.setPen(QPen(QColor(120, 10, 10), 4));
        p.drawEllipse(QRectF(4, 4, 88, 88));
        QFont font;
        font.setPixelSize(56);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 96, 96), Qt::AlignCenter, QString(QChar('A' + letter)));
        p.end();
        QVERIFY(image.save(path));
    }
    if (background) {
        QImage image(320, 180, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient g(0, 0, 320, 180);
        g.setColorAt(0, QColor(40, 90, 60));
        g.setColorAt(1, QColor(110, 160, 200));
        p.fillRect(image.rect(), g);
        p.end();
        QVERIFY(image.save(dir + "/Grafik/hgr23.jpg", "JPG"));
    }
}

} // namespace kalvero::test
