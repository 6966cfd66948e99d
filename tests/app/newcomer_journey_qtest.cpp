// The newcomer's journey through the real program under Xvfb, in two starts on two fresh data
// folders: a new user trains once with the alertness star and exports the protocol; a therapist
// installation reads it in and prints the history to PDF. The program drives its own windows
// (KALVERO_JOURNEY_TEST) and reports each step; the screenshots stay in the output folder.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString Output = QStringLiteral(KALVERO_JOURNEY_OUTPUT);
const QString User = QStringLiteral("Jörg Neumann");
constexpr int ProgramTimeoutMs = 180000;

using TResult = QMap<QString, QString>;

TResult ReadResult(const QString& name) {
    TResult values;
    QFile file(QDir(Output).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return values;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            values.insert(line.left(eq), QString(line.mid(eq + 1)).replace("\\n", "\n"));
    }
    return values;
}

// The data lines of a protocol file: without byte order mark, header and blank lines.
QStringList DataLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines;
    for (const QString& line : text.split("\r\n"))
        if (!line.trimmed().isEmpty() && !line.startsWith("Datum;"))
            lines << line;
    return lines;
}

QString RunFile(const QString& data) {
    return QDir(data).filePath("Protokolle/" + User + ".csv");
}

QString StimulusFile(const QString& data) {
    return QDir(data).filePath("Protokolle/" + User + "_Reize.csv");
}

int ColourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

class NewcomerJourneyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstRunExportImportAndPrint();

private:
    // One start of the program under its own Xvfb server; false when it did not end or crashed.
    // (The exit code is left alone: sanitizer builds report leaks of the libraries through it.)
    bool RunProgram(const QString& data, const QString& importFile);
    void CheckPatientSide(const TResult& result, const QString& data);
    void CheckTherapistSide(const TResult& result, const TResult& first, const QString& data);
    void CheckProtocols(const QString& first, const QString& second);
    void CheckPrintout(const QString& pdf);
    void CheckScreenshots();

    QString FXvfbRun;
};

void NewcomerJourneyTest::initTestCase() {
    FXvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (FXvfbRun.isEmpty())
        QSKIP("xvfb-run is not installed");
    QDir(Output).removeRecursively();
    QVERIFY(QDir().mkpath(Output));
}

bool NewcomerJourneyTest::RunProgram(const QString& data, const QString& importFile) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KALVERO_JOURNEY_TEST", Output);
    env.insert("KALVERO_JOURNEY_DATA", data);
    if (!importFile.isEmpty())
        env.insert("KALVERO_JOURNEY_IMPORT", importFile);
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Server numbers from 120 up, away from those of the smoke test, which may run meanwhile.
    program.start(FXvfbRun, {"-a", "-n", "120", "-s", "-screen 0 1920x1080x24", KALVERO4_EXE});
    return program.waitForStarted() && program.waitForFinished(ProgramTimeoutMs) &&
           program.exitStatus() == QProcess::NormalExit && program.exitCode() < 128;
}

void NewcomerJourneyTest::firstRunExportImportAndPrint() {
    QTemporaryDir dir;
    const QString patientData = dir.filePath("patient");
    const QString therapistData = dir.filePath("therapist");

    QVERIFY2(RunProgram(patientData, {}), "the patient's start did not end");
    const TResult first = ReadResult("journey-export.txt");
    CheckPatientSide(first, patientData);
    if (QTest::currentTestFailed())
        return;

    QVERIFY2(RunProgram(therapistData, first.value("export_file")),
             "the therapist's start did not end");
    const TResult second = ReadResult("journey-import.txt");
    CheckTherapistSide(second, first, therapistData);
    if (QTest::currentTestFailed())
        return;
    CheckProtocols(patientData, therapistData);
    if (QTest::currentTestFailed())
        return;
    CheckPrintout(second.value("pdf_file"));
    if (QTest::currentTestFailed())
        return;
    CheckScreenshots();
}

