#include "app/keyboard_commands.h"

#include "common/dialog_answers.h"
#include "engine/alertness_fakes.h"
#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "platform/clock.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QStringList>
#include <functional>
#include <ostream>
#include <string>

namespace kalvero {

// Readable key names in failure messages and test names.
static const char* KeyName(TCommandKey key) {
    static const char* const names[] = {"None", "Space", "Escape", "F3",   "F5",   "F6",   "F8",
                                        "A",    "H",     "M",      "P",    "V",    "W",    "Z",
                                        "Left", "Right", "Up",     "Down", "Plus", "Minus"};
    return names[static_cast<int>(key)];
}
static void PrintTo(TCommandKey key, std::ostream* os) {
    *os << KeyName(key);
}

namespace {

using test::TActiveTime;
using test::TAlertFrames;
using test::TDialogAnswers;
using test::TRecordedSounds;

using K = TCommandKey;

// The window and run control as the commands see them: records every request and keeps the
// run flags as the run control would.
class TRecordingWindow final : public TKeyboardWindow {
public:
    explicit TRecordingWindow(TRunState& run) : FRun(run) {}

    void BeginPause(bool reminder) override {
        Calls << QStringLiteral("BeginPause(%1)").arg(reminder);
        FRun.FPaused = true;
        FRun.FPauseIsReminder = reminder;
    }
    void EndPause() override {
        Calls << QStringLiteral("EndPause");
        FRun.FPaused = false;
    }
    void StopRun(const QString& reason) override {
        Calls << QStringLiteral("StopRun(%1)").arg(reason);
        FRun.FStopReason = reason;
        FRun.FPaused = false;
        FRun.IsRunning = false;
    }
    void CloseProgram() override { Calls << QStringLiteral("CloseProgram"); }
    void OpenHistory() override { Calls << QStringLiteral("OpenHistory"); }
    void ToggleVSync() override { Calls << QStringLiteral("ToggleVSync"); }
    void ToggleSmooth() override { Calls << QStringLiteral("ToggleSmooth"); }
    void ToggleStats() override { Calls << QStringLiteral("ToggleStats"); }
    void MarkRunChanged() override { Changed = true; }

    QStringList Calls;
    bool Changed = false;

private:
    TRunState& FRun;
};

class TLabels final : public TSettingsWindow {
public:
    void UpdatePreviews() override {}
    void SetLabelSpeed(const QString&) override {}
    void SetLabelNumberOfSprites(const QString&) override {}
    void FocusMainWindow() override {}
};

// A running, unpaused run on a 1920 x 1080 display with the controls in their factory state
// (72 backgrounds, 15 stimulus sets).
class KeyboardCommandsTest : public ::testing::Test {
protected:
    KeyboardCommandsTest() {
        Run.IsRunning = true;
        Run.FRenderWidth = 1920;
        Run.FRenderHeight = 1080;
        Controls.FSpeed.OnChange = [this] { Settings.TrackBarSpeedChange(); };
        Controls.FCount.OnChange = [this] { Settings.TrackBarNumberOfSpritesChange(); };
        Alertness.Connect({Stopwatch, Random, Frames, Run, RunTime, Sounds});
        Sprites.RebuildSprites();
    }

    bool Press(TCommandKey key) { return Commands.FormKeyDown(key); }
    QStringList Effects() const {
        QStringList all = Window.Calls;
        if (Window.Changed)
            all << QStringLiteral("changed");
        return all;
    }

