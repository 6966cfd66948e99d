// A long run of the real main window under X (Xvfb): a fresh data folder in patient mode, the
// welcome window's user, the given number of stimuli and minutes, no pause reminder. Reports the
// frames, the longest time between two frames and the resident memory after the warm-up and at
// the end, and whether the run's protocol line was written.
#include "app/main_window.h"
#include "app/settings_widgets.h"
#include "app/user_session.h"
#include "engine/frame_loop.h"
#include "engine/run_state.h"
#include "tools/commands.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace kalvero::tool {

namespace {

constexpr double GapGoalMs = 100.0;

double ResidentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0.0;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct TLongRunOptions {
    int Minutes = 30;
    int Sprites = 150;
    int WarmUpSeconds = 20;
};

// Drives the window from timers: answers the welcome window and every message box, sets the
// controls, starts the run, samples memory once a second and ends the event loop when the run
// has stopped by its time limit.
class TLongRun {
public:
    TLongRun(TForm1& form, TLongRunOptions options) : FForm(form), FOptions(options) {}

    void Start() {
        auto* poll = new QTimer(&FForm);
        QObject::connect(poll, &QTimer::timeout, &FForm, [this] { Poll(); });
        poll->start(200);
    }

    int Report() const;

private:
    void Poll() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            FLastMessage = box->text();
            box->defaultButton() ? box->defaultButton()->click() : box->accept();
            return;
        }
        if (auto* welcome = dynamic_cast<TFormWelcome*>(QApplication::activeModalWidget())) {
            welcome->ButtonStartClick();
            return;
        }
        if (!FStarted && !FForm.CurrentUser().isEmpty())
            return StartRun();
        if (FStarted)
            Sample();
    }

    void StartRun() {
        FForm.TrackBarNumberOfSprites->SetPosition(FOptions.Sprites);
        FForm.TrackBarDarbietungszeit->SetPosition(FOptions.Minutes);
        FForm.TrackBarPause->SetPosition(0);
        FForm.CheckBoxSuchaufgabe->setChecked(false);
        // Clicked from its own timer event: the safety notice opens inside the click, and this
        // poll must be free to answer it.
        QTimer::singleShot(0, &FForm, [this] { FForm.btnStartStop->click(); });
        FStarted = true;
        FSinceStart.start();
    }

    void Sample() {
        const bool running = FForm.RunState().IsRunning;
        if (running && !FWarm && FSinceStart.elapsed() >= FOptions.WarmUpSeconds * 1000) {
            FWarm = true;
            FRssWarm = FRssMin = FRssMax = ResidentMiB();
            FForm.FrameLoop().ResetTotals();
            FWarmAt = FSinceStart.elapsed();
        }
        if (running && FWarm) {
            const double rss = ResidentMiB();
            FRssMin = std::min(FRssMin, rss);
            FRssMax = std::max(FRssMax, rss);
            FTotals = FForm.FrameLoop().Totals();
            FRunMs = FSinceStart.elapsed() - FWarmAt;
        }
        if (!running && FWarm && !FDone) {
            FDone = true;
            FRssEnd = ResidentMiB();
            QTimer::singleShot(1500, &FForm, [] { QCoreApplication::quit(); });
        }
    }

    TForm1& FForm;
    TLongRunOptions FOptions;
    bool FStarted = false, FWarm = false, FDone = false;
    QElapsedTimer FSinceStart;
    qint64 FWarmAt = 0, FRunMs = 0;
    double FRssWarm = 0, FRssMin = 0, FRssMax = 0, FRssEnd = 0;
    TFrameTotals FTotals;
    QString FLastMessage;
};

// The user's run protocol: its last line, empty when the file has no run line.
QString LastProtocolLine(const QString& user) {
    QFile file(GetProtocolFolder() + UserFileName(user) + QStringLiteral(".csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    return lines.size() > 1 ? QString::fromUtf8(lines.back()).trimmed() : QString();
}

int TLongRun::Report() const {
    const QString line = LastProtocolLine(FForm.CurrentUser());
    const double seconds = FRunMs / 1000.0;
    std::printf("Lauf: %d min, %d Reize, Fenster %dx%d, Aufwärmen %d s\n", FOptions.Minutes,
                FOptions.Sprites, FForm.width(), FForm.height(), FOptions.WarmUpSeconds);
    std::printf("Bilder nach dem Aufwärmen: %lld in %.0f s (%.1f/s)\n",
                static_cast<long long>(FTotals.Frames), seconds,
                seconds > 0 ? FTotals.Frames / seconds : 0.0);
    std::printf("Längster Abstand zweier Bilder: %.1f ms (Ziel <= %.0f ms), Abstände über 100 ms: "
                "%lld, längstes Zeichnen %.1f ms\n",
                FTotals.LongestGapMs, GapGoalMs, static_cast<long long>(FTotals.LongGaps),
                FTotals.LongestDrawMs);
    std::printf("Speicher (RSS): nach dem Aufwärmen %.1f MiB, min %.1f, max %.1f, am Ende %.1f "
                "MiB\n",
                FRssWarm, FRssMin, FRssMax, FRssEnd);
    std::printf("Letzte Meldung: %s\n", qPrintable(QString(FLastMessage).replace('\n', " | ")));
    std::printf("Protokollzeile: %s\n", line.isEmpty() ? "FEHLT" : qPrintable(line));
    if (!FDone || line.isEmpty())
        return 1;
    return FTotals.LongestGapMs <= GapGoalMs ? 0 : 2;
}

int LongRun(const std::vector<std::string>& args) {
    TLongRunOptions options;
    options.Minutes = std::stoi(OptionValue(args, "--minutes", "30"));
    options.Sprites = std::stoi(OptionValue(args, "--sprites", "150"));
    options.WarmUpSeconds = std::stoi(OptionValue(args, "--warmup", "20"));
    int argc = 1;
    char name[] = "kalvero4-tool";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QTemporaryDir data;
    OverrideDataFolder(data.path());
    TUserManager users;
    WriteOperatingMode(users, TOperatingMode::Patient);

    std::optional<TUserSession> session;
    TForm1 form;
    session.emplace(form);
    TLongRun run(form, options);
    run.Start();
    form.ShowCoveringMonitor();
    app.exec();
    return run.Report();
}

const TCommandRegistration Registration(
    "long-run",
    "long-run [--minutes 30] [--sprites 150] [--warmup 20]   (unter X, z. B. xvfb-run; "
    "Exit 0: Ziel erreicht, 2: Abstand > 100 ms, 1: Lauf oder Protokoll fehlt)",
    LongRun);

} // namespace

} // namespace kalvero::tool
