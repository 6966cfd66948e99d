#include "history/form_history.h"

#include "common/dialog_answers.h"
#include "history/history_print.h"
#include "pdf_text.h"
#include "protocol/exchange.h"
#include "protocol/store.h"
#include "protocol/text_file.h"
#include "users/data_folder.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace kalvero;

namespace {

TSessionRec RunAt(const QDateTime& start, double minutes) {
    TSessionRec run;
    run.Start = start;
    run.Minutes = minutes;
    run.ProgramKind = QStringLiteral("Profil");
    run.ProgramName = QStringLiteral("Standard");
    run.Stimulus = QStringLiteral("Hummel");
    run.Count = 30;
    run.Speed = 5;
    run.Direction = QStringLiteral("nach rechts");
    run.Alertness = QStringLiteral("Stern");
    run.Shown = 4;
    run.ShownLeft = run.ShownRight = 2;
    run.HitsLeft = run.HitsRight = run.Hits = 2;
    run.RtLeft = run.RtRight = 450;
    run.EndReason = QStringLiteral("Zeit um");
    return run;
}

TSessionRec RunDaysAgo(int days, double minutes) {
    return RunAt(QDateTime(QDate::currentDate().addDays(-days), QTime(9, 30)), minutes);
}

// Collects the files the window asks the desktop to open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void open(const QUrl& url) { Urls << url; }
};

} // namespace

class FormHistoryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FData;
    std::unique_ptr<test::TDialogAnswers> FAnswers;

    std::unique_ptr<TFormHistory> Open(const QString& user, bool therapistMode = true) {
        auto form = std::make_unique<TFormHistory>(nullptr, user, therapistMode);
        form->LoadHistory();
        return form;
    }

    template <typename T> static T* Child(TFormHistory& form, const char* name) {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("control %s missing", name);
        return child;
    }

    static QString Info(TFormHistory& form) { return Child<QLabel>(form, "LabelInfo")->text(); }
    static QString Memo(TFormHistory& form) {
        return Child<QPlainTextEdit>(form, "MemoList")->toPlainText();
    }
    static void Click(TFormHistory& form, const char* button) {
        QTest::mouseClick(Child<QPushButton>(form, button), Qt::LeftButton);
    }

    // An exchange file of user exported from a data folder of its own, with runs given in days
    // before today.
    QString ExchangeFile(const QString& user, const QList<int>& daysAgo) {
        static int counter = 0;
        const QString folder = FData->filePath(QStringLiteral("fremd%1").arg(++counter));
        OverrideDataFolder(folder);
        for (int days : daysAgo)
            AppendSession(user, RunDaysAgo(days, 10), {});
        const QString file = FData->filePath(QStringLiteral("%1-%2.kvprot").arg(user).arg(counter));
        if (!ExportProtocol(user, file))
            qFatal("export failed");
        OverrideDataFolder(FData->path());
        return file;
    }

