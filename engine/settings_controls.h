#pragma once

namespace kalvero {

// The settings screen's controls are the only store of the training settings. The training
// settings code reads and sets them through these small interfaces; the main window implements
// them with its real Qt controls, so the rules below are the ones users get.

// A track bar: a position within Min() .. Max().
class TTrackBarControl {
public:
    virtual ~TTrackBarControl() = default;
    virtual int Position() const = 0;
    // Clamps to Min() .. Max(). A position that changes fires the control's change handler.
    virtual void SetPosition(int position) = 0;
    virtual int Min() const = 0;
    virtual int Max() const = 0;
};

// A group of radio buttons: one item selected, or none (-1).
class TRadioGroupControl {
public:
    virtual ~TRadioGroupControl() = default;
    virtual int ItemIndex() const = 0;
    // Limits the value to -1 .. ItemCount() - 1: a larger value selects the last item, a value
    // below -1 gives no selection.
    virtual void SetItemIndex(int index) = 0;
    virtual int ItemCount() const = 0;
};

// A list to choose from: one item selected, or none (-1).
class TComboBoxControl {
public:
    virtual ~TComboBoxControl() = default;
    virtual int ItemIndex() const = 0;
    // An index outside 0 .. ItemCount() - 1 leaves the list with no selection (-1).
    virtual void SetItemIndex(int index) = 0;
    virtual int ItemCount() const = 0;
};

class TCheckBoxControl {
public:
    virtual ~TCheckBoxControl() = default;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

// The ten controls that carry one training configuration, named after the main window's
// controls.
class TSettingsControls {
public:
    virtual ~TSettingsControls() = default;
    virtual TComboBoxControl& ComboBackground() = 0;
    virtual TComboBoxControl& ComboSprite() = 0;
    virtual TTrackBarControl& TrackBarSpeed() = 0;
    virtual TTrackBarControl& TrackBarNumberOfSprites() = 0;
    virtual TTrackBarControl& TrackBarDarbietungszeit() = 0;
    virtual TRadioGroupControl& RadioGroupDirection() = 0;
    virtual TRadioGroupControl& RadioGroupSameSpeed() = 0;
    virtual TRadioGroupControl& RadioGroupAlertness() = 0;
    virtual TCheckBoxControl& checkboxVerfolger() = 0;
    virtual TCheckBoxControl& checkboxZeit() = 0;
};

// Ranges and defaults of the controls, shared by every implementation.
namespace settings_range {
inline constexpr int SpeedMin = 1, SpeedMax = 20, SpeedDefault = 5;
inline constexpr int CountMin = 0, CountMax = 150, CountDefault = 40, CountLineSize = 5;
inline constexpr int ShowtimeMin = 0, ShowtimeMax = 30, ShowtimeDefault = 0, ShowtimeLineSize = 5;
} // namespace settings_range

} // namespace kalvero
