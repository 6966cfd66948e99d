#include "fuzz/inputs/fuzz_support.h"
#include "fuzz/inputs/one_input.h"
#include "platform/atomic_file.h"
#include "protocol/exchange.h"
#include "protocol/fields.h"
#include "protocol/lines.h"
#include "protocol/store.h"
#include "protocol/text_file.h"

#include <QDateTime>
#include <QFileInfo>

namespace kalvero::fuzz {

namespace {

const QString Target = QStringLiteral("Ziel");

// How often a line occurs in the list, compared without regard to letter case.
qsizetype Occurrences(const QStringList& lines, const QString& line) {
    qsizetype count = 0;
    for (const QString& other : lines)
        if (other.compare(line, Qt::CaseInsensitive) == 0)
            ++count;
    return count;
}

QByteArray FileBytes(const QString& path) {
    QByteArray data;
    ReadWholeFile(path, data);
    return data;
}

// After a merge: the lines the file held come first, unchanged and in order; every incoming line
// is there exactly once; the file starts with the byte order mark and the header.
void CheckMerged(TFindings& findings, const QStringList& before, const QStringList& incoming,
                 const QString& file, const QString& header, int added, const char* what) {
    const QStringList after = ReadDataLines(file);
    const std::string name(what);
    findings.Check(after.mid(0, before.size()) == before,
                   name + ": lines held before were changed or lost");
    findings.Check(after.size() == before.size() + added,
                   name + ": count of added lines " + std::to_string(added) + " but " +
                       std::to_string(after.size() - before.size()) + " new lines");
    const QStringList added_lines = after.mid(before.size());
    for (const QString& line : incoming) {
        const qsizetype inBefore = Occurrences(before, line);
        const qsizetype inAdded = Occurrences(added_lines, line);
        findings.Check(inAdded == (inBefore > 0 ? 0 : 1), name + ": incoming line added " +
                                                              std::to_string(inAdded) +
                                                              " times: " + Shown(line));
    }
    if (added > 0) {
        QStringList raw;
        ReadLines(raw, file);
        findings.Check(FileBytes(file).startsWith(Utf8Bom()) && !raw.isEmpty() &&
                           raw.first() == header,
                       name + ": merged file without byte order mark and header");
        findings.Check(!QFileInfo::exists(PendingFileName(file)),
                       name + ": pending file left after a merge");
    }
}

// The incoming lines of one section of an exchange file, as the import reads them.
QStringList SectionLines(const QStringList& lines, const QString& heading) {
    static const QStringList headings{"[Durchgaenge]", "[Reize]", "[Suchaufgabe]"};
    QStringList result;
    bool inside = false;
    for (const QString& line : lines) {
        if (headings.contains(line)) {
            inside = line == heading;
            continue;
        }
        // Header lines and blank lines are no data: the import leaves them out.
        if (inside && !TrimControls(line).isEmpty() && !line.startsWith(QLatin1String("Datum;")))
            result << line;
    }
    return result;
}

// Parts: the exchange file, the target's run file, the target's pending run file.
std::string ImportCase(const std::vector<QByteArray>& parts) {
    const QString folder = FreshScratchFolder();
    const TProtocolStore store(folder + "Protokolle");
    const QString exchange = folder + "Import.kvprot";
    const QString runFile = store.RunFileName(Target);
    if (!WriteBytes(exchange, parts[0]) || (parts.size() > 1 && !WriteBytes(runFile, parts[1])) ||
        (parts.size() > 2 && !WriteBytes(PendingFileName(runFile), parts[2])))
        return "scratch files cannot be written";

    TFindings findings;
    const QStringList runsBefore = ReadDataLines(runFile);
    const QString fileUser = ExchangeFileUser(exchange);
    int newRuns = -1;
    const bool imported = ImportProtocol(store, exchange, Target, newRuns);
    findings.Check(imported == !fileUser.isEmpty(), "import result differs from the file's user");
    if (!imported) {
        findings.Check(ReadDataLines(runFile) == runsBefore, "a failed import changed the runs");
        return findings.Text();
    }
    QStringList lines;
    ReadLines(lines, exchange);
    CheckMerged(findings, runsBefore, SectionLines(lines, "[Durchgaenge]"), runFile,
                RunFileHeader(), newRuns, "runs");

    const QByteArray runs = FileBytes(runFile);
    int again = -1;
    findings.Check(ImportProtocol(store, exchange, Target, again) && again == 0,
                   "importing the same file again added runs");
    findings.Check(FileBytes(runFile) == runs, "importing the same file again changed the runs");
    return findings.Text();
}

// Parts: the user name, the run file, the stimulus file, the search-test file, the pending run
// file. Exported, then imported into an empty target: every exported line arrives once.
std::string RoundTripCase(const std::vector<QByteArray>& parts) {
    const auto part = [&](std::size_t i) { return i < parts.size() ? parts[i] : QByteArray(); };
    const QString folder = FreshScratchFolder();
    const TProtocolStore source(folder + "Quelle");
    const TProtocolStore target(folder + "Ziel");
    const QString user = QString::fromUtf8(part(0)).left(60);
    const QString files[] = {source.RunFileName(user), source.StimulusFileName(user),
                             source.SearchTestFileName(user),
                             PendingFileName(source.RunFileName(user))};
    for (std::size_t i = 0; i < 4; ++i)
        if (!part(i + 1).isEmpty() && !WriteBytes(files[i], part(i + 1)))
            return {}; // a name the file system refuses
    const QString exchange = folder + "Export.kvprot";
    TFindings findings;
    if (!ExportProtocol(source, user, exchange, QDateTime(QDate(2025, 3, 7), QTime(12, 0)))) {
        findings.Fail("export failed");
        return findings.Text();
    }
    const bool named = !TrimControls(CsvField(user)).isEmpty();
    int newRuns = -1;
    const bool imported = ImportProtocol(target, exchange, Target, newRuns);
    findings.Check(imported == named, "import of an export: " + std::to_string(imported));
    if (!imported)
        return findings.Text();
    const struct {
        QString From, To;
        const char* What;
    } sections[] = {
        {source.RunFileName(user), target.RunFileName(Target), "runs"},
        {source.StimulusFileName(user), target.StimulusFileName(Target), "stimuli"},
        {source.SearchTestFileName(user), target.SearchTestFileName(Target), "search tests"},
    };
    for (const auto& section : sections) {
        // A line equal to a section heading cannot travel in an exchange file.
        QStringList exported = ReadDataLines(section.From);
        exported.removeIf([](const QString& line) {
            return line == "[Durchgaenge]" || line == "[Reize]" || line == "[Suchaufgabe]";
        });
        const QStringList arrived = ReadDataLines(section.To);
        for (const QString& line : exported)
            findings.Check(Occurrences(arrived, line) == 1,
                           std::string(section.What) + ": exported line arrived " +
                               std::to_string(Occurrences(arrived, line)) +
                               " times: " + Shown(line));
        for (const QString& line : arrived)
            findings.Check(Occurrences(exported, line) > 0,
                           std::string(section.What) + ": line not exported: " + Shown(line));
    }
    return findings.Text();
}

} // namespace

// First byte: even for an import into existing files, odd for export then import.
std::string ExchangeInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return {};
    if (data[0] % 2 == 0)
        return ImportCase(SplitParts(data + 1, size - 1, 3));
    return RoundTripCase(SplitParts(data + 1, size - 1, 5));
}

} // namespace kalvero::fuzz
