#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kalvero {

TWriteError::TWriteError(const QString& path)
    : std::runtime_error(QStringLiteral("In %1 kann nicht geschrieben werden")
                             .arg(QDir::toNativeSeparators(path))
                             .toStdString()),
      FPath(path) {}

void WriteFileAtomic(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TWriteError(path);
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        throw TWriteError(path);
    }
    if (!file.commit())
        throw TWriteError(path);
}

bool ReadWholeFile(const QString& path, QByteArray& data) {
    // Only regular files: a name from a file (a sequence entry, a plan) may point at a device or
    // a pipe, which would never end or block the program.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

QByteArray Utf8Bom() {
    return QByteArray("\xEF\xBB\xBF", 3);
}

QByteArray StripUtf8Bom(const QByteArray& data) {
    return data.startsWith(Utf8Bom()) ? data.mid(3) : data;
}

} // namespace kalvero
