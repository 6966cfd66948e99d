#include "protocol/exchange.h"

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "protocol/fields.h"
#include "protocol/lines.h"
#include "protocol/store.h"
#include "protocol/text_file.h"
#include "users/user_manager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace kalvero {

namespace {

const QString FileMark = QStringLiteral("KALVERO4-PROTOKOLL");
const QString UserPrefix = QStringLiteral("Nutzer;");
const QString RunSection = QStringLiteral("[Durchgaenge]");
const QString StimulusSection = QStringLiteral("[Reize]");
const QString SearchTestSection = QStringLiteral("[Suchaufgabe]");

bool IsBlankLine(const QString& line) {
    return TrimControls(line).isEmpty();
}

// What ReadDataLines keeps of a protocol file: no blank lines, no header lines.
bool IsDataLine(const QString& line) {
    return !IsBlankLine(line) && !line.startsWith(QLatin1String("Datum;"));
}

bool IsSectionHeading(const QString& line) {
    return line == RunSection || line == StimulusSection || line == SearchTestSection;
}

// The data lines of a protocol file that an exchange file can carry: a line equal to a section
// heading (only a hand-edited file has one) would end its section on import and is left out.
QStringList ExportedLines(const QString& file) {
    QStringList lines = ReadDataLines(file);
    lines.removeIf(IsSectionHeading);
    return lines;
}

struct TIncoming {
    QStringList Runs, Stimuli, SearchTests;
};

TIncoming SplitSections(const QStringList& lines) {
    TIncoming incoming;
    QStringList* current = nullptr;
    for (const QString& line : lines) {
        if (line == RunSection)
            current = &incoming.Runs;
        else if (line == StimulusSection)
            current = &incoming.Stimuli;
        else if (line == SearchTestSection)
            current = &incoming.SearchTests;
        else if (current && !IsBlankLine(line))
            *current << line;
    }
    return incoming;
}

// Replaces the file while holding its write lock, so that no appender writes into the file
// that is about to be replaced.
bool ReplaceLockedFile(const QString& file, const QString& text) {
    TLockedFile lock;
    if (QFileInfo::exists(file) && lock.Open(file, false) != TLockResult::Locked)
        return false;
    try {
        WriteTextFile(file, text);
    } catch (const TWriteError&) {
        return false;
    }
    return true;
}

} // namespace

QStringList ReadDataLines(const QString& file) {
    QStringList lines;
    ReadLines(lines, file);
    ReadLines(lines, PendingFileName(file));
    QStringList data;
    for (const QString& line : lines) {
        if (IsDataLine(line))
            data << line;
    }
    return data;
}

bool ExportProtocol(const TProtocolStore& store, const QString& user, const QString& file,
                    const QDateTime& now) {
    QStringList lines;
    lines << FileMark + QStringLiteral(";1") << UserPrefix + CsvField(user)
          << QStringLiteral("Exportiert;") + now.toString(QStringLiteral("dd.MM.yyyy HH:mm"))
          << RunSection << ExportedLines(store.RunFileName(user)) << StimulusSection
          << ExportedLines(store.StimulusFileName(user)) << SearchTestSection
          << ExportedLines(store.SearchTestFileName(user));
    try {
        WriteTextFile(file, JoinLines(lines));
    } catch (const TWriteError&) {
        return false;
    }
    return true;
}

bool ExportProtocol(const QString& user, const QString& file) {
    return ExportProtocol(TProtocolStore::OfDataFolder(), user, file, QDateTime::currentDateTime());
}

QString ExchangeFileUser(const QString& file) {
    QStringList lines;
    ReadLines(lines, file);
    if (lines.size() < 2 || !lines[0].startsWith(FileMark) || !lines[1].startsWith(UserPrefix))
        return QString();
    return TrimControls(lines[1].mid(UserPrefix.size()));
}

bool MergeLines(const QString& file, const QString& header, const QStringList& incoming,
                int& added) {
    added = 0;
    QStringList lines = ReadDataLines(file);
    QSet<QString> known;
    for (const QString& line : lines)
        known.insert(line.toCaseFolded());
    for (const QString& line : incoming) {
        // A header line would never be found again in the file and be added on every merge.
        if (!IsDataLine(line))
            continue;
        const QString key = line.toCaseFolded();
        if (known.contains(key))
            continue;
        known.insert(key);
        lines << line;
        ++added;
    }
    if (added == 0)
        return true;
    lines.prepend(header);
    if (!QDir().mkpath(QFileInfo(file).absolutePath()) ||
        !ReplaceLockedFile(file, JoinLines(lines))) {
        added = 0;
        return false;
    }
    const QString pending = PendingFileName(file);
    if (QFileInfo::exists(pending))
        QFile::remove(pending);
    return true;
}

bool ImportProtocol(const TProtocolStore& store, const QString& file, const QString& target,
                    int& newRuns) {
    newRuns = 0;
    if (ExchangeFileUser(file).isEmpty())
        return false;
    QStringList lines;
    ReadLines(lines, file);
    const TIncoming incoming = SplitSections(lines);
    int added = 0;
    if (!MergeLines(store.RunFileName(target), RunFileHeader(), incoming.Runs, newRuns))
        return false;
    if (!MergeLines(store.StimulusFileName(target), StimulusFileHeader(), incoming.Stimuli, added))
        return false;
    return MergeLines(store.SearchTestFileName(target), SearchTestFileHeader(),
                      incoming.SearchTests, added);
}

bool ImportProtocol(const QString& file, const QString& target, int& newRuns) {
    return ImportProtocol(TProtocolStore::OfDataFolder(), file, target, newRuns);
}

void RegisterImportTarget(const QString& target, const QString& shownUser,
                          const QString& usersFile) {
    if (target.compare(shownUser, Qt::CaseInsensitive) == 0)
        return;
    if (usersFile.isEmpty()) {
        TUserManager users;
        users.SaveUser(target);
    } else {
        TUserManager users(usersFile);
        users.SaveUser(target);
    }
}

} // namespace kalvero
