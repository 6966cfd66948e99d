#pragma once

#include "engine/settings_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QSlider>

class QButtonGroup;

namespace kalvero {

// The settings screen's controls, each a Qt widget that follows the rules of its settings
// interface.

class TTrackBar final : public QSlider, public TTrackBarControl {
public:
    // lineSize is the step of the arrow keys; ticks every tickSpacing positions.
    TTrackBar(int min, int max, int position, int lineSize, int tickSpacing, QWidget* parent);
    int Position() const override { return value(); }
    void SetPosition(int position) override { setValue(position); }
    int Min() const override { return minimum(); }
    int Max() const override { return maximum(); }
};

class TRadioGroup final : public QGroupBox, public TRadioGroupControl {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    int ItemCount() const override;
    QString ItemText(int index) const;

signals:
    // A user chose an item (not emitted by SetItemIndex).
    void Click();

private:
    QButtonGroup* FButtons;
};

class TComboBox final : public QComboBox, public TComboBoxControl {
public:
    explicit TComboBox(QWidget* parent);
    int ItemIndex() const override { return currentIndex(); }
    void SetItemIndex(int index) override;
    int ItemCount() const override { return count(); }
};

class TCheckBox final : public QCheckBox, public TCheckBoxControl {
public:
    TCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}
    bool Checked() const override { return isChecked(); }
    void SetChecked(bool checked) override { setChecked(checked); }
};

} // namespace kalvero
