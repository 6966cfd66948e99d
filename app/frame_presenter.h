#pragma once

#include "engine/raster_image.h"

#include <QImage>
#include <QObject>

class QWidget;

namespace kalvero {

class TCairoFrameComposer;
struct TRunState;

// Shows composed frames: the main window paints the back buffer 1:1 at its origin through a
// QImage over the same memory (no conversion, made again only when the buffer changes); the
// paint box draws white, and during a run without a back buffer the frame itself.
class TFramePresenter final : public QObject {
public:
    // window: the main window, which paints the back buffer; paintBox: the white background
    // that draws the frames when there is no back buffer.
    TFramePresenter(TCairoFrameComposer& composer, const TRunState& run, QWidget& window,
                    QWidget& paintBox);

    // Copies the back buffer to the window now (one frame, from the frame loop).
    void PresentBackBuffer(int width, int height);
    // Paint handler of the main window: during a run the last composed frame, if there is one.
    void FormPaint();
    // Paint handler of the paint box: opaque white; during a run without a back buffer the
    // frame drawn on the calling thread.
    void SkPaintBox1Draw();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QImage& BackImage();

    TCairoFrameComposer& FComposer;
    const TRunState& FRun;
    QWidget& FWindow;
    QWidget& FPaintBox;
    QImage FBackImage; // over the back buffer's memory
    const void* FBackImageBits = nullptr;
    TRasterImage FFallback; // the paint box's frame
};

} // namespace kalvero
