#pragma once

// One installation of the program for window tests: its own data folder in an operating mode
// with registered users, the real main window with its user session, a clock
// that moves only when told, no frame pacing and no sound. Only one installation can be open at
// a time, because the data folder is process-wide.

#include "app/main_window.h"
#include "app/run_control.h"
#include "app/user_session.h"
#include "engine/frame_loop.h"
#include "engine/program_settings.h"
#include "engine/run_state.h"
#include "platform/clock.h"
#include "platform/sound_player.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

namespace kalvero::test {

constexpr std::int64_t Minute = 60000;

class TSilentSound final : public TSoundSink {
public:
    void PlaySoundEffect(const QString&) override {}
};

// Calls action with the modal window of type TWindow as soon as one is open.
template <typename TWindow> void WhenModalOpen(std::function<void(TWindow&)> action) {
    QTimer::singleShot(0, [action] {
        auto* window = dynamic_cast<TWindow*>(QApplication::activeModalWidget());
        if (!window)
            return WhenModalOpen<TWindow>(action);
        action(*window);
    });
}

// Starts the welcome window's user ("Los geht's") or cancels it, as soon as it is open.
inline void AnswerWelcome(bool start = true) {
    WhenModalOpen<TFormWelcome>([start](TFormWelcome& welcome) {
        if (start)
            welcome.ButtonStartClick();
        else
            welcome.reject();
    });
}

struct TInstallation {
    TInstallation(TOperatingMode mode, const QStringList& users) {
        Activate();
        TUserManager registry;
        WriteOperatingMode(registry, mode);
        for (const QString& user : users)
            registry.SaveUser(user);
        Settings.SetProgramValue(QStringLiteral("Takt"), QStringLiteral("0"));
        Clock.SetTicks(5000 * 1'000'000LL);
    }
    ~TInstallation() {
        Close();
        OverrideDataFolder(QString());
    }
    TInstallation(const TInstallation&) = delete;
    TInstallation& operator=(const TInstallation&) = delete;

    // This installation's data folder becomes the process's one.
    void Activate() { OverrideDataFolder(Dir.path()); }

    // The program starts: the main window with its user session.
    TForm1& Open() {
        OpenWindowOnly();
        Session = std::make_unique<TUserSession>(*Form);
        return *Form;
    }
    // The main window alone: without a user session it keeps users and settings to itself.
    TForm1& OpenWindowOnly() {
        Activate();
        Form = std::make_unique<TForm1>(TForm1Parts{&Settings, &Clock, &Silence});
        Form->resize(320, 240);
        return *Form;
    }
    // The program ends: the window closes while the session still answers.
    void Close() {
        Form.reset();
        Session.reset();
    }

    // Chooses the user in the welcome window as the one proposed there.
    bool Choose(const QString& user) {
        TUserManager().SetLastUser(user);
        return ChooseProposed();
    }
    bool ChooseProposed() {
        AnswerWelcome();
        return Form->ChooseUser();
    }

    TRunControl& Control() { return Form->RunControl(); }
    // One pass of the frame loop.
    void Pass() {
        bool done = true;
        Form->FrameLoop().AppIdle(done);
    }
    // One pass after the clock moved on by ms.
    void AdvanceAndPass(std::int64_t ms) {
        Clock.AdvanceMs(ms);
        Pass();
    }
    // Passes of at most stepMs until the active run time reaches ms, or the run ends or pauses.
    void RunActiveFor(std::int64_t ms, std::int64_t stepMs = Minute) {
        const std::int64_t until = Control().ActiveElapsedMs() + ms;
        const TRunState& run = Form->RunState();
        while (run.IsRunning && !run.FPaused && Control().ActiveElapsedMs() < until)
            AdvanceAndPass(std::min(stepMs, until - Control().ActiveElapsedMs()));
    }

    QTemporaryDir Dir;
    TMemoryProgramSettings Settings;
    TManualClock Clock;
    TSilentSound Silence;
    std::unique_ptr<TForm1> Form;
    std::unique_ptr<TUserSession> Session;
};

} // namespace kalvero::test
