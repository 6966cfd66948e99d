#include "app/journey_test.h"

#include "app/main_window.h"
#include "app/run_control.h"
#include "app/settings_widgets.h"
#include "app/timed_steps.h"
#include "engine/alertness_task.h"
#include "engine/run_state.h"
#include "history/form_history.h"
#include "history/history_print.h"
#include "platform/ui/dialogs.h"
#include "protocol/exchange.h"
#include "users/data_folder.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <utility>

namespace kalvero {

namespace {
constexpr int PollMs = 50;
constexpr int SettleMs = 600;
constexpr int BoxShownMs = 400;
constexpr int GiveUpMs = 90000;
constexpr qint64 StarWaitLimitMs = 5000;
constexpr qint64 RunLengthMs = 6000;

const QString PatientName = QStringLiteral("Jörg Neumann");

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// One line per value in the result file: line breaks become "\n".
QString OneLine(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

template <typename T> T* Modal() {
    return dynamic_cast<T*>(QApplication::activeModalWidget());
}

// Message boxes are shown for real, so that they can be seen and photographed, and confirmed
// by the journey; file dialogs are answered with the path the current step has set.
class TJourneyDialogs final : public TDialogHandler {
public:
    TJourneyDialogs() { SetDialogHandler(this); }
    ~TJourneyDialogs() override { SetDialogHandler(nullptr); }

    // Answers the next file dialog; cleared once used.
    std::function<QString(const TFileRequest&)> FileAnswer;
    QString LastFileAnswer;
    QStringList Messages;
    QList<TFileRequest> FileRequests;

    QMessageBox::StandardButton Message(const TMessageRequest& request) override {
        Messages << request.Text;
        QWidget* parent = QApplication::activeModalWidget();
        if (!parent)
            parent = QApplication::activeWindow();
        SetDialogHandler(nullptr);
        const auto answer =
            ShowMessage(parent, request.Kind, request.Title, request.Text, request.Buttons);
        SetDialogHandler(this);
        return answer;
    }

    QString File(const TFileRequest& request) override {
        FileRequests << request;
        const auto answer = std::exchange(FileAnswer, nullptr);
        LastFileAnswer = answer ? answer(request) : QString();
        return LastFileAnswer;
    }
};

// The steps, each started by the one before; the journey gives up after GiveUpMs.
class TJourney : private TTimedSteps {
public:
    TJourney(TForm1& form, TJourneySetup setup)
        : TTimedSteps(form, PollMs), FForm(form), FSetup(std::move(setup)) {}
    ~TJourney() { SetPrintDialog(nullptr); }

    void Start() {
        QTimer::singleShot(GiveUpMs, &FForm, [this] { Finish(QStringLiteral("timeout")); });
        auto* answer = new QTimer(&FForm);
        QObject::connect(answer, &QTimer::timeout, &FForm, [this] { AnswerMessageBox(); });
        answer->start(PollMs);
        if (FSetup.ImportFile.isEmpty())
            PatientSide();
        else
            TherapistSide();
    }

private:
    // ---- the patient's side

    void PatientSide() {
        FResultName = QStringLiteral("journey-export.txt");
        Welcome(QStringLiteral("1-"), PatientName, [this] { ChooseStern(); });
    }

    void ChooseStern() {
        Step(QStringLiteral("settings"));
        Note("user", FForm.CurrentUser());
        Note("label_user", FForm.LabelUser->text());
        for (auto* button : FForm.RadioGroupAlertness->findChildren<QRadioButton*>())
            if (button->text() == QLatin1String("Stern"))
                button->click();
        Note("alertness_item", QString::number(FForm.RadioGroupAlertness->ItemIndex()));
        Shoot(QStringLiteral("1-04-settings-stern.png"));
        After(SettleMs, [this] { PressStart(); });
    }

    void PressStart() {
        Step(QStringLiteral("start"));
        FPendingShot = QStringLiteral("1-05-safety-notice.png");
        const qsizetype before = FDialogs.Messages.size();
        FForm.btnStartStop->click(); // returns once the notice is confirmed and the run is on
        Note("safety_notice", MessagesSince(before));
        Note("running_after_start", Flag(FForm.RunState().IsRunning));
        Note("button_during_run", FForm.btnStartStop->text());
        Step(QStringLiteral("waiting for the star"));
        WaitFor(
            [this] {
                const TAlertnessTask& task = FForm.Alertness();
                return (task.IsShown() && !task.FAlertOnsetPending) ||
                       FForm.RunControl().ActiveElapsedMs() >= StarWaitLimitMs;
            },
            [this] { AnswerStar(); });
    }

    void AnswerStar() {
        Step(QStringLiteral("space bar"));
        TAlertnessTask& task = FForm.Alertness();
        Note("star_visible_at_space", Flag(task.IsShown()));
        // No events between the picture and the key: the star is still where it was drawn.
        Shoot(QStringLiteral("1-06-running-star.png"), false);
        PressKey(Qt::Key_Space);
        Note("hits_after_space", QString::number(task.AlertnessVars.TotalHits));
        Note("false_alarms_after_space", QString::number(task.AlertnessVars.TotalFalseAlarms));
        WaitFor([this] { return FForm.RunControl().ActiveElapsedMs() >= RunLengthMs; },
                [this] { PressEsc(); });
    }

    void PressEsc() {
        Step(QStringLiteral("Esc"));
        Shoot(QStringLiteral("1-07-running.png"));
        FPendingShot = QStringLiteral("1-08-result-message.png");
        Note("active_ms_at_esc", QString::number(FForm.RunControl().ActiveElapsedMs()));
        const qsizetype before = FDialogs.Messages.size();
        PressKey(Qt::Key_Escape); // returns once the result message is confirmed
        Note("result_message", MessagesSince(before));
        Note("running_after_esc", Flag(FForm.RunState().IsRunning));
        Note("button_after_run", FForm.btnStartStop->text());
        After(SettleMs, [this] { OpenHistory([this](TFormHistory& h) { Export(h); }); });
    }

    void Export(TFormHistory& history) {
        NoteHistory(history, "history");
        Shoot(QStringLiteral("1-09-history.png"));
        Step(QStringLiteral("export"));
        FPendingShot = QStringLiteral("1-10-export-saved.png");
        // The proposed name, in the output folder.
        FDialogs.FileAnswer = [folder = FSetup.Output](const TFileRequest& request) {
            return QDir(folder).filePath(request.ProposedName);
        };
        const qsizetype before = FDialogs.Messages.size();
        Click(history, "ButtonExport");
        Note("export_message", MessagesSince(before));
        if (!FDialogs.FileRequests.isEmpty()) {
            const TFileRequest& request = FDialogs.FileRequests.last();
            Note("export_title", request.Title);
            Note("export_proposal", request.ProposedName);
        }
        Note("export_file", FDialogs.LastFileAnswer);
        Note("export_exists", Flag(QFileInfo::exists(FDialogs.LastFileAnswer)));
        CloseHistory(history);
    }

    // ---- the therapist's side

    void TherapistSide() {
        FResultName = QStringLiteral("journey-import.txt");
        const QString fileUser = ExchangeFileUser(FSetup.ImportFile);
        Note("file_user", fileUser);
        Welcome(QStringLiteral("2-"), fileUser, [this] {
            Note("user", FForm.CurrentUser());
            Note("label_user", FForm.LabelUser->text());
            Shoot(QStringLiteral("2-04-settings.png"));
            OpenHistory([this](TFormHistory& h) { Import(h); });
        });
    }

    void Import(TFormHistory& history) {
        NoteHistory(history, "history_before");
        Note("import_button_visible",
             Flag(Child<QPushButton>(history, "ButtonImport")->isVisible()));
        Shoot(QStringLiteral("2-05-history-empty.png"));
        Step(QStringLiteral("import"));
        FPendingShot = QStringLiteral("2-06-import-message.png");
        FDialogs.FileAnswer = [file = FSetup.ImportFile](const TFileRequest&) { return file; };
        const qsizetype before = FDialogs.Messages.size();
        Click(history, "ButtonImport");
        Note("import_message", MessagesSince(before));
        After(SettleMs, [this] {
            if (auto* history = Modal<TFormHistory>())
                Print(*history);
        });
    }

    void Print(TFormHistory& history) {
        NoteHistory(history, "history");
        Shoot(QStringLiteral("2-07-history-imported.png"));
        Step(QStringLiteral("print"));
        const QString pdf = QDir(FSetup.Output).filePath(QStringLiteral("journey.pdf"));
        QFile::remove(pdf);
        bool asked = false;
        SetPrintDialog([pdf, &asked](QPrinter& printer, QWidget*) {
            asked = true;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        const qsizetype before = FDialogs.Messages.size();
        Click(history, "ButtonPrint");
        SetPrintDialog(nullptr);
        Note("print_dialog_asked", Flag(asked));
        Note("print_messages", MessagesSince(before));
        Note("pdf_file", pdf);
        Note("pdf_size", QString::number(QFileInfo(pdf).size()));
        CloseHistory(history);
    }

    // ---- steps both sides take

    // The welcome window of a fresh installation: the name typed into the new-user field,
    // "Nutzer anlegen", then "Los geht's".
    void Welcome(const QString& prefix, const QString& name, std::function<void()> next) {
        Step(QStringLiteral("welcome"));
        WaitFor([] { return Modal<TFormWelcome>() != nullptr; },
                [this, prefix, name, next = std::move(next)]() mutable {
                    After(SettleMs, [this, prefix, name, next = std::move(next)]() mutable {
                        CreateUser(prefix, name, std::move(next));
                    });
                });
    }

    void CreateUser(const QString& prefix, const QString& name, std::function<void()> next) {
        auto* welcome = Modal<TFormWelcome>();
        auto* list = Child<QListWidget>(*welcome, "ListBoxUsers");
        Note("welcome_title", welcome->windowTitle());
        Note("welcome_mode", Child<QLabel>(*welcome, "LabelMode")->text());
        Note("welcome_users", QString::number(list->count()));
        Note("welcome_delete_enabled",
             Flag(Child<QPushButton>(*welcome, "ButtonDeleteUser")->isEnabled()));
        Shoot(prefix + QStringLiteral("01-welcome.png"));
        TypeText(Child<QLineEdit>(*welcome, "EditNewUser"), name);
        Shoot(prefix + QStringLiteral("02-name-typed.png"));
        Click(*welcome, "ButtonNewUser");
        Note("welcome_selected", list->currentItem() ? list->currentItem()->text() : QString());
        After(SettleMs, [this, prefix, next = std::move(next)]() mutable {
            auto* welcome = Modal<TFormWelcome>();
            if (!welcome)
                return Finish(QStringLiteral("welcome window closed"));
            Shoot(prefix + QStringLiteral("03-new-user.png"));
            Click(*welcome, "ButtonStart");
            WaitFor([this] { return !FForm.CurrentUser().isEmpty() && !Modal<QWidget>(); },
                    [this, next = std::move(next)]() mutable { After(SettleMs, std::move(next)); });
        });
    }

    // "Verlauf ..." on the settings screen; the window runs modally until CloseHistory.
    void OpenHistory(std::function<void(TFormHistory&)> inside) {
        Step(QStringLiteral("history"));
        WaitFor([] { return Modal<TFormHistory>() != nullptr; },
                [this, inside = std::move(inside)]() mutable {
                    After(SettleMs, [inside = std::move(inside)] {
                        if (auto* history = Modal<TFormHistory>())
                            inside(*history);
                    });
                });
        FForm.btnHistory->click();
    }

    void CloseHistory(TFormHistory& history) {
        Step(QStringLiteral("closing the history"));
        Click(history, "ButtonClose");
        WaitFor([] { return Modal<QWidget>() == nullptr; },
                [this] { After(SettleMs, [this] { Finish(QStringLiteral("done")); }); });
    }

    void NoteHistory(TFormHistory& history, const char* prefix) {
        const QString key = QString::fromLatin1(prefix);
        Note(key + QStringLiteral("_title"), history.windowTitle());
        Note(key + QStringLiteral("_info"), Child<QLabel>(history, "LabelInfo")->text());
        Note(key + QStringLiteral("_list"),
             Child<QPlainTextEdit>(history, "MemoList")->toPlainText());
    }

    // ---- the dialogs

    void AnswerMessageBox() {
        auto* box = Modal<QMessageBox>();
        if (!box || Finished()) {
            FBox = nullptr;
            return;
        }
        if (box != FBox) { // let it be painted first
            FBox = box;
            FBoxShown.start();
            return;
        }
        if (FBoxShown.elapsed() < BoxShownMs)
            return;
        if (!FPendingShot.isEmpty())
            Shoot(std::exchange(FPendingShot, QString()));
        FBox = nullptr;
        if (QAbstractButton* button = box->defaultButton())
            button->click();
        else if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->accept();
    }

    QString MessagesSince(qsizetype before) const {
        return FDialogs.Messages.mid(before).join(QStringLiteral(" || "));
    }

    // ---- input to the real widgets

    void PressKey(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&FForm, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&FForm, &release);
    }

    static void TypeText(QWidget* widget, const QString& text) {
        widget->setFocus();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(widget, &release);
        }
    }

    template <typename T> static T* Child(QWidget& parent, const char* name) {
        T* child = parent.findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("journey: %s has no control %s", qPrintable(parent.objectName()), name);
        return child;
    }

    void Click(QWidget& window, const char* name) { Child<QPushButton>(window, name)->click(); }

    // ---- pictures, results, timing

    void Shoot(const QString& name, bool settle = true) {
        if (settle)
            QCoreApplication::processEvents();
        QScreen* screen = QGuiApplication::primaryScreen();
        const QPixmap pixels = screen ? screen->grabWindow(0) : FForm.grab();
        pixels.save(QDir(FSetup.Output).filePath(name), "PNG");
    }

    void Step(const QString& name) { FStep = name; }

    void Note(const QString& key, const QString& value) { FNotes << qMakePair(key, value); }
    void Note(const char* key, const QString& value) { Note(QString::fromLatin1(key), value); }

    void Finish(const QString& state) {
        if (!MarkFinished())
            return;
        Note("messages", QString::number(FDialogs.Messages.size()));
        QString text = QStringLiteral("state=%1\nlast_step=%2\n").arg(state, FStep);
        for (const auto& [key, value] : FNotes)
            text += key + QLatin1Char('=') + OneLine(value) + QLatin1Char('\n');
        QFile result(QDir(FSetup.Output).filePath(FResultName));
        if (result.open(QIODevice::WriteOnly | QIODevice::Truncate))
            result.write(text.toUtf8());
        QuitAfterSelfCheck(FForm);
    }

    TForm1& FForm;
    TJourneySetup FSetup;
    TJourneyDialogs FDialogs;
    QString FResultName;
    QString FStep;
    QString FPendingShot;
    QList<QPair<QString, QString>> FNotes;
    QMessageBox* FBox = nullptr;
    QElapsedTimer FBoxShown;
};
} // namespace

TJourneySetup JourneySetup() {
    return {qEnvironmentVariable("KALVERO_JOURNEY_TEST"),
            qEnvironmentVariable("KALVERO_JOURNEY_DATA"),
            qEnvironmentVariable("KALVERO_JOURNEY_IMPORT")};
}

void PrepareJourney(const TJourneySetup& setup) {
    QDir().mkpath(setup.Output);
    const QString data = setup.DataFolder.isEmpty()
                             ? QDir(setup.Output).filePath(QStringLiteral("data"))
                             : setup.DataFolder;
    QDir().mkpath(data);
    OverrideDataFolder(data);
    if (!setup.ImportFile.isEmpty()) {
        TUserManager users;
        WriteOperatingMode(users, TOperatingMode::Therapist);
    }
}

void RunJourney(TForm1& form, const TJourneySetup& setup) {
    auto* journey = new TJourney(form, setup);
    QObject::connect(&form, &QObject::destroyed, [journey] { delete journey; });
    journey->Start();
}

} // namespace kalvero
