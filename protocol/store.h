#pragma once

#include "protocol/records.h"

#include <QString>

namespace kalvero {

// The per-user protocol files in one protocol folder: the run file "<user>.csv", the stimulus
// file "<user>_Reize.csv" and the search-test file "<user>_Suchaufgabe.csv", each with its
// pending file. No state besides the folder; every call works on the files directly and
// reports nothing: failed appends leave their lines in the pending file, unreadable files read
// as empty.
class TProtocolStore {
public:
    // A trailing separator is added when missing.
    explicit TProtocolStore(const QString& protocolFolder);
    // The protocol folder of the data folder (GetProtocolFolder()).
    static TProtocolStore OfDataFolder();

    const QString& Folder() const { return FFolder; }

    QString RunFileName(const QString& user) const;
    QString StimulusFileName(const QString& user) const;
    QString SearchTestFileName(const QString& user) const;

    // Appends the run line, and one stimulus line per event when there are any. Nothing for a
    // blank user name.
    void AppendSession(const QString& user, const TSessionRec& run,
                       const TStimulusArray& stimuli) const;
    void AppendSearchTest(const QString& user, const TSearchTestRec& test) const;

    // The file's lines, then its pending lines; unreadable lines skipped; stably sorted by
    // Start, so equal starts keep file order.
    TSessionArray LoadSessions(const QString& user) const;
    TSearchTestArray LoadSearchTests(const QString& user) const;

private:
    QString FFolder;
};

// The same operations on the data folder's protocol folder.
QString RunFileName(const QString& user);
QString StimulusFileName(const QString& user);
QString SearchTestFileName(const QString& user);
void AppendSession(const QString& user, const TSessionRec& run, const TStimulusArray& stimuli);
void AppendSearchTest(const QString& user, const TSearchTestRec& test);
TSessionArray LoadSessions(const QString& user);
TSearchTestArray LoadSearchTests(const QString& user);

} // namespace kalvero