    TPlainSettingsControls Controls;
    TRunState Run;
    TSeededRandom Random{11};
    TManualClock Stopwatch;
    TAlertFrames Frames;
    TActiveTime RunTime;
    TRecordedSounds Sounds;
    TCursorIdle Cursor;
    TSequenceTimer Sequence;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Sprites{Random, Frames, Controls, Run, {Cursor, Sequence, Follower, Alertness}};
    TLabels Labels;
    TTrainingSettings Settings{Controls, Sprites, Alertness, Run, Labels};
    TRecordingWindow Window{Run};
    TKeyboardCommands Commands{{Controls, Run, Sprites, Alertness, Window}};
    TDialogAnswers Dialogs;
};

// --- Keys of the table: limits, wrap-arounds and the "changed" mark ------------------------

using TControlsRef = TPlainSettingsControls&;

struct TKeyCase {
    const char* Name;
    std::function<void(TControlsRef)> Setup;
    TCommandKey Key;
    std::function<int(TControlsRef)> Read;
    int Expected;
    bool Changed;
};

void PrintTo(const TKeyCase& c, std::ostream* os) {
    *os << c.Name;
}

int Speed(TControlsRef c) {
    return c.TrackBarSpeed().Position();
}
int Count(TControlsRef c) {
    return c.TrackBarNumberOfSprites().Position();
}
int Background(TControlsRef c) {
    return c.ComboBackground().ItemIndex();
}
int SpriteSet(TControlsRef c) {
    return c.ComboSprite().ItemIndex();
}
int AlertItem(TControlsRef c) {
    return c.RadioGroupAlertness().ItemIndex();
}
int Verfolger(TControlsRef c) {
    return c.checkboxVerfolger().Checked();
}
int Zeit(TControlsRef c) {
    return c.checkboxZeit().Checked();
}
auto SpeedAt(int v) {
    return [v](TControlsRef c) { c.TrackBarSpeed().SetPosition(v); };
}
auto CountAt(int v) {
    return [v](TControlsRef c) { c.TrackBarNumberOfSprites().SetPosition(v); };
}
auto BackgroundAt(int v) {
    return [v](TControlsRef c) { c.ComboBackground().SetItemIndex(v); };
}
auto SpriteSetAt(int v) {
    return [v](TControlsRef c) { c.ComboSprite().SetItemIndex(v); };
}
auto AlertAt(int v) {
    return [v](TControlsRef c) { c.RadioGroupAlertness().SetItemIndex(v); };
}
void NoSetup(TControlsRef) {}

class KeyTableTest : public KeyboardCommandsTest, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(KeyTableTest, MovesTheControlWithinItsLimits) {
    const TKeyCase& c = GetParam();
    c.Setup(Controls);
    EXPECT_FALSE(Press(c.Key)) << "every run key is passed on";
    EXPECT_EQ(c.Read(Controls), c.Expected);
    EXPECT_EQ(Window.Changed, c.Changed);
    EXPECT_TRUE(Window.Calls.isEmpty()) << Window.Calls.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTableTest,
    ::testing::Values(
        TKeyCase{"PlusRaisesSpeed", SpeedAt(5), K::Plus, Speed, 6, true},
        TKeyCase{"PlusStopsAt20", SpeedAt(20), K::Plus, Speed, 20, true},
        TKeyCase{"MinusLowersSpeed", SpeedAt(5), K::Minus, Speed, 4, true},
        TKeyCase{"MinusStopsAt1", SpeedAt(1), K::Minus, Speed, 1, true},
        TKeyCase{"MAddsOneSprite", CountAt(40), K::M, Count, 41, true},
        TKeyCase{"MStopsAt150", CountAt(150), K::M, Count, 150, true},
        TKeyCase{"WRemovesOneSprite", CountAt(40), K::W, Count, 39, true},
        TKeyCase{"WAtZeroStillMarksChanged", CountAt(0), K::W, Count, 0, true},
        TKeyCase{"RightNextBackground", BackgroundAt(3), K::Right, Background, 4, true},
        TKeyCase{"RightAfterLastIsFirst", BackgroundAt(71), K::Right, Background, 0, true},
        TKeyCase{"RightWithNoneIsFirst", BackgroundAt(-1), K::Right, Background, 0, true},
        TKeyCase{"LeftPreviousBackground", BackgroundAt(5), K::Left, Background, 4, true},
        TKeyCase{"LeftBeforeFirstIsLast", BackgroundAt(0), K::Left, Background, 71, true},
        TKeyCase{"LeftWithNoneIsLast", BackgroundAt(-1), K::Left, Background, 71, true},
        TKeyCase{"UpNextSet", SpriteSetAt(2), K::Up, SpriteSet, 3, true},
        TKeyCase{"UpAfterLastIsFirst", SpriteSetAt(14), K::Up, SpriteSet, 0, true},
        TKeyCase{"DownPreviousSet", SpriteSetAt(2), K::Down, SpriteSet, 1, true},
        TKeyCase{"DownBeforeFirstIsLast", SpriteSetAt(0), K::Down, SpriteSet, 14, true},
        TKeyCase{"DownWithNoneIsLast", SpriteSetAt(-1), K::Down, SpriteSet, 14, true},
        TKeyCase{"AOffBecomesStern", AlertAt(0), K::A, AlertItem, 1, true},
        TKeyCase{"ASternSwitchesOff", AlertAt(1), K::A, AlertItem, 0, true},
        TKeyCase{"ADracheSwitchesOff", AlertAt(2), K::A, AlertItem, 0, true},
        TKeyCase{"ASmileySwitchesOff", AlertAt(3), K::A, AlertItem, 0, true},
        TKeyCase{"ANoneBecomesStern", AlertAt(-1), K::A, AlertItem, 1, true},
        TKeyCase{"VTogglesFollower", NoSetup, K::V, Verfolger, 1, true},
        TKeyCase{"ZTogglesTimeUnchanged", NoSetup, K::Z, Zeit, 1, false},
        TKeyCase{"SpaceLeavesRunUnchanged", AlertAt(1), K::Space, AlertItem, 1, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KeyboardCommandsTest, TwiceVAndZSwitchBackOff) {
    for (TCommandKey key : {K::V, K::V, K::Z, K::Z})
        Press(key);
    EXPECT_FALSE(Controls.checkboxVerfolger().Checked());
    EXPECT_FALSE(Controls.checkboxZeit().Checked());
}

TEST_F(KeyboardCommandsTest, AOnDracheSwitchesOffAndAgainChoosesStern) {
    Controls.RadioGroupAlertness().SetItemIndex(2);
    Alertness.ResetAlertness(2);
    Press(K::A);
    EXPECT_EQ(Controls.RadioGroupAlertness().ItemIndex(), 0);
    EXPECT_EQ(Alertness.AlertnessVars.ActiveMode, 0);
    Alertness.AlertnessVars.IsVisible = true;
    Press(K::A);
    EXPECT_EQ(Controls.RadioGroupAlertness().ItemIndex(), 1);
    EXPECT_EQ(Alertness.AlertnessVars.ActiveMode, 1);
    EXPECT_FALSE(Alertness.AlertnessVars.IsVisible);
    EXPECT_DOUBLE_EQ(Alertness.AlertnessVars.Timer, 2.0);
}

TEST_F(KeyboardCommandsTest, SpeedAndCountKeysRunTheChangeHandlers) {
    Press(K::Plus);
    EXPECT_DOUBLE_EQ(Sprites.BaseSpeedFactor, 6.0);
    for (const auto& sprite : Sprites.ActiveSprites)
        EXPECT_DOUBLE_EQ(sprite->SpeedPxPerSec, 240.0);
    Press(K::W);
    EXPECT_EQ(Sprites.SpriteCount(), 39);
    Press(K::M);
    Press(K::M);
    EXPECT_EQ(Sprites.SpriteCount(), 41);
}

TEST_F(KeyboardCommandsTest, BackgroundKeyMovesTheWorkingCopyAndResetsTheScroll) {
    Controls.ComboBackground().SetItemIndex(10);
    Sprites.BackOffset = 123.0;
    Press(K::Left);
    EXPECT_EQ(Sprites.CurrentBackgroundIndex, 9);
    EXPECT_EQ(Sprites.BackOffset, 0.0);
}

TEST_F(KeyboardCommandsTest, SpriteSetKeyRebuildsTheField) {
    Follower.VerfolgerObj = std::make_unique<TSpriteObj>(0.0, 0.0, 1.0, 1.0, 0);
    Controls.TrackBarNumberOfSprites().SetPosition(7);
    Sprites.ActiveSprites.clear();
    Press(K::Up);
    EXPECT_EQ(Sprites.CurrentSpriteType, 1);
    EXPECT_EQ(Sprites.SpriteCount(), 7);
    EXPECT_EQ(Follower.VerfolgerObj, nullptr);
}

TEST_F(KeyboardCommandsTest, EmptyBackgroundListIgnoresArrowsButMarksChanged) {
    TPlainSettingsControls noBackgrounds(0);
    TKeyboardCommands commands({noBackgrounds, Run, Sprites, Alertness, Window});
    commands.FormKeyDown(K::Right);
    commands.FormKeyDown(K::Left);
    EXPECT_EQ(noBackgrounds.ComboBackground().ItemIndex(), -1);
    EXPECT_TRUE(Window.Changed);
}

// --- Space bar -------------------------------------------------------------------------------

TEST_F(KeyboardCommandsTest, SpaceWithAlertnessOffDoesNothing) {
    Alertness.ResetAlertness(0);
    Alertness.AlertnessVars.ActiveMode = 1; // only the item decides
    Press(K::Space);
    EXPECT_EQ(Alertness.AlertnessVars.TotalFalseAlarms, 0);
    EXPECT_TRUE(Alertness.FStim.empty());
}

TEST_F(KeyboardCommandsTest, SpaceWithNothingVisibleIsAFalseAlarm) {
    Controls.RadioGroupAlertness().SetItemIndex(1);
    Alertness.ResetAlertness(1);
    Press(K::Space);
    EXPECT_EQ(Alertness.AlertnessVars.TotalFalseAlarms, 1);
    ASSERT_EQ(Alertness.FStim.size(), 1u);
    EXPECT_EQ(Alertness.FStim[0].Outcome, soFalseAlarm);
    EXPECT_EQ(Sounds.Played, QStringList{QStringLiteral("error.mp3")});
    EXPECT_FALSE(Window.Changed);
}

TEST_F(KeyboardCommandsTest, SpaceOnAVisibleStimulusIsAHit) {
    Controls.RadioGroupAlertness().SetItemIndex(3);
    Alertness.ResetAlertness(3);
    Alertness.UpdateAlertness(1.0, -1);
    ASSERT_TRUE(Alertness.AlertnessVars.IsVisible);
    Press(K::Space);
    EXPECT_EQ(Alertness.AlertnessVars.TotalHits, 1);
    EXPECT_EQ(Alertness.AlertnessVars.CurrentStep, 1);
}

// --- Order of the tests: pause, settings screen, Esc, run-control keys ------------------------

TEST_F(KeyboardCommandsTest, PDuringARunBeginsAKeyPause) {
    EXPECT_FALSE(Press(K::P));
    EXPECT_EQ(Effects(), QStringList{QStringLiteral("BeginPause(0)")});
}

TEST_F(KeyboardCommandsTest, FunctionKeysSwitchModesWithoutMarkingTheRun) {
    for (TCommandKey key : {K::F5, K::F6, K::F8})
        EXPECT_FALSE(Press(key));
    EXPECT_EQ(Effects(), (QStringList{"ToggleVSync", "ToggleSmooth", "ToggleStats"}));
}

TEST_F(KeyboardCommandsTest, EscDuringARunStopsItWithReasonEsc) {
    EXPECT_FALSE(Press(K::Escape));
    EXPECT_EQ(Effects(), QStringList{QStringLiteral("StopRun(Esc)")});
    EXPECT_EQ(Run.FStopReason, QStringLiteral("Esc"));
}

TEST_F(KeyboardCommandsTest, F3DuringARunDoesNothing) {
    EXPECT_FALSE(Press(K::F3));
    EXPECT_TRUE(Effects().isEmpty());
}

TEST_F(KeyboardCommandsTest, SettingsScreenF3OpensHistoryAndEscEndsTheProgram) {
    Run.IsRunning = false;
    EXPECT_TRUE(Press(K::F3)) << "F3 is consumed";
    EXPECT_FALSE(Press(K::Escape));
    EXPECT_EQ(Effects(), (QStringList{"OpenHistory", "CloseProgram"}));
}

TEST_F(KeyboardCommandsTest, SettingsScreenLeavesEveryOtherKeyToTheControls) {
    Run.IsRunning = false;
    const int speed = Controls.TrackBarSpeed().Position();
    for (TCommandKey key : {K::None, K::Space, K::P, K::F5, K::F6, K::F8, K::Z, K::H, K::V, K::A,
                            K::Left, K::Right, K::Up, K::Down, K::Plus, K::Minus, K::M, K::W})
        EXPECT_FALSE(Press(key));
    EXPECT_TRUE(Effects().isEmpty()) << Effects().join(' ').toStdString();
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), speed);
    EXPECT_FALSE(Controls.checkboxZeit().Checked());
}

class PausedKeyTest : public KeyboardCommandsTest,
                      public ::testing::WithParamInterface<TCommandKey> {};

TEST_P(PausedKeyTest, IsSwallowedWithoutEffect) {
    Controls.RadioGroupAlertness().SetItemIndex(1);
    Alertness.ResetAlertness(1);
    Run.FPaused = true;
    EXPECT_TRUE(Press(GetParam()));
    EXPECT_TRUE(Effects().isEmpty()) << Effects().join(' ').toStdString();
    EXPECT_TRUE(Dialogs.Messages.isEmpty());
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 5);
    EXPECT_EQ(Controls.TrackBarNumberOfSprites().Position(), 40);
    EXPECT_EQ(Controls.ComboBackground().ItemIndex(), 0);
    EXPECT_EQ(Controls.ComboSprite().ItemIndex(), 0);
    EXPECT_EQ(Controls.RadioGroupAlertness().ItemIndex(), 1);
    EXPECT_FALSE(Controls.checkboxZeit().Checked());
    EXPECT_FALSE(Controls.checkboxVerfolger().Checked());
    EXPECT_TRUE(Run.FPaused);
}

INSTANTIATE_TEST_SUITE_P(EveryOtherKey, PausedKeyTest,
                         ::testing::Values(K::None, K::F3, K::F5, K::F6, K::F8, K::Z, K::H, K::V,
                                           K::A, K::Left, K::Right, K::Up, K::Down, K::Plus,
                                           K::Minus, K::M, K::W),
                         [](const auto& info) { return std::string(KeyName(info.param)); });

TEST_F(KeyboardCommandsTest, SpaceOrPEndsThePauseWithoutAReaction) {
    Controls.RadioGroupAlertness().SetItemIndex(1);
    Alertness.ResetAlertness(1);
    for (TCommandKey key : {K::Space, K::P}) {
        Run.FPaused = true;
        EXPECT_TRUE(Press(key));
        EXPECT_FALSE(Run.FPaused);
    }
    EXPECT_EQ(Effects(), (QStringList{"EndPause", "EndPause"}));
    EXPECT_EQ(Alertness.AlertnessVars.TotalFalseAlarms, 0);
}

TEST_F(KeyboardCommandsTest, EscDuringAPauseStopsTheRun) {
    Press(K::P);
    EXPECT_FALSE(Press(K::Escape));
    EXPECT_EQ(Effects(), (QStringList{"BeginPause(0)", "StopRun(Esc)"}));
}

// --- The plan's lock -------------------------------------------------------------------------

TEST_F(KeyboardCommandsTest, NeverLockedUntilAPlanLocks) {
    EXPECT_FALSE(Commands.Locked());
}

class LockedKeyTest : public KeyboardCommandsTest,
                      public ::testing::WithParamInterface<TCommandKey> {};

TEST_P(LockedKeyTest, DoesNothingAndLeavesTheRunUnchanged) {
    Commands.SetLocked(true);
    Controls.ComboBackground().SetItemIndex(5);
    Controls.ComboSprite().SetItemIndex(5);
    EXPECT_FALSE(Press(GetParam()));
    EXPECT_TRUE(Effects().isEmpty()) << Effects().join(' ').toStdString();
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 5);
    EXPECT_EQ(Controls.TrackBarNumberOfSprites().Position(), 40);
    EXPECT_EQ(Controls.ComboBackground().ItemIndex(), 5);
    EXPECT_EQ(Controls.ComboSprite().ItemIndex(), 5);
    EXPECT_EQ(Controls.RadioGroupAlertness().ItemIndex(), 0);
    EXPECT_FALSE(Controls.checkboxVerfolger().Checked());
}

