#include "app/keyboard_commands.h"

#include "engine/alertness_task.h"
#include "engine/run_state.h"
#include "engine/settings_controls.h"
#include "engine/sprite_field.h"
#include "platform/ui/dialogs.h"

#include <QKeyEvent>

namespace kalvero {

namespace {

const char* const HelpText = "TASTATURKOMMANDOS: \r\r"
                             "Leertaste: Reaktion auf den Alertnessreiz\r"
                             "P: Pause (weiter mit Leertaste)\r"
                             "Esc: Durchgang beenden\r\r"
                             "Pfeiltasten: Hintergrund und Bewegte Reize ändern\r"
                             "A: Alertness ein/ aus\r"
                             "V: Verfolger ein/aus\r"
                             "Z: Zeit ein/aus\r"
                             "+/- : Reize schneller oder langsamer\r"
                             "M: Mehr Reize erzeugen\r"
                             "W: Weniger Reize erzeugen\r"
                             "H: Dieses Hilfsfenster anzeigen\r\r"
                             "Im Startbildschirm: F3 = Verlauf";

const QString StopReasonEsc = QStringLiteral("Esc");

// Keys that change a setting of the run and so mark it as changed, even at a limit.
bool ChangesSettings(TCommandKey key) {
    switch (key) {
    case TCommandKey::V:
    case TCommandKey::A:
    case TCommandKey::M:
    case TCommandKey::W:
    case TCommandKey::Left:
    case TCommandKey::Right:
    case TCommandKey::Up:
    case TCommandKey::Down:
    case TCommandKey::Plus:
    case TCommandKey::Minus:
        return true;
    default:
        return false;
    }
}

// Keys that still act while the plan locks the settings (besides those handled before the
// lock: P, Esc and the function keys).
bool AllowedWhenLocked(TCommandKey key) {
    return key == TCommandKey::Space || key == TCommandKey::Z || key == TCommandKey::H;
}

TCommandKey LetterKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_A:
        return TCommandKey::A;
    case Qt::Key_H:
        return TCommandKey::H;
    case Qt::Key_M:
        return TCommandKey::M;
    case Qt::Key_P:
        return TCommandKey::P;
    case Qt::Key_V:
        return TCommandKey::V;
    case Qt::Key_W:
        return TCommandKey::W;
    case Qt::Key_Z:
        return TCommandKey::Z;
    default:
        return TCommandKey::None;
    }
}

// The item after (step +1) or before (step -1) index in a list of count items, wrapping at both
// ends; no selection counts as before the first when stepping forwards and as after the last
// when stepping backwards.
int WrappedItem(int index, int count, int step) {
    if (step > 0)
        return index < 0 || index >= count - 1 ? 0 : index + 1;
    return index <= 0 || index >= count ? count - 1 : index - 1;
}

} // namespace

TCommandKey CommandKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    switch (qtKey) {
    case Qt::Key_Space:
        return TCommandKey::Space;
    case Qt::Key_Escape:
        return TCommandKey::Escape;
    case Qt::Key_F3:
        return TCommandKey::F3;
    case Qt::Key_F5:
        return TCommandKey::F5;
    case Qt::Key_F6:
        return TCommandKey::F6;
    case Qt::Key_F8:
        return TCommandKey::F8;
    case Qt::Key_Left:
        return TCommandKey::Left;
    case Qt::Key_Right:
        return TCommandKey::Right;
    case Qt::Key_Up:
        return TCommandKey::Up;
    case Qt::Key_Down:
        return TCommandKey::Down;
    // Keypad and main-keyboard plus and minus report the same Qt key; on layouts whose plus
    // key types "=" unshifted (US, French) that key counts as plus too.
    case Qt::Key_Plus:
        return TCommandKey::Plus;
    case Qt::Key_Equal:
        return modifiers.testFlag(Qt::ShiftModifier) ? TCommandKey::None : TCommandKey::Plus;
    case Qt::Key_Minus:
        return TCommandKey::Minus;
    default:
        return LetterKey(qtKey);
    }
}

QString KeyboardCommandsText() {
    return QString::fromUtf8(HelpText);
}

void ShowKeyboardCommands(QWidget* parent) {
    ShowMessage(parent, TMsgKind::Information, QStringLiteral("Kalvero 4"), KeyboardCommandsText());
}

void TKeyboardCommands::ButtonKommandosClick() {
    ShowKeyboardCommands(FParts.DialogParent);
}

