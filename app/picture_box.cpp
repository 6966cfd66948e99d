#include "app/picture_box.h"

#include <QPainter>

namespace kalvero {

TPictureBox::TPictureBox(TFit fit, QWidget* parent) : QWidget(parent), FFit(fit) {}

void TPictureBox::SetPicture(const QImage& image) {
    FImage = image;
    update();
}

QRect TPictureBox::PictureRect() const {
    if (FImage.isNull())
        return {};
    if (FFit == TFit::Stretch)
        return rect();
    QSize size = FImage.size();
    if (size.width() > width() || size.height() > height())
        size = size.scaled(this->size(), Qt::KeepAspectRatio);
    return {(width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
            size.height()};
}

void TPictureBox::paintEvent(QPaintEvent*) {
    if (FImage.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureRect(), FImage);
}

} // namespace kalvero
