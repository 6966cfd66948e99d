// History commands of kalvero4-tool: the history list, export and import of exchange files and
// the printout as PDF, all over one user of a data folder.

#include "history/history_data.h"
#include "history/history_print.h"
#include "protocol/exchange.h"
#include "tools/commands.h"
#include "users/data_folder.h"
#include "users/user_manager.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QString>
#include <cstdio>
#include <exception>
#include <memory>

namespace kalvero::tool {

namespace {

void PrintLine(const QString& text, std::FILE* stream = stdout) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
}

int Failure(const QString& message) {
    PrintLine(message, stderr);
    return 1;
}

// Reads --data and --user; false (with a message) when the user is missing.
bool TakeDataAndUser(const std::vector<std::string>& args, QString& user) {
    const std::string data = OptionValue(args, "--data");
    if (!data.empty())
        OverrideDataFolder(QString::fromStdString(data));
    user = QString::fromStdString(OptionValue(args, "--user"));
    if (user.trimmed().isEmpty()) {
        PrintLine(QStringLiteral("Bitte --user NAME angeben."), stderr);
        return false;
    }
    return true;
}

// The single file argument after the options.
bool TakeFile(const std::vector<std::string>& args, QString& file) {
    const std::vector<std::string> rest = Positionals(args);
    if (rest.size() != 1) {
        PrintLine(QStringLiteral("Bitte genau eine Datei angeben."), stderr);
        return false;
    }
    file = QString::fromStdString(rest.front());
    return true;
}

int RunHistory(const std::vector<std::string>& args) {
    QString user;
    if (!TakeDataAndUser(args, user))
        return 2;
    const THistory history = LoadHistory(user);
    PrintLine(history.Info);
    for (const QString& line : history.Lines)
        PrintLine(line);
    return 0;
}

int RunExport(const std::vector<std::string>& args) {
    QString user, file;
    if (!TakeDataAndUser(args, user) || !TakeFile(args, file))
        return 2;
    if (LoadHistory(user).Sessions.empty())
        return Failure(QStringLiteral("Es gibt noch nichts zu exportieren."));
    if (!ExportProtocol(user, file))
        return Failure(QStringLiteral("Das Protokoll konnte nicht gespeichert werden."));
    PrintLine(QStringLiteral("Das Protokoll ist gespeichert: ") + file);
    return 0;
}

int RunImport(const std::vector<std::string>& args) {
    QString user, file;
    if (!TakeDataAndUser(args, user) || !TakeFile(args, file))
        return 2;
    if (ExchangeFileUser(file).isEmpty())
        return Failure(
            QStringLiteral("Diese Datei ist kein exportiertes Protokoll von Kalvero 4."));
    int newRuns = 0;
    if (!ImportProtocol(file, user, newRuns))
        return Failure(QStringLiteral("Das Protokoll konnte nicht übernommen werden. Ist die "
                                      "Protokolldatei gerade in Excel geöffnet?"));
    try {
        TUserManager().SaveUser(user);
    } catch (const std::exception& error) {
        return Failure(QString::fromUtf8(error.what()));
    }
    PrintLine(QStringLiteral("%1 neue Durchgänge für \"%2\" übernommen.").arg(newRuns).arg(user));
    return 0;
}

int RunPrint(const std::vector<std::string>& args) {
    QString user, pdf;
    if (!TakeDataAndUser(args, user) || !TakeFile(args, pdf))
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kalvero4-tool";
    static char* argv[] = {name, nullptr};
    const auto app = std::make_unique<QGuiApplication>(argc, argv);
    const THistory history = LoadHistory(user);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    try {
        PrintHistory(printer, {user, history.Info, history.Sessions, history.Alert, history.Lines});
    } catch (const std::exception& error) {
        return Failure(QString::fromUtf8(error.what()));
    }
    return 0;
}

const TCommandRegistration
    HistoryCommand("history",
                   "history --data DIR --user NAME   Zusammenfassung und Liste der Durchgänge",
                   RunHistory);
const TCommandRegistration
    ExportCommand("export",
                  "export --data DIR --user NAME FILE   Protokoll als Austauschdatei speichern",
                  RunExport);
const TCommandRegistration
    ImportCommand("import",
                  "import --data DIR --user NAME FILE   Austauschdatei dem Nutzer hinzufügen",
                  RunImport);
const TCommandRegistration
    PrintCommand("print", "print --data DIR --user NAME OUT.pdf   Verlauf als PDF drucken",
                 RunPrint);

} // namespace

} // namespace kalvero::tool
