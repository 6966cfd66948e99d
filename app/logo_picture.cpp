#include "app/logo_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace kalvero {

namespace {
const QColor DeepBlue(0x10, 0x2A, 0x6B);
const QColor SkyTop(0xE8, 0xF2, 0xFC);
const QColor SkyBottom(0x9C, 0xC3, 0xEA);
const QColor IrisOuter(0x1F, 0x6F, 0x8B);
const QColor IrisInner(0x5F, 0xC1, 0xC9);

void DrawBackdrop(QPainter& p, const QRectF& r) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, SkyTop);
    sky.setColorAt(1.0, SkyBottom);
    p.setPen(QPen(DeepBlue, r.height() * 0.015));
    p.setBrush(sky);
    p.drawRoundedRect(r, r.height() * 0.12, r.height() * 0.12);
}

// Small shapes drifting leftwards with fading trails, the eye's targets.
void DrawDriftingShapes(QPainter& p, const QRectF& r) {
    const QColor colours[] = {QColor(0xF2, 0xB1, 0x34), QColor(0xE0, 0x5A, 0x47),
                              QColor(0x4F, 0xA3, 0x5B)};
    const double xs[] = {0.14, 0.80, 0.88};
    const double ys[] = {0.22, 0.18, 0.50};
    const double radius = r.height() * 0.045;
    for (int i = 0; i < 3; ++i) {
        const QPointF centre(r.left() + xs[i] * r.width(), r.top() + ys[i] * r.height());
        for (int t = 1; t <= 3; ++t) {
            QColor trail = colours[i];
            trail.setAlphaF(0.45 / t);
            p.setPen(Qt::NoPen);
            p.setBrush(trail);
            p.drawEllipse(centre + QPointF(radius * 1.6 * t, 0), radius * (1.0 - 0.18 * t),
                          radius * (1.0 - 0.18 * t));
        }
        p.setBrush(colours[i]);
        p.setPen(QPen(DeepBlue, radius * 0.2));
        p.drawEllipse(centre, radius, radius);
    }
}

void DrawEye(QPainter& p, const QPointF& centre, double halfWidth) {
    const double halfHeight = halfWidth * 0.48;
    QPainterPath lids;
    lids.moveTo(centre.x() - halfWidth, centre.y());
    lids.quadTo(centre.x(), centre.y() - 2 * halfHeight, centre.x() + halfWidth, centre.y());
    lids.quadTo(centre.x(), centre.y() + 2 * halfHeight, centre.x() - halfWidth, centre.y());
    p.setPen(QPen(DeepBlue, halfWidth * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(lids);

    p.save();
    p.setClipPath(lids);
    const QPointF irisCentre = centre + QPointF(-halfWidth * 0.12, 0);
    const double iris = halfHeight * 0.95;
    QRadialGradient gradient(irisCentre, iris);
    gradient.setColorAt(0.0, IrisInner);
    gradient.setColorAt(1.0, IrisOuter);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawEllipse(irisCentre, iris, iris);
    p.setBrush(QColor(0x0B, 0x13, 0x2B));
    p.drawEllipse(irisCentre, iris * 0.45, iris * 0.45);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(irisCentre + QPointF(-iris * 0.25, -iris * 0.3), iris * 0.16, iris * 0.16);
    p.restore();
}

void DrawName(QPainter& p, const QRectF& area) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(area.height() * 0.62));
    p.setFont(font);
    p.setPen(DeepBlue);
    p.drawText(area, Qt::AlignCenter, QStringLiteral("Kalvero 4"));
}
} // namespace

QImage KalveroLogo(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double margin = height * 0.03;
    const QRectF frame(margin, margin, width - 2 * margin, height - 2 * margin);
    DrawBackdrop(p, frame);
    DrawDriftingShapes(p, frame);
    DrawEye(p, QPointF(frame.center().x(), frame.top() + frame.height() * 0.40),
            frame.width() * 0.26);
    DrawName(p, QRectF(frame.left(), frame.top() + frame.height() * 0.70, frame.width(),
                       frame.height() * 0.26));
    return image;
}

} // namespace kalvero
