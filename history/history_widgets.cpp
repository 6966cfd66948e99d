#include "history/history_widgets.h"

#include <QPainter>

namespace kalvero {

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {}

void TPaintBox::paintEvent(QPaintEvent*) {
    if (!OnPaint)
        return;
    QPainter painter(this);
    OnPaint(painter, rect());
}

TEllipsisLabel::TEllipsisLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize TEllipsisLabel::minimumSizeHint() const {
    return QSize(0, QLabel::minimumSizeHint().height());
}

void TEllipsisLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, int(alignment()), shown);
}

} // namespace kalvero