bool TKeyboardCommands::FormKeyDown(TCommandKey key) {
    const TRunState& run = FParts.Run;
    if (run.IsRunning && run.FPaused && key != TCommandKey::Escape)
        return PausedKey(key);
    if (key == TCommandKey::F3 && !run.IsRunning) {
        FParts.Window.OpenHistory();
        return true;
    }
    if (key == TCommandKey::Escape) {
        if (run.IsRunning)
            FParts.Window.StopRun(StopReasonEsc);
        else
            FParts.Window.CloseProgram();
        return false;
    }
    if (!run.IsRunning || RunControlKey(key))
        return false;
    if (FLocked && !AllowedWhenLocked(key))
        return false;
    if (ChangesSettings(key))
        FParts.Window.MarkRunChanged();
    SettingsKey(key);
    return false;
}

bool TKeyboardCommands::PausedKey(TCommandKey key) {
    if (key == TCommandKey::Space || key == TCommandKey::P)
        FParts.Window.EndPause();
    return true;
}

bool TKeyboardCommands::RunControlKey(TCommandKey key) {
    TKeyboardWindow& window = FParts.Window;
    switch (key) {
    case TCommandKey::P:
        window.BeginPause(false);
        return true;
    case TCommandKey::F5:
        window.ToggleVSync();
        return true;
    case TCommandKey::F6:
        window.ToggleSmooth();
        return true;
    case TCommandKey::F8:
        window.ToggleStats();
        return true;
    default:
        return false;
    }
}

void TKeyboardCommands::SettingsKey(TCommandKey key) {
    TSettingsControls& controls = FParts.Controls;
    switch (key) {
    case TCommandKey::Space:
        SpaceBar();
        break;
    case TCommandKey::Z:
        controls.checkboxZeit().SetChecked(!controls.checkboxZeit().Checked());
        break;
    case TCommandKey::H:
        ButtonKommandosClick();
        break;
    case TCommandKey::V:
        controls.checkboxVerfolger().SetChecked(!controls.checkboxVerfolger().Checked());
        break;
    case TCommandKey::A:
        FParts.Alertness.ToggleAlertness(controls.RadioGroupAlertness());
        break;
    case TCommandKey::Right:
        StepBackground(+1);
        break;
    case TCommandKey::Left:
        StepBackground(-1);
        break;
    case TCommandKey::Up:
        StepSpriteSet(+1);
        break;
    case TCommandKey::Down:
        StepSpriteSet(-1);
        break;
    case TCommandKey::Plus:
        StepTrackBar(controls.TrackBarSpeed(), +1);
        break;
    case TCommandKey::Minus:
        StepTrackBar(controls.TrackBarSpeed(), -1);
        break;
    case TCommandKey::M:
        StepTrackBar(controls.TrackBarNumberOfSprites(), +1);
        break;
    case TCommandKey::W:
        StepTrackBar(controls.TrackBarNumberOfSprites(), -1);
        break;
    default:
        break;
    }
}

void TKeyboardCommands::SpaceBar() {
    if (FParts.Controls.RadioGroupAlertness().ItemIndex() > 0)
        FParts.Alertness.SpaceBar();
}

void TKeyboardCommands::StepBackground(int step) {
    TComboBoxControl& combo = FParts.Controls.ComboBackground();
    if (combo.ItemCount() <= 0)
        return;
    combo.SetItemIndex(WrappedItem(combo.ItemIndex(), combo.ItemCount(), step));
    FParts.Sprites.CurrentBackgroundIndex = combo.ItemIndex();
    FParts.Sprites.ResetBackOffset();
}

void TKeyboardCommands::StepSpriteSet(int step) {
    TComboBoxControl& combo = FParts.Controls.ComboSprite();
    if (combo.ItemCount() <= 0)
        return;
    combo.SetItemIndex(WrappedItem(combo.ItemIndex(), combo.ItemCount(), step));
    FParts.Sprites.CurrentSpriteType = combo.ItemIndex();
    FParts.Sprites.RebuildSprites();
}

void TKeyboardCommands::StepTrackBar(TTrackBarControl& bar, int step) {
    bar.SetPosition(bar.Position() + step);
}

bool TKeyboardCommands::KeyPress(QKeyEvent& event) {
    const bool consumed = FormKeyDown(CommandKeyOf(event.key(), event.modifiers()));
    event.setAccepted(consumed);
    return consumed;
}

} // namespace kalvero
