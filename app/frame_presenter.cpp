#include "app/frame_presenter.h"

#include "engine/back_buffer.h"
#include "engine/frame_composer_cairo.h"
#include "engine/run_state.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace kalvero {

TFramePresenter::TFramePresenter(TCairoFrameComposer& composer, const TRunState& run,
                                 QWidget& window, QWidget& paintBox)
    : QObject(&window), FComposer(composer), FRun(run), FWindow(window), FPaintBox(paintBox) {
    // The frames cover the whole window: nothing is to be erased before they are painted.
    FWindow.setAttribute(Qt::WA_OpaquePaintEvent);
    FPaintBox.installEventFilter(this);
}

const QImage& TFramePresenter::BackImage() {
    const TBackBuffer& back = FComposer.BackBuffer();
    const bool current = FBackImageBits == back.FBackBits && FBackImage.width() == back.FBackW &&
                         FBackImage.height() == back.FBackH;
    if (!current) {
        FBackImage = back.FBackBits ? QImage(back.FBackBits, back.FBackW, back.FBackH,
                                             back.FBackW * 4, QImage::Format_ARGB32_Premultiplied)
                                    : QImage();
        FBackImageBits = back.FBackBits;
    }
    return FBackImage;
}

void TFramePresenter::PresentBackBuffer(int width, int height) {
    FWindow.repaint(0, 0, width, height);
}

void TFramePresenter::FormPaint() {
    if (!FRun.IsRunning || !FComposer.HasBackBuffer())
        return;
    QPainter painter(&FWindow);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, BackImage());
}

void TFramePresenter::SkPaintBox1Draw() {
    QPainter painter(&FPaintBox);
    painter.fillRect(FPaintBox.rect(), Qt::white);
    if (!FRun.IsRunning || FComposer.HasBackBuffer())
        return;
    const int width = FPaintBox.width(), height = FPaintBox.height();
    if (FFallback.Width() != width || FFallback.Height() != height)
        FFallback = TRasterImage::Create(width, height);
    if (!FFallback)
        return;
    FComposer.DrawFrameOn(FFallback, static_cast<float>(width), static_cast<float>(height));
    const QImage frame(FFallback.Data(), width, height, FFallback.Stride(),
                       QImage::Format_ARGB32_Premultiplied);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, frame);
}

bool TFramePresenter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &FPaintBox && event->type() == QEvent::Paint) {
        SkPaintBox1Draw();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kalvero