private slots:
    void init() {
        FData = std::make_unique<QTemporaryDir>();
        QVERIFY(FData->isValid());
        OverrideDataFolder(FData->path());
        FAnswers = std::make_unique<test::TDialogAnswers>();
    }

    void cleanup() {
        FAnswers.reset();
        SetPrintDialog(nullptr);
        OverrideDataFolder(QString());
        FData.reset();
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::newRow("import") << "ButtonImport"
                                << "Einlesen ..."
                                << "Exportiertes Protokoll eines Patienten übernehmen";
        QTest::newRow("export") << "ButtonExport"
                                << "Exportieren ..."
                                << "Protokoll als Datei für die Therapeutin / den Therapeuten "
                                   "speichern";
        QTest::newRow("protocol") << "ButtonProtocol"
                                  << "Protokoll öffnen"
                                  << "CSV-Datei (z. B. in Excel) öffnen";
        QTest::newRow("print") << "ButtonPrint"
                               << "Drucken ..."
                               << "";
        QTest::newRow("close") << "ButtonClose"
                               << "Schließen"
                               << "";
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        const auto form = Open(QStringLiteral("Anna"));
        auto* button = Child<QPushButton>(*form, name.toLatin1().constData());
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), hint);
    }

    void window() {
        const auto form = Open(QStringLiteral("Anna"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Kalvero 4 - Verlauf für Anna"));
        QCOMPARE(form->minimumSize(), QSize(900, 500));
        QCOMPARE(form->size(), QSize(1160, 720));
        QCOMPARE(form->font().pixelSize(), 13);
        QCOMPARE(Child<QWidget>(*form, "PanelBottom")->height(), 44);
        QCOMPARE(Child<QWidget>(*form, "PanelBottom")->palette().color(QPalette::Window),
                 QColor(240, 240, 240));
        QCOMPARE(Child<QWidget>(*form, "PanelList")->width(), 400);
        auto* label = Child<QLabel>(*form, "LabelList");
        QCOMPARE(label->text(), QStringLiteral("Durchgänge (neueste oben)"));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pixelSize(), 15);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(40, 40, 40));
        auto* memo = Child<QPlainTextEdit>(*form, "MemoList");
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(memo->font().pixelSize(), 12);
        QVERIFY2(QFontInfo(memo->font()).fixedPitch(),
                 qPrintable(QFontInfo(memo->font()).family() + memo->font().families().join(",")));
        QVERIFY(Child<QPushButton>(*form, "ButtonClose")->isDefault());
    }

    void importButtonOnlyInTherapistMode() {
        QVERIFY(
            !Child<QPushButton>(*Open(QStringLiteral("Anna"), true), "ButtonImport")->isHidden());
        QVERIFY(
            Child<QPushButton>(*Open(QStringLiteral("Anna"), false), "ButtonImport")->isHidden());
    }

    void loadsSummaryAndList() {
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(10, 20), {});
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(1, 12.5), {});
        const auto form = Open(QStringLiteral("Anna"));
        QCOMPARE(Info(*form), QStringLiteral("Anna: 2 Durchgänge, zusammen 0:32 h.  Letzte 7 "
                                             "Tage: 1 Durchgänge, 12 min."));
        QCOMPARE(Child<QLabel>(*form, "LabelInfo")->toolTip(), Info(*form));
        const QStringList lines = Memo(*form).split('\n');
        QCOMPARE(lines.size(), 12);
        QVERIFY(lines[0].startsWith(
            QDate::currentDate().addDays(-1).toString(QStringLiteral("dd.MM.yy 09:30"))));
        QCOMPARE(Child<QPlainTextEdit>(*form, "MemoList")->textCursor().position(), 0);
        QCOMPARE(form->Alert().size(), size_t(2));
    }

    void emptyHistory() {
        const auto form = Open(QStringLiteral("Bea"));
        QCOMPARE(Info(*form), QStringLiteral("Bea: noch keine Durchgänge protokolliert."));
        QVERIFY(Memo(*form).isEmpty());
    }

    void chartsShareTheHeight() {
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(0, 3), {});
        const auto form = Open(QStringLiteral("Anna"));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->resize(1000, 601);
        QApplication::processEvents();
        auto* charts = Child<QWidget>(*form, "PanelCharts");
        const int third = charts->height() / 3;
        QCOMPARE(Child<QWidget>(*form, "PaintBoxDays")->height(), third);
        QCOMPARE(Child<QWidget>(*form, "PaintBoxHits")->height(), third);
        QCOMPARE(Child<QWidget>(*form, "PaintBoxRt")->height(), charts->height() - 2 * third);
        QCOMPARE(Child<QWidget>(*form, "PaintBoxRt")->geometry().bottom(), charts->rect().bottom());
        // Today's bar is painted on screen.
        const QImage days = Child<QWidget>(*form, "PaintBoxDays")->grab().toImage();
        bool bar = false;
        for (int x = days.width() / 2; x < days.width() && !bar; ++x)
            bar = days.pixelColor(x, days.height() - 60) == QColor(64, 128, 192);
        QVERIFY(bar);
    }

    void escapeAndEnterClose_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }

    void escapeAndEnterClose() {
        QFETCH(int, key);
        const auto form = Open(QStringLiteral("Anna"));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::keyClick(form.get(), Qt::Key(key));
        QVERIFY(!form->isVisible());
    }

    void openProtocolWithoutRuns() {
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonProtocol");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{QStringLiteral("Für Anna ist noch kein Durchgang protokolliert.")});
        QCOMPARE(FAnswers->Messages[0].Kind, TMsgKind::Information);
    }

    void openProtocolHandsTheRunFileToTheDesktop() {
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(0, 3), {});
        TUrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonProtocol");
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QVERIFY(FAnswers->Messages.isEmpty());
        QCOMPARE(catcher.Urls,
                 QList<QUrl>{QUrl::fromLocalFile(RunFileName(QStringLiteral("Anna")))});
    }

    void exportWithoutRuns() {
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonExport");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{QStringLiteral("Es gibt noch nichts zu exportieren.")});
        QVERIFY(FAnswers->FileRequests.isEmpty());
    }

    void exportAddsTheExtensionAndTellsWhere() {
        AppendSession(QStringLiteral("Anna/Maria"), RunDaysAgo(0, 3), {});
        const auto form = Open(QStringLiteral("Anna/Maria"));
        FAnswers->FileAnswers << FData->filePath(QStringLiteral("heute"));
        Click(*form, "ButtonExport");
        QCOMPARE(FAnswers->FileRequests.size(), 1);
        const TFileRequest& request = FAnswers->FileRequests[0];
        QVERIFY(request.Save);
        QCOMPARE(request.Title, QStringLiteral("Protokoll exportieren"));
        QCOMPARE(request.Filter, QStringLiteral("Kalvero-Protokoll (*.kvprot)|*.kvprot"));
        QCOMPARE(request.ProposedName,
                 QStringLiteral("Kalvero-Protokoll Anna_Maria %1.kvprot")
                     .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
        const QString file = FData->filePath(QStringLiteral("heute.kvprot"));
        QCOMPARE(ExchangeFileUser(file), QStringLiteral("Anna/Maria"));
        QCOMPARE(FAnswers->Texts(),
                 QStringList{QStringLiteral("Das Protokoll ist gespeichert:\r\n") + file +
                             QStringLiteral("\r\n\r\nGeben Sie diese Datei Ihrer Therapeutin oder "
                                            "Ihrem Therapeuten, z. B. auf einem USB-Stick oder "
                                            "per E-Mail.")});
    }

    void exportFailure() {
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(0, 3), {});
        QDir(FData->path()).mkdir(QStringLiteral("ordner.kvprot"));
        const auto form = Open(QStringLiteral("Anna"));
        FAnswers->FileAnswers << FData->filePath(QStringLiteral("ordner.kvprot"));
        Click(*form, "ButtonExport");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{QStringLiteral("Das Protokoll konnte nicht gespeichert werden.")});
        QCOMPARE(FAnswers->Messages[0].Kind, TMsgKind::Error);
    }

    void importCancelledDialog() {
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonImport");
        QCOMPARE(FAnswers->FileRequests.size(), 1);
        QCOMPARE(FAnswers->FileRequests[0].Title,
                 QStringLiteral("Protokoll eines Patienten einlesen"));
        QCOMPARE(FAnswers->FileRequests[0].Filter,
                 QStringLiteral("Kalvero-Protokoll (*.kvprot)|*.kvprot|Alle Dateien|*.*"));
        QVERIFY(FAnswers->Messages.isEmpty());
    }

    void importRejectsOtherFiles() {
        const QString file = FData->filePath(QStringLiteral("liste.csv"));
        WriteTextFile(file, QStringLiteral("kalvero4-protokoll;1\r\nNutzer;Paul\r\n"));
        const auto form = Open(QStringLiteral("Anna"));
        FAnswers->FileAnswers << file;
        Click(*form, "ButtonImport");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{
                     QStringLiteral("Diese Datei ist kein exportiertes Protokoll von Kalvero 4.")});
    }

    void importSameUserInOtherCaseReloads() {
        const QString file = ExchangeFile(QStringLiteral("ANNA"), {2, 1});
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(5, 4), {});
        const auto form = Open(QStringLiteral("Anna"));
        FAnswers->FileAnswers << file;
        Click(*form, "ButtonImport");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{QStringLiteral("2 neue Durchgänge für \"Anna\" übernommen.")});
        QCOMPARE(form->Sessions().size(), size_t(3));
        QVERIFY(Info(*form).startsWith(QStringLiteral("Anna: 3 Durchgänge")));
    }

    void importQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("target"); // "" when nothing is imported
        QTest::newRow("Ja") << int(QMessageBox::Yes) << "Anna";
        QTest::newRow("Nein") << int(QMessageBox::No) << "Paul";
        QTest::newRow("Abbrechen") << int(QMessageBox::Cancel) << "";
        QTest::newRow("geschlossen") << int(QMessageBox::Escape) << "";
    }

    void importQuestion() {
        QFETCH(int, answer);
        QFETCH(QString, target);
        const QString file = ExchangeFile(QStringLiteral("Paul"), {3});
        TUserManager(UsersFilePath(FData->path())).SaveUser(QStringLiteral("Anna"));
        const auto form = Open(QStringLiteral("Anna"));
        FAnswers->FileAnswers << file;
        FAnswers->ButtonAnswers << QMessageBox::StandardButton(answer);
        Click(*form, "ButtonImport");

        QVERIFY(!FAnswers->Messages.isEmpty());
        const TMessageRequest& question = FAnswers->Messages[0];
        QCOMPARE(question.Kind, TMsgKind::Question);
        QCOMPARE(question.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(question.Text,
                 QStringLiteral("Das Protokoll stammt von \"Paul\".\r\n\r\nJa: dem Nutzer "
                                "\"Anna\" hinzufügen\r\nNein: unter \"Paul\" ablegen (wird bei "
                                "Bedarf angelegt)"));
        const TUserManager users(UsersFilePath(FData->path()));
        if (target.isEmpty()) {
            QCOMPARE(FAnswers->Messages.size(), 1);
            QVERIFY(LoadSessions(QStringLiteral("Anna")).empty());
            QVERIFY(LoadSessions(QStringLiteral("Paul")).empty());
            QVERIFY(!users.UserExists(QStringLiteral("Paul")));
            return;
        }
        QCOMPARE(FAnswers->Texts().value(1),
                 QStringLiteral("1 neue Durchgänge für \"%1\" übernommen.").arg(target));
        QCOMPARE(LoadSessions(target).size(), size_t(1));
        const bool intoShownUser = target == QStringLiteral("Anna");
        QCOMPARE(users.UserExists(QStringLiteral("Paul")), !intoShownUser);
        // The window shows the new runs only when they went to its own user.
        QCOMPARE(form->Sessions().size(), size_t(intoShownUser ? 1 : 0));
    }

    void importFailureMentionsExcel() {
        const QString file = ExchangeFile(QStringLiteral("Anna"), {3});
        QDir().mkpath(RunFileName(QStringLiteral("Anna"))); // cannot be replaced by a file
        const auto form = Open(QStringLiteral("Anna"));
        FAnswers->FileAnswers << file;
        Click(*form, "ButtonImport");
        QCOMPARE(FAnswers->Texts(),
                 QStringList{QStringLiteral("Das Protokoll konnte nicht übernommen werden. Ist "
                                            "die Protokolldatei gerade in Excel geöffnet?")});
        QCOMPARE(FAnswers->Messages[0].Kind, TMsgKind::Error);
    }

    void printToPdf() {
        AppendSession(QStringLiteral("Anna"), RunDaysAgo(0, 3), {});
        const QString pdf = FData->filePath(QStringLiteral("druck.pdf"));
        SetPrintDialog([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonPrint");
        QVERIFY(FAnswers->Messages.isEmpty());
        const QStringList pages = test::PdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(QStringLiteral("Kalvero 4 - Verlauf für Anna")));
        QVERIFY(pages[0].simplified().contains(Info(*form).simplified()));
        QVERIFY(pages[1].contains(QStringLiteral("Kalvero 4 - Durchgänge - Anna")));
        QVERIFY(pages[1].contains(QStringLiteral("Hummel, 30 Reize, Geschw. 5, nach rechts")));
    }

    void printCancelled() {
        bool asked = false;
        SetPrintDialog([&](QPrinter&, QWidget*) { return !(asked = true); });
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonPrint");
        QVERIFY(asked);
        QVERIFY(FAnswers->Messages.isEmpty());
        QVERIFY(QDir(FData->path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }

    void printFailureIsShown() {
        SetPrintDialog([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(FData->path());
            return true;
        });
        const auto form = Open(QStringLiteral("Anna"));
        Click(*form, "ButtonPrint");
        QCOMPARE(FAnswers->Messages.size(), 1);
        QCOMPARE(FAnswers->Messages[0].Kind, TMsgKind::Error);
    }
};

QTEST_MAIN(FormHistoryTest)
#include "form_history_qtest.moc"