void NewcomerJourneyTest::CheckPatientSide(const TResult& r, const QString& data) {
    QCOMPARE(r.value("state"), QString("done"));
    // A fresh installation: the welcome window of therapist mode with an empty list.
    QCOMPARE(r.value("welcome_title"), QString("Kalvero 4 - Willkommen"));
    QCOMPARE(r.value("welcome_mode"), QString("Therapeutenversion"));
    QCOMPARE(r.value("welcome_users"), QString("0"));
    QCOMPARE(r.value("welcome_delete_enabled"), QString("0"));
    QCOMPARE(r.value("welcome_selected"), User);
    QCOMPARE(r.value("user"), User);
    QCOMPARE(r.value("label_user"), "Nutzer: " + User);
    QCOMPARE(r.value("alertness_item"), QString("1"));

    // The run: the safety notice first, a hit on the star, Esc, the result message.
    QVERIFY(r.value("safety_notice").startsWith("Bitte vor dem ersten Training lesen\n\n"));
    QCOMPARE(r.value("running_after_start"), QString("1"));
    QCOMPARE(r.value("button_during_run"), QString("Stop"));
    QCOMPARE(r.value("star_visible_at_space"), QString("1"));
    QCOMPARE(r.value("hits_after_space"), QString("1"));
    QCOMPARE(r.value("false_alarms_after_space"), QString("0"));
    QVERIFY(r.value("active_ms_at_esc").toLongLong() >= 6000);
    const QString result = r.value("result_message");
    QVERIFY2(result.startsWith("Ergebnis Alertness:\n\nErreichte Stufe: 2 / 10\n"),
             qPrintable(result));
    QVERIFY2(result.contains("\nReaktionen: 1\n") && result.contains("\nFehlreaktionen: 0"),
             qPrintable(result));
    QVERIFY2(result.endsWith("(Reaktionszeit = Median)"), qPrintable(result));
    QCOMPARE(r.value("running_after_esc"), QString("0"));
    QCOMPARE(r.value("button_after_run"), QString("Start"));

    // The history window shows that run.
    QCOMPARE(r.value("history_title"), "Kalvero 4 - Verlauf für " + User);
    QVERIFY2(r.value("history_info").startsWith(User + ": 1 Durchgänge, zusammen 0:00 h."),
             qPrintable(r.value("history_info")));
    const QString list = r.value("history_list");
    QVERIFY2(list.contains("min  Einstellungen\n    Hummel, 40 Reize, Geschw. 5, nach links\n"
                           "    Alertness: 1 von "),
             qPrintable(list));
    QVERIFY2(list.contains("\n    Ende: Esc\n"), qPrintable(list));

    // The export went where the save dialog was answered, under the proposed name.
    QCOMPARE(r.value("export_title"), QString("Protokoll exportieren"));
    const QString proposal = QString("Kalvero-Protokoll %1 %2.kvprot")
                                 .arg(User, QDate::currentDate().toString("yyyy-MM-dd"));
    QCOMPARE(r.value("export_proposal"), proposal);
    QCOMPARE(r.value("export_file"), QDir(Output).filePath(proposal));
    QCOMPARE(r.value("export_exists"), QString("1"));
    QVERIFY(r.value("export_message")
                .startsWith("Das Protokoll ist gespeichert:\n" + r.value("export_file") + "\n\n"));
    QCOMPARE(r.value("messages"), QString("3"));
    QFile exchange(r.value("export_file"));
    QVERIFY(exchange.open(QIODevice::ReadOnly));
    QVERIFY(exchange.readAll().startsWith("\xEF\xBB\xBFKALVERO4-PROTOKOLL;1\r\nNutzer;" +
                                          User.toUtf8() + "\r\nExportiert;"));

    // The protocol of the run: settings of the first frame, the hit, the end by Esc.
    const QStringList runs = DataLines(RunFile(data));
    QCOMPARE(runs.size(), 1);
    const QStringList fields = runs[0].split(';');
    QCOMPARE(fields.size(), 31);
    QCOMPARE(fields[3], QString("Einstellungen"));
    QCOMPARE(fields[12], QString("Stern"));
    QCOMPARE(fields[14], QString("1"));
    QCOMPARE(fields[16], QString("0"));
    QCOMPARE(fields[28], QString("Esc"));
    const QStringList stimuli = DataLines(StimulusFile(data));
    QVERIFY(!stimuli.isEmpty());
    QCOMPARE(stimuli[0].split(';').value(7), QString("Reaktion"));
}

