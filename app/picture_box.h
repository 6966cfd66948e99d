#pragma once

#include <QImage>
#include <QWidget>

namespace kalvero {

// A picture control: shows one image, either stretched over the whole control or centred and,
// when it is larger than the control, scaled down keeping its proportions. Empty when the image
// is null.
class TPictureBox final : public QWidget {
public:
    enum class TFit { Stretch, CentreProportional };

    TPictureBox(TFit fit, QWidget* parent);

    void SetPicture(const QImage& image);
    void Clear() { SetPicture(QImage()); }
    const QImage& Picture() const { return FImage; }
    bool IsEmpty() const { return FImage.isNull(); }
    // Where the image is drawn within the control.
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TFit FFit;
    QImage FImage;
};

} // namespace kalvero
