#pragma once

#include <QLabel>
#include <QWidget>
#include <functional>

namespace kalvero {

// A widget that leaves its painting to a handler (the charts of the history window).
class TPaintBox : public QWidget {
public:
    using TPaintFn = std::function<void(QPainter& canvas, const QRect& clientRect)>;
    explicit TPaintBox(QWidget* parent = nullptr);
    TPaintFn OnPaint;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A one-line label of fixed size that ends its text with an ellipsis when it does not fit.
class TEllipsisLabel : public QLabel {
public:
    explicit TEllipsisLabel(QWidget* parent = nullptr);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kalvero
