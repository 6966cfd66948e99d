#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kalvero {

class TProtocolStore;

// The protocol exchange file (".kvprot"): one user's run, stimulus and search-test lines in
// one UTF-8 file with byte order mark and CR LF line ends:
//   KALVERO4-PROTOKOLL;1 / Nutzer;<name> / Exportiert;<dd.mm.yyyy hh:nn> /
//   [Durchgaenge] <run lines> / [Reize] <stimulus lines> / [Suchaufgabe] <search-test lines>

// The data lines of a protocol file and then of its pending file: without blank lines and
// without header lines (those beginning with "Datum;"), otherwise unchanged.
QStringList ReadDataLines(const QString& file);

// Writes the user's exchange file; the protocol files are only read. False when the file
// cannot be written.
bool ExportProtocol(const TProtocolStore& store, const QString& user, const QString& file,
                    const QDateTime& now);
bool ExportProtocol(const QString& user, const QString& file); // data folder, now

// The user name stored in an exchange file; empty when the file is none.
QString ExchangeFileUser(const QString& file);

// Adds the incoming lines that the file does not hold yet (compared whole, without regard to
// letter case), replacing the file as a whole and then deleting its pending file, whose lines
// are in the file now. Nothing is written when nothing is new. False when the file cannot be
// replaced (also while another writer holds its lock); file and pending file then stay as they
// were.
bool MergeLines(const QString& file, const QString& header, const QStringList& incoming,
                int& added);

// Merges an exchange file into the target user's protocol files: runs, then stimuli, then
// search tests; stops at the first file that cannot be merged. newRuns counts the added runs.
bool ImportProtocol(const TProtocolStore& store, const QString& file, const QString& target,
                    int& newRuns);
bool ImportProtocol(const QString& file, const QString& target, int& newRuns); // data folder

// Registers the import target in the users file when it is not the shown user (compared
// without regard to case); an existing user stays untouched. Uses a manager of its own on the
// users file (default: the data folder's). Throws TWriteError when the users file cannot be
// written.
void RegisterImportTarget(const QString& target, const QString& shownUser,
                          const QString& usersFile = QString());

} // namespace kalvero
