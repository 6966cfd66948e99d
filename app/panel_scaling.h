#pragma once

class QWidget;

namespace kalvero {

// The factor by which the settings panel of design size designWidth x designHeight is scaled
// for a client area: min(width ratio, height ratio) x 0.95, rounded to whole percent. 0 when
// the factor is 0.1 or less (the panel then keeps its design size) or a size is not positive.
double PanelScaleFactor(int clientWidth, int clientHeight, int designWidth, int designHeight);

// Scales the widget and everything on it: positions and sizes of the widget and of every
// descendant not placed by a layout, and every font size that is set explicitly (inherited
// sizes follow their parent). Values are rounded to whole pixels.
void ScaleWidgetTree(QWidget& widget, double factor);

// Places the widget in the middle of its parent: left = (parent width - width) div 2, top the
// same with the heights.
void CentreInParent(QWidget& widget);

} // namespace kalvero
