#include "app/panel_scaling.h"

#include <QLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kalvero {

namespace {
constexpr double PanelMargin = 0.95;
constexpr double SmallestFactor = 0.1;

int Scaled(int value, double factor) {
    return static_cast<int>(std::lround(value * factor));
}

bool PlacedByLayout(const QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(&widget) >= 0;
}

void ScaleGeometry(QWidget& widget, double factor) {
    const QRect g = widget.geometry();
    widget.setGeometry(Scaled(g.x(), factor), Scaled(g.y(), factor), Scaled(g.width(), factor),
                       Scaled(g.height(), factor));
}

void ScaleOwnFont(QWidget& widget, double factor) {
    if (!(widget.font().resolveMask() & QFont::SizeResolved) ||
        !widget.testAttribute(Qt::WA_SetFont))
        return;
    QFont font = widget.font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, Scaled(font.pixelSize(), factor)));
    widget.setFont(font);
}
} // namespace

double PanelScaleFactor(int clientWidth, int clientHeight, int designWidth, int designHeight) {
    if (clientWidth <= 0 || clientHeight <= 0 || designWidth <= 0 || designHeight <= 0)
        return 0.0;
    const double s = std::min(static_cast<double>(clientWidth) / designWidth,
                              static_cast<double>(clientHeight) / designHeight) *
                     PanelMargin;
    if (s <= SmallestFactor)
        return 0.0;
    return std::nearbyint(s * 100.0) / 100.0;
}

void ScaleWidgetTree(QWidget& widget, double factor) {
    ScaleOwnFont(widget, factor);
    ScaleGeometry(widget, factor);
    const auto children = widget.findChildren<QWidget*>();
    for (QWidget* child : children) {
        ScaleOwnFont(*child, factor);
        if (!child->isWindow() && !PlacedByLayout(*child))
            ScaleGeometry(*child, factor);
    }
}

void CentreInParent(QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    if (!parent)
        return;
    widget.move((parent->width() - widget.width()) / 2, (parent->height() - widget.height()) / 2);
}

} // namespace kalvero
