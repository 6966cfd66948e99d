#include "engine/plain_settings_controls.h"

#include "engine/training_settings.h"

#include <algorithm>
#include <utility>

namespace kalvero {

TPlainTrackBar::TPlainTrackBar(int min, int max, int position)
    : FMin(min), FMax(max), FPosition(std::clamp(position, min, max)) {}

void TPlainTrackBar::SetPosition(int position) {
    const int clamped = std::clamp(position, FMin, FMax);
    if (clamped == FPosition)
        return;
    FPosition = clamped;
    if (OnChange)
        OnChange();
}

TPlainRadioGroup::TPlainRadioGroup(QStringList items) : FItems(std::move(items)) {}

void TPlainRadioGroup::SetItemIndex(int index) {
    FIndex = index < -1 ? -1 : std::min(index, ItemCount() - 1);
}

TPlainComboBox::TPlainComboBox(QStringList items)
    : FItems(std::move(items)), FIndex(FItems.isEmpty() ? -1 : 0) {}

void TPlainComboBox::SetItemIndex(int index) {
    FIndex = index >= 0 && index < ItemCount() ? index : -1;
}

namespace {
QStringList BackgroundItems(int count) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << QStringLiteral("Hintergrund %1").arg(i);
    return items;
}
} // namespace

TPlainSettingsControls::TPlainSettingsControls(int backgroundCount)
    : FSpeed(settings_range::SpeedMin, settings_range::SpeedMax, settings_range::SpeedDefault),
      FCount(settings_range::CountMin, settings_range::CountMax, settings_range::CountDefault),
      FShowtime(settings_range::ShowtimeMin, settings_range::ShowtimeMax,
                settings_range::ShowtimeDefault),
      FBackground(BackgroundItems(backgroundCount)), FSprite(SpriteNames()),
      FDirection(DirectionItems()), FSameSpeed(SameSpeedItems()), FAlertness(AlertnessItems()) {}

} // namespace kalvero