INSTANTIATE_TEST_SUITE_P(SettingsKeys, LockedKeyTest,
                         ::testing::Values(K::V, K::A, K::Left, K::Right, K::Up, K::Down, K::Plus,
                                           K::Minus, K::M, K::W),
                         [](const auto& info) { return std::string(KeyName(info.param)); });

TEST_F(KeyboardCommandsTest, LockedPlanKeepsSpaceZHPEscAndFunctionKeys) {
    Commands.SetLocked(true);
    Controls.RadioGroupAlertness().SetItemIndex(1);
    Alertness.ResetAlertness(1);
    for (TCommandKey key : {K::Space, K::Z, K::H, K::F5, K::F6, K::F8, K::P})
        Press(key);
    Press(K::Escape);
    EXPECT_EQ(Alertness.AlertnessVars.TotalFalseAlarms, 1);
    EXPECT_TRUE(Controls.checkboxZeit().Checked());
    EXPECT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_EQ(Effects(), (QStringList{"ToggleVSync", "ToggleSmooth", "ToggleStats", "BeginPause(0)",
                                      "StopRun(Esc)"}));
}

// --- Help text -------------------------------------------------------------------------------

const char16_t* const ExpectedHelp =
    u"TASTATURKOMMANDOS: \r\rLeertaste: Reaktion auf den Alertnessreiz\rP: Pause (weiter mit "
    u"Leertaste)\rEsc: Durchgang beenden\r\rPfeiltasten: Hintergrund und Bewegte Reize "
    u"\u00e4ndern\rA: Alertness ein/ aus\rV: Verfolger ein/aus\rZ: Zeit ein/aus\r+/- : Reize "
    u"schneller oder langsamer\rM: Mehr Reize erzeugen\rW: Weniger Reize erzeugen\rH: Dieses "
    u"Hilfsfenster anzeigen\r\rIm Startbildschirm: F3 = Verlauf";

