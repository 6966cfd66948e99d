#include "app/smoke_test.h"

#include "app/main_window.h"
#include "engine/run_state.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <memory>

namespace kalvero {

namespace {
constexpr int PollMs = 100;
constexpr int SettleMs = 700;
constexpr int RunningMs = 1000;
constexpr int MovingMs = 300;
constexpr int GiveUpMs = 30000;

// The steps, each started by the one before; the whole check gives up after GiveUpMs.
class TSmokeTest {
public:
    TSmokeTest(TForm1& form, QString folder) : FForm(form), FFolder(std::move(folder)) {}

    void Start() {
        QTimer::singleShot(GiveUpMs, &FForm, [this] { Finish(QStringLiteral("timeout")); });
        WaitFor([] { return dynamic_cast<TFormWelcome*>(QApplication::activeModalWidget()); },
                [this] { AnswerWelcome(); });
    }

private:
    void AnswerWelcome() {
        auto* welcome = dynamic_cast<TFormWelcome*>(QApplication::activeModalWidget());
        welcome->ButtonStartClick();
        WaitFor([this] { return !FForm.CurrentUser().isEmpty(); },
                [this] { After(SettleMs, [this] { ShootSettings(); }); });
    }

    void ShootSettings() {
        Grab(QStringLiteral("settings.png"));
        FForm.btnStartStop->click();
        After(RunningMs, [this] { ShootRunning(); });
    }

    void ShootRunning() {
        FRunningSeen = FForm.RunState().IsRunning;
        Grab(QStringLiteral("running.png"));
        After(MovingMs, [this] { ShootMoving(); });
    }

    void ShootMoving() {
        Grab(QStringLiteral("running2.png"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&FForm, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&FForm, &release);
        After(SettleMs, [this] { ShootStopped(); });
    }

    void ShootStopped() {
        Grab(QStringLiteral("stopped.png"));
        Finish(QStringLiteral("done"));
    }

    void Finish(const QString& state) {
        if (FFinished)
            return;
        FFinished = true;
        QFile result(QDir(FFolder).filePath(QStringLiteral("result.txt")));
        if (result.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const QString text = QStringLiteral("state=%1\nuser=%2\nrunning_after_start=%3\n"
                                                "running_after_esc=%4\nwindow=%5x%6\npanel=%7x%8\n")
                                     .arg(state, FForm.CurrentUser())
                                     .arg(FRunningSeen ? 1 : 0)
                                     .arg(FForm.RunState().IsRunning ? 1 : 0)
                                     .arg(FForm.width())
                                     .arg(FForm.height())
                                     .arg(FForm.PanelSettings->width())
                                     .arg(FForm.PanelSettings->height());
            result.write(text.toUtf8());
        }
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        FForm.close();
        QCoreApplication::quit();
    }

    void Grab(const QString& name) {
        QCoreApplication::processEvents();
        QScreen* screen = FForm.screen();
        const QPixmap pixels = screen ? screen->grabWindow(FForm.winId()) : FForm.grab();
        pixels.save(QDir(FFolder).filePath(name), "PNG");
    }

    void WaitFor(std::function<bool()> ready, std::function<void()> next) {
        if (FFinished)
            return;
        if (ready()) {
            next();
            return;
        }
        After(PollMs, [this, ready = std::move(ready), next = std::move(next)]() mutable {
            WaitFor(std::move(ready), std::move(next));
        });
    }

    void After(int ms, std::function<void()> step) {
        QTimer::singleShot(ms, &FForm, [this, step = std::move(step)] {
            if (!FFinished)
                step();
        });
    }

    TForm1& FForm;
    QString FFolder;
    bool FRunningSeen = false;
    bool FFinished = false;
};
} // namespace

QString SmokeTestFolder() {
    return qEnvironmentVariable("KALVERO_SMOKE_TEST");
}

void PrepareSmokeTest(const QString& folder) {
    const QString data = QDir(folder).filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    OverrideDataFolder(data);
    TUserManager users;
    WriteOperatingMode(users, TOperatingMode::Patient);
}

void RunSmokeTest(TForm1& form, const QString& folder) {
    auto* test = new TSmokeTest(form, folder);
    QObject::connect(&form, &QObject::destroyed, [test] { delete test; });
    test->Start();
}

} // namespace kalvero
