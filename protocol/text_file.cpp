#include "protocol/text_file.h"

#include "platform/atomic_file.h"
#include "platform/file_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kalvero {

namespace {

const QLatin1String LineEnd("\r\n");

// Splits text at CR LF, lone LF and lone CR; a final line end opens no further line.
void SplitLines(const QString& text, QStringList& list) {
    qsizetype begin = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        list << text.mid(begin, i - begin);
        if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        begin = i + 1;
    }
    if (begin < size)
        list << text.mid(begin);
}

// Like ReadLines, but tells a file that exists and cannot be read (false) from one that
// is missing or was read (true).
bool ReadLinesChecked(QStringList& list, const QString& file) {
    if (!QFileInfo::exists(file))
        return true;
    QByteArray data;
    if (!ReadWholeFile(file, data))
        return false;
    SplitLines(QString::fromUtf8(StripUtf8Bom(data)), list);
    return true;
}

bool EndsWithLineBreak(char last) {
    return last == '\n' || last == '\r';
}

// Appends under the write lock; a new (or empty) file gets the byte order mark and the
// header first, a file whose last line lacks its end gets one, so the new lines stay whole.
bool AppendToFile(const QString& file, const QString& header, const QString& text) {
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    TLockedFile locked;
    if (locked.Open(file, true) != TLockResult::Locked)
        return false;
    QByteArray data;
    const qint64 size = locked.Size();
    if (size < 0)
        return false;
    if (size == 0)
        data = Utf8Bom() + (header + LineEnd).toUtf8();
    else if (!EndsWithLineBreak(locked.LastByte()))
        data = QByteArray("\r\n");
    data += text.toUtf8();
    return locked.Append(data);
}

void ReplacePendingFile(const QString& pending, const QString& text) {
    try {
        WriteFileAtomic(pending, Utf8Bom() + text.toUtf8());
    } catch (const TWriteError&) {
        // Nowhere left to keep the lines.
    }
}

} // namespace

QString PendingFileName(const QString& file) {
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash + 1 ? file.left(dot) : file;
    return stem + QStringLiteral("_ausstehend.txt");
}

QString JoinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + LineEnd;
    return text;
}

void AppendLines(const QString& file, const QString& header, const QString& text) {
    if (text.isEmpty())
        return;
    const QString pending = PendingFileName(file);
    const bool hasPending = QFileInfo::exists(pending);
    QStringList waiting;
    if (hasPending && !ReadLinesChecked(waiting, pending)) {
        // Waiting lines that cannot be read now stay where they are rather than being
        // overwritten; the new ones still go to the file.
        AppendToFile(file, header, text);
        return;
    }
    const QString all = JoinLines(waiting) + text;
    if (!AppendToFile(file, header, all)) {
        ReplacePendingFile(pending, all);
        return;
    }
    if (hasPending)
        QFile::remove(pending);
}

void ReadLines(QStringList& list, const QString& file) {
    QStringList lines;
    if (ReadLinesChecked(lines, file))
        list += lines;
}

void WriteTextFile(const QString& file, const QString& text) {
    WriteFileAtomic(file, Utf8Bom() + text.toUtf8());
}

} // namespace kalvero
