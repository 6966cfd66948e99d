#include "protocol/store.h"

#include "protocol/lines.h"
#include "protocol/text_file.h"
#include "users/data_folder.h"
#include "users/user_manager.h"

#include <algorithm>

namespace kalvero {

namespace {

const QLatin1String LineEnd("\r\n");

bool IsBlank(const QString& user) {
    return TrimName(user).isEmpty();
}

QStringList FileAndPendingLines(const QString& file) {
    QStringList lines;
    ReadLines(lines, file);
    ReadLines(lines, PendingFileName(file));
    return lines;
}

template <typename TRecord, typename TParse>
std::vector<TRecord> LoadRecords(const QString& file, TParse parse) {
    std::vector<TRecord> records;
    TRecord record;
    for (const QString& line : FileAndPendingLines(file)) {
        if (parse(line, record))
            records.push_back(record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const TRecord& a, const TRecord& b) { return a.Start < b.Start; });
    return records;
}

} // namespace

TProtocolStore::TProtocolStore(const QString& protocolFolder) : FFolder(protocolFolder) {
    if (!FFolder.isEmpty() && !FFolder.endsWith(QLatin1Char('/')))
        FFolder += QLatin1Char('/');
}

TProtocolStore TProtocolStore::OfDataFolder() {
    return TProtocolStore(GetProtocolFolder());
}

QString TProtocolStore::RunFileName(const QString& user) const {
    return FFolder + UserFileName(user) + QStringLiteral(".csv");
}

QString TProtocolStore::StimulusFileName(const QString& user) const {
    return FFolder + UserFileName(user) + QStringLiteral("_Reize.csv");
}

QString TProtocolStore::SearchTestFileName(const QString& user) const {
    return FFolder + UserFileName(user) + QStringLiteral("_Suchaufgabe.csv");
}

void TProtocolStore::AppendSession(const QString& user, const TSessionRec& run,
                                   const TStimulusArray& stimuli) const {
    if (IsBlank(user))
        return;
    AppendLines(RunFileName(user), RunFileHeader(), SessionLine(run) + LineEnd);
    QString text;
    for (const TStimulusRec& stimulus : stimuli)
        text += StimulusLine(run, stimulus) + LineEnd;
    AppendLines(StimulusFileName(user), StimulusFileHeader(), text);
}

void TProtocolStore::AppendSearchTest(const QString& user, const TSearchTestRec& test) const {
    if (IsBlank(user))
        return;
    AppendLines(SearchTestFileName(user), SearchTestFileHeader(), SearchTestLine(test) + LineEnd);
}

TSessionArray TProtocolStore::LoadSessions(const QString& user) const {
    return LoadRecords<TSessionRec>(RunFileName(user), ParseSessionLine);
}

TSearchTestArray TProtocolStore::LoadSearchTests(const QString& user) const {
    return LoadRecords<TSearchTestRec>(SearchTestFileName(user), ParseSearchTestLine);
}

QString RunFileName(const QString& user) {
    return TProtocolStore::OfDataFolder().RunFileName(user);
}

QString StimulusFileName(const QString& user) {
    return TProtocolStore::OfDataFolder().StimulusFileName(user);
}

QString SearchTestFileName(const QString& user) {
    return TProtocolStore::OfDataFolder().SearchTestFileName(user);
}

void AppendSession(const QString& user, const TSessionRec& run, const TStimulusArray& stimuli) {
    TProtocolStore::OfDataFolder().AppendSession(user, run, stimuli);
}

void AppendSearchTest(const QString& user, const TSearchTestRec& test) {
    TProtocolStore::OfDataFolder().AppendSearchTest(user, test);
}

TSessionArray LoadSessions(const QString& user) {
    return TProtocolStore::OfDataFolder().LoadSessions(user);
}

TSearchTestArray LoadSearchTests(const QString& user) {
    return TProtocolStore::OfDataFolder().LoadSearchTests(user);
}

} // namespace kalvero
