#pragma once

#include "engine/alertness_task.h"
#include "engine/cursor_idle.h"
#include "engine/follower.h"
#include "engine/frame_source.h"
#include "engine/plain_settings_controls.h"
#include "engine/run_state.h"
#include "engine/sequence_player.h"
#include "engine/sequence_timer.h"
#include "engine/sprite_field.h"
#include "engine/training_settings.h"
#include "no_frames.h"
#include "platform/atomic_file.h"
#include "platform/random.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace kalvero::test {

class TQuietSettingsWindow final : public TSettingsWindow {
public:
    void UpdatePreviews() override {}
    void SetLabelSpeed(const QString&) override {}
    void SetLabelNumberOfSprites(const QString&) override {}
    void FocusMainWindow() override {}
};

// The settings controls, the sprite field that advances the sequence timer, and a sequence
// player over a temporary profiles folder. Profiles are told apart by their speed.
class TSequenceRig {
public:
    TSequenceRig() {
        RunState.FRenderWidth = 800;
        RunState.FRenderHeight = 600;
        Player.OnNotice = [this](const QString& text) { Notices << text; };
    }

    QString ProfilesFolder() const { return Dir.path() + '/'; }
    // A profile file whose only distinguishing member is its speed.
    void WriteProfile(const QString& name, int speed) {
        WriteFileAtomic(ProfilesFolder() + name,
                        Utf8Bom() + QStringLiteral("{\"speed\":%1}").arg(speed).toUtf8());
    }
    int Speed() const { return Controls.FSpeed.Position(); }

    TPlainSettingsControls Controls;
    TRunState RunState;
    TSeededRandom Random{11};
    TNoFrames Frames{4};
    TCursorIdle Cursor;
    TSequenceTimer Timer;
    TFollower Follower;
    TAlertnessTask Alertness;
    TSpriteField Field{Random, Frames, Controls, RunState, {Cursor, Timer, Follower, Alertness}};
    TQuietSettingsWindow Window;
    TTrainingSettings Settings{Controls, Field, Alertness, RunState, Window};
    TSequencePlayer Player{Timer, Settings};
    QStringList Notices;
    QTemporaryDir Dir;
};

} // namespace kalvero::test
