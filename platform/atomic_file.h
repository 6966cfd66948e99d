#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace kalvero {

// Raised when a file cannot be written; what() reads "In <file> kann nicht geschrieben werden".
class TWriteError : public std::runtime_error {
public:
    explicit TWriteError(const QString& path);
    QString Path() const { return FPath; }

private:
    QString FPath;
};

// Replaces the whole file: writes a temporary file beside it, then renames it over the target,
// so a crash never leaves a half-written file. Missing parent folders are created.
// Throws TWriteError on failure; the old file is then left as it was.
void WriteFileAtomic(const QString& path, const QByteArray& data);

// Reads a whole regular file. Returns false when it does not exist, is no regular file (a
// folder, a device, a pipe) or cannot be read.
bool ReadWholeFile(const QString& path, QByteArray& data);

// The UTF-8 byte order mark EF BB BF.
QByteArray Utf8Bom();

// Removes a leading UTF-8 byte order mark, if any.
QByteArray StripUtf8Bom(const QByteArray& data);

} // namespace kalvero
