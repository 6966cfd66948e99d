#pragma once

#include "engine/settings_controls.h"

#include <QStringList>
#include <functional>

namespace kalvero {

// In-memory controls with the same rules as the window's, for tests and headless use.

class TPlainTrackBar final : public TTrackBarControl {
public:
    TPlainTrackBar(int min, int max, int position);
    int Position() const override { return FPosition; }
    void SetPosition(int position) override;
    int Min() const override { return FMin; }
    int Max() const override { return FMax; }
    std::function<void()> OnChange;

private:
    int FMin, FMax, FPosition;
};

class TPlainRadioGroup final : public TRadioGroupControl {
public:
    explicit TPlainRadioGroup(QStringList items);
    int ItemIndex() const override { return FIndex; }
    void SetItemIndex(int index) override;
    int ItemCount() const override { return static_cast<int>(FItems.size()); }

private:
    QStringList FItems;
    int FIndex = 0;
};

class TPlainComboBox final : public TComboBoxControl {
public:
    explicit TPlainComboBox(QStringList items);
    int ItemIndex() const override { return FIndex; }
    void SetItemIndex(int index) override;
    int ItemCount() const override { return static_cast<int>(FItems.size()); }

private:
    QStringList FItems;
    int FIndex;
};

class TPlainCheckBox final : public TCheckBoxControl {
public:
    bool Checked() const override { return FChecked; }
    void SetChecked(bool checked) override { FChecked = checked; }

private:
    bool FChecked = false;
};

// The ten controls in their factory state; backgroundCount items in the background list.
class TPlainSettingsControls final : public TSettingsControls {
public:
    explicit TPlainSettingsControls(int backgroundCount = 72);

    TComboBoxControl& ComboBackground() override { return FBackground; }
    TComboBoxControl& ComboSprite() override { return FSprite; }
    TTrackBarControl& TrackBarSpeed() override { return FSpeed; }
    TTrackBarControl& TrackBarNumberOfSprites() override { return FCount; }
    TTrackBarControl& TrackBarDarbietungszeit() override { return FShowtime; }
    TRadioGroupControl& RadioGroupDirection() override { return FDirection; }
    TRadioGroupControl& RadioGroupSameSpeed() override { return FSameSpeed; }
    TRadioGroupControl& RadioGroupAlertness() override { return FAlertness; }
    TCheckBoxControl& checkboxVerfolger() override { return FVerfolger; }
    TCheckBoxControl& checkboxZeit() override { return FZeit; }

    TPlainTrackBar FSpeed, FCount, FShowtime;

private:
    TPlainComboBox FBackground, FSprite;
    TPlainRadioGroup FDirection, FSameSpeed, FAlertness;
    TPlainCheckBox FVerfolger, FZeit;
};

} // namespace kalvero