void NewcomerJourneyTest::CheckTherapistSide(const TResult& r, const TResult& first,
                                             const QString& data) {
    QCOMPARE(r.value("state"), QString("done"));
    QCOMPARE(r.value("file_user"), User);
    QCOMPARE(r.value("welcome_mode"), QString("Therapeutenversion"));
    QCOMPARE(r.value("welcome_users"), QString("0"));
    QCOMPARE(r.value("user"), User);
    QCOMPARE(r.value("history_before_info"), User + ": noch keine Durchgänge protokolliert.");
    QCOMPARE(r.value("import_button_visible"), QString("1"));
    QCOMPARE(r.value("import_message"), "1 neue Durchgänge für \"" + User + "\" übernommen.");
    // After reading in, the window shows the patient's run exactly as the patient saw it.
    QCOMPARE(r.value("history_info"), first.value("history_info"));
    QCOMPARE(r.value("history_list"), first.value("history_list"));
    QCOMPARE(r.value("print_dialog_asked"), QString("1"));
    QCOMPARE(r.value("print_messages"), QString());
    QVERIFY(r.value("pdf_size").toLongLong() > 5000);
    QCOMPARE(QDir(data).entryList({"users.ini"}, QDir::Files).size(), 1);
}

void NewcomerJourneyTest::CheckProtocols(const QString& first, const QString& second) {
    QCOMPARE(DataLines(RunFile(second)), DataLines(RunFile(first)));
    QCOMPARE(DataLines(StimulusFile(second)), DataLines(StimulusFile(first)));
    // The merged file is a whole protocol file again: byte order mark and header first.
    QFile merged(RunFile(second));
    QVERIFY(merged.open(QIODevice::ReadOnly));
    QVERIFY(merged.readAll().startsWith("\xEF\xBB\xBF"
                                        "Datum;Beginn;Dauer (min);"));
    // The safety notice counts as seen for the new user.
    QFile users(QDir(first).filePath("users.ini"));
    QVERIFY(users.open(QIODevice::ReadOnly));
    QVERIFY(users.readAll().contains("Sicherheitshinweis=1"));
}

void NewcomerJourneyTest::CheckPrintout(const QString& pdf) {
    QVERIFY(QFile::exists(pdf));
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const QString text = RunTool(pdftotext, {"-layout", pdf, "-"});
    QVERIFY2(text.contains("Kalvero 4 - Verlauf für " + User), qPrintable(text));
    QVERIFY(text.contains("Gedruckt am "));
    QVERIFY(text.contains(User + ": 1 Durchgänge"));
    QVERIFY(text.contains("Kalvero 4 - Durchgänge - " + User));
    QVERIFY(text.contains("Hummel, 40 Reize, Geschw. 5, nach links"));
    QVERIFY(text.contains("Ende: Esc"));
    // The printed pages as pictures beside the screenshots, to look at.
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (!pdftoppm.isEmpty())
        RunTool(pdftoppm, {"-png", "-r", "60", pdf, QDir(Output).filePath("2-08-printout")});
}

void NewcomerJourneyTest::CheckScreenshots() {
    const QStringList names = {
        "1-01-welcome.png",        "1-02-name-typed.png",      "1-03-new-user.png",
        "1-04-settings-stern.png", "1-05-safety-notice.png",   "1-06-running-star.png",
        "1-07-running.png",        "1-08-result-message.png",  "1-09-history.png",
        "1-10-export-saved.png",   "2-01-welcome.png",         "2-02-name-typed.png",
        "2-03-new-user.png",       "2-04-settings.png",        "2-05-history-empty.png",
        "2-06-import-message.png", "2-07-history-imported.png"};
    for (const QString& name : names) {
        const QImage shot(QDir(Output).filePath(name));
        QVERIFY2(shot.size() == QSize(1920, 1080), qPrintable(name));
        QVERIFY2(ColourCount(shot) > 20, qPrintable(name + " looks blank"));
    }
    // A message box over the settings screen changes the picture; the run fills the screen.
    const QImage settings(QDir(Output).filePath("1-04-settings-stern.png"));
    const QImage notice(QDir(Output).filePath("1-05-safety-notice.png"));
    const QImage running(QDir(Output).filePath("1-07-running.png"));
    QVERIFY(settings != notice);
    QVERIFY(running.pixel(5, 5) != qRgb(255, 255, 255));
    QCOMPARE(settings.pixel(5, 5), qRgb(255, 255, 255));
}

QTEST_MAIN(NewcomerJourneyTest)
#include "newcomer_journey_qtest.moc"
