#include "app/smoke_test.h"

#include "app/main_window.h"
#include "app/timed_steps.h"
#include "engine/run_state.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
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
class TSmokeTest : private TTimedSteps {
public:
    TSmokeTest(TForm1& form, QString folder)
        : TTimedSteps(form, PollMs), FForm(form), FFolder(std::move(folder)) {}

    void Start() {
        QTimer::singleShot(GiveUpMs, &FForm, [this] { Finish(QStringLiteral("timeout")); });
        auto* answer = new QTimer(&FForm);
        QObject::connect(answer, &QTimer::timeout, &FForm, [this] { AnswerMessageBox(); });
        answer->start(PollMs);
        WaitFor([] { return dynamic_cast<TFormWelcome*>(QApplication::activeModalWidget()); },
                [this] { AnswerWelcome(); });
    }

private:
    // Message boxes (the safety notice before the first run, ...) are read and confirmed.
    void AnswerMessageBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || Finished())
            return;
        ++FMessages;
        if (QAbstractButton* button = box->defaultButton())
            button->click();
        else
            box->accept();
    }

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
        PressKey(Qt::Key_P);
        After(SettleMs, [this] { ShootPaused(); });
    }

    void ShootPaused() {
        FPausedSeen = FForm.RunState().FPaused;
        Grab(QStringLiteral("paused.png"));
        PressKey(Qt::Key_Space);
        After(SettleMs, [this] {
            FContinued = FForm.RunState().IsRunning && !FForm.RunState().FPaused;
            PressKey(Qt::Key_Escape);
            After(SettleMs, [this] { ShootStopped(); });
        });
    }

    void PressKey(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&FForm, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&FForm, &release);
    }

    void ShootStopped() {
        Grab(QStringLiteral("stopped.png"));
        Finish(QStringLiteral("done"));
    }

    void Finish(const QString& state) {
        if (!MarkFinished())
            return;
        QFile result(QDir(FFolder).filePath(QStringLiteral("result.txt")));
        if (result.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const auto line = [](const char* key, const QString& value) {
                return QString::fromLatin1(key) + '=' + value + '\n';
            };
            const auto flag = [](bool on) {
                return on ? QStringLiteral("1") : QStringLiteral("0");
            };
            const QString text =
                line("state", state) + line("user", FForm.CurrentUser()) +
                line("running_after_start", flag(FRunningSeen)) +
                line("paused_after_p", flag(FPausedSeen)) +
                line("running_after_space", flag(FContinued)) +
                line("running_after_esc", flag(FForm.RunState().IsRunning)) +
                line("window", QStringLiteral("%1x%2").arg(FForm.width()).arg(FForm.height())) +
                line("panel", QStringLiteral("%1x%2")
                                  .arg(FForm.PanelSettings->width())
                                  .arg(FForm.PanelSettings->height())) +
                line("messages", QString::number(FMessages));
            result.write(text.toUtf8());
        }
        QuitAfterSelfCheck(FForm);
    }

    void Grab(const QString& name) {
        QCoreApplication::processEvents();
        QScreen* screen = FForm.screen();
        const QPixmap pixels = screen ? screen->grabWindow(FForm.winId()) : FForm.grab();
        pixels.save(QDir(FFolder).filePath(name), "PNG");
    }

    TForm1& FForm;
    QString FFolder;
    bool FRunningSeen = false;
    bool FPausedSeen = false;
    bool FContinued = false;
    int FMessages = 0;
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
