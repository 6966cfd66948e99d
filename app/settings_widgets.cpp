#include "app/settings_widgets.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kalvero {

TTrackBar::TTrackBar(int min, int max, int position, int lineSize, int tickSpacing, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setRange(min, max);
    setValue(position);
    setSingleStep(lineSize);
    setTickInterval(tickSpacing);
    setTickPosition(QSlider::TicksBelow);
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        FButtons->addButton(button, i);
        layout->addWidget(button);
    }
    SetItemIndex(0);
    connect(FButtons, &QButtonGroup::idClicked, this, [this] { emit Click(); });
}

int TRadioGroup::ItemIndex() const {
    return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    index = std::clamp(index, -1, ItemCount() - 1);
    if (index >= 0) {
        FButtons->button(index)->setChecked(true);
        return;
    }
    if (QAbstractButton* checked = FButtons->checkedButton()) {
        // An exclusive group never unchecks its last button by itself.
        FButtons->setExclusive(false);
        checked->setChecked(false);
        FButtons->setExclusive(true);
    }
}

int TRadioGroup::ItemCount() const {
    return static_cast<int>(FButtons->buttons().size());
}

QString TRadioGroup::ItemText(int index) const {
    QAbstractButton* button = FButtons->button(index);
    return button ? button->text() : QString();
}

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {}

void TComboBox::SetItemIndex(int index) {
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

} // namespace kalvero