TEST_F(KeyboardCommandsTest, HShowsTheHelpTextInAPlainMessageBox) {
    EXPECT_FALSE(Press(K::H));
    ASSERT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_EQ(Dialogs.Messages[0].Text, QString::fromUtf16(ExpectedHelp));
    EXPECT_EQ(Dialogs.Messages[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_FALSE(Window.Changed);
}

TEST_F(KeyboardCommandsTest, KommandosButtonShowsTheSameText) {
    Run.IsRunning = false;
    Commands.ButtonKommandosClick();
    ASSERT_EQ(Dialogs.Messages.size(), 1);
    EXPECT_EQ(Dialogs.Messages[0].Text, KeyboardCommandsText());
    EXPECT_EQ(KeyboardCommandsText(), QString::fromUtf16(ExpectedHelp));
    EXPECT_FALSE(KeyboardCommandsText().contains('\n'));
}

// --- Qt keys ---------------------------------------------------------------------------------

struct TQtKeyCase {
    int QtKey;
    Qt::KeyboardModifiers Modifiers;
    TCommandKey Expected;
};

class QtKeyTest : public ::testing::TestWithParam<TQtKeyCase> {};

TEST_P(QtKeyTest, MapsToItsCommand) {
    const TQtKeyCase& c = GetParam();
    EXPECT_EQ(CommandKeyOf(c.QtKey, c.Modifiers), c.Expected) << "Qt key 0x" << std::hex << c.QtKey;
}

constexpr Qt::KeyboardModifiers NoMod = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Keypad = Qt::KeypadModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, QtKeyTest,
    ::testing::Values(
        TQtKeyCase{Qt::Key_Plus, Keypad, K::Plus}, TQtKeyCase{Qt::Key_Plus, NoMod, K::Plus},
        TQtKeyCase{Qt::Key_Plus, Shift, K::Plus}, TQtKeyCase{Qt::Key_Equal, NoMod, K::Plus},
        TQtKeyCase{Qt::Key_Equal, Shift, K::None}, TQtKeyCase{Qt::Key_Minus, Keypad, K::Minus},
        TQtKeyCase{Qt::Key_Minus, NoMod, K::Minus}, TQtKeyCase{Qt::Key_Space, NoMod, K::Space},
        TQtKeyCase{Qt::Key_Escape, NoMod, K::Escape}, TQtKeyCase{Qt::Key_F3, NoMod, K::F3},
        TQtKeyCase{Qt::Key_F4, NoMod, K::None}, TQtKeyCase{Qt::Key_F5, NoMod, K::F5},
        TQtKeyCase{Qt::Key_F6, NoMod, K::F6}, TQtKeyCase{Qt::Key_F8, NoMod, K::F8},
        TQtKeyCase{Qt::Key_A, Shift, K::A}, TQtKeyCase{Qt::Key_H, NoMod, K::H},
        TQtKeyCase{Qt::Key_M, NoMod, K::M}, TQtKeyCase{Qt::Key_P, NoMod, K::P},
        TQtKeyCase{Qt::Key_V, NoMod, K::V}, TQtKeyCase{Qt::Key_W, NoMod, K::W},
        TQtKeyCase{Qt::Key_Z, NoMod, K::Z}, TQtKeyCase{Qt::Key_Y, NoMod, K::None},
        TQtKeyCase{Qt::Key_Left, Keypad, K::Left}, TQtKeyCase{Qt::Key_Right, NoMod, K::Right},
        TQtKeyCase{Qt::Key_Up, NoMod, K::Up}, TQtKeyCase{Qt::Key_Down, NoMod, K::Down},
        TQtKeyCase{Qt::Key_Asterisk, Keypad, K::None}));

TEST_F(KeyboardCommandsTest, KeyPressAcceptsOnlyConsumedKeys) {
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
    EXPECT_FALSE(Commands.KeyPress(plus));
    EXPECT_FALSE(plus.isAccepted());
    EXPECT_EQ(Controls.TrackBarSpeed().Position(), 6);

    Run.FPaused = true;
    QKeyEvent other(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    EXPECT_TRUE(Commands.KeyPress(other));
    EXPECT_TRUE(other.isAccepted());
}

} // namespace
} // namespace kalvero
