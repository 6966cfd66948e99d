#pragma once

#include <QString>
#include <QStringList>

namespace kalvero {

// The file's full name without its extension + "_ausstehend.txt": where lines wait while
// the file cannot be written.
QString PendingFileName(const QString& file);

// Appends text (one or more lines, each ending with CR LF) to a protocol file. A new file
// starts with the byte order mark and the header line. Lines waiting in the pending file go
// in front of text. While the file is locked by another writer, or on any other failure, all
// of it goes to the pending file instead; nothing is reported.
void AppendLines(const QString& file, const QString& header, const QString& text);

// Appends the lines of a UTF-8 file (byte order mark skipped; CR LF, LF or CR end a line)
// to list. Missing or unreadable files add nothing. Never locks.
void ReadLines(QStringList& list, const QString& file);

// Replaces the file as a whole (byte order mark, then text in UTF-8); creates missing
// folders. Throws TWriteError on failure and then leaves the old file as it was.
void WriteTextFile(const QString& file, const QString& text);

// Lines joined with CR LF after each line, the last one included.
QString JoinLines(const QStringList& lines);

} // namespace kalvero
