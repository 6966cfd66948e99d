#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;
class QWidget;

namespace kalvero {

class TSettingsControls;
class TTrackBarControl;
class TSpriteField;
class TAlertnessTask;
struct TRunState;

// The keys the commands know, independent of the keyboard layout: both plus keys and both
// minus keys (main keyboard and numeric keypad) map to one command each.
enum class TCommandKey {
    None,
    Space,
    Escape,
    F3,
    F5,
    F6,
    F8,
    A,
    H,
    M,
    P,
    V,
    W,
    Z,
    Left,
    Right,
    Up,
    Down,
    Plus,
    Minus,
};

// The command key of a Qt key with its modifiers; None for every key without a command.
TCommandKey CommandKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// What the keyboard commands ask of the main window and its run control.
class TKeyboardWindow {
public:
    virtual ~TKeyboardWindow() = default;
    virtual void BeginPause(bool reminder) = 0;
    virtual void EndPause() = 0;
    // Ends the active run with the given end reason and redraws the display.
    virtual void StopRun(const QString& reason) = 0;
    // Closes the main window, which ends the program.
    virtual void CloseProgram() = 0;
    // Opens the history window for the current user in the current mode; nothing without a
    // user.
    virtual void OpenHistory() = 0;
    // "Takt" and "fein" on or off (stored program-wide at once), the statistics line on or off.
    virtual void ToggleVSync() = 0;
    virtual void ToggleSmooth() = 0;
    virtual void ToggleStats() = 0;
    // A settings key was used during the run (written to the protocol as "Verstellt").
    virtual void MarkRunChanged() = 0;
};

struct TKeyboardParts {
    TSettingsControls& Controls;
    const TRunState& Run;
    TSpriteField& Sprites;
    TAlertnessTask& Alertness;
    TKeyboardWindow& Window;
    QWidget* DialogParent = nullptr; // owner of the help message box
};

// The help text of the keyboard commands (lines broken by single carriage returns).
QString KeyboardCommandsText();
// Shows the help text in a plain message box.
void ShowKeyboardCommands(QWidget* parent);

// The keyboard commands of the main window: during a run single keys answer the alertness
// stimulus, pause, stop, and change the picture, speed, count and options through the settings
// controls themselves, so changes stay on the settings screen after the run; on the settings
// screen F3 opens the history and Esc ends the program.
class TKeyboardCommands {
public:
    explicit TKeyboardCommands(TKeyboardParts parts) : FParts(parts) {}

    // Handles one key press; returns true when the key is consumed (no control receives it),
    // false when it is to be passed on to the focused control as usual.
    bool FormKeyDown(TCommandKey key);
    // A key press the main window received: accepted when consumed, ignored otherwise so that
    // it goes on as usual. Returns whether it was consumed.
    bool KeyPress(QKeyEvent& event);

    // The button "Tastaturkommandos" and key H during a run.
    void ButtonKommandosClick();

    // Settings locked by the user's training plan: during a run only the space bar, Z, H, P,
    // Esc and the function keys act.
    void SetLocked(bool locked) { FLocked = locked; }
    bool Locked() const { return FLocked; }

private:
    bool PausedKey(TCommandKey key);
    bool RunControlKey(TCommandKey key);
    void SettingsKey(TCommandKey key);
    void SpaceBar();
    void StepBackground(int step);
    void StepSpriteSet(int step);
    // The track bar clamps to its range and runs its change handler when the position moves.
    static void StepTrackBar(TTrackBarControl& bar, int step);

    TKeyboardParts FParts;
    bool FLocked = false;
};

} // namespace kalvero
