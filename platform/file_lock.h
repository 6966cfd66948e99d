#pragma once

#include <QByteArray>
#include <QString>

namespace kalvero {

enum class TLockResult {
    Locked,      // the file is open and this holder has the write lock
    HeldByOther, // another holder (program, instance or open file) has a lock on it
    Failed,      // the file could not be opened or locked
};

// A file opened for appending under an open-file-description write lock (fcntl F_OFD_SETLK).
// Readers that never lock can still read it; another appender fails at once instead of waiting.
// The lock belongs to this open file, so a second TLockedFile on the same path, even in the
// same process, is kept out. The file is closed and the lock released on destruction.
class TLockedFile {
public:
    TLockedFile() = default;
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;
    ~TLockedFile();

    // Opens the file, creating it (without parent folders) when createMissing is set.
    TLockResult Open(const QString& path, bool createMissing);
    bool IsOpen() const { return FFd >= 0; }

    // Current size in bytes; -1 when it cannot be read.
    qint64 Size() const;
    // The last byte of the file; 0 for an empty file or on failure.
    char LastByte() const;

    // Appends data in one write call and flushes it to the disk. On failure the file is cut
    // back to its former size, so no partial text is left behind.
    bool Append(const QByteArray& data);

    void Close();

private:
    TLockResult OpenOnce(const QString& path, bool createMissing);
    bool StillAtPath(const QString& path) const;

    int FFd = -1;
};

} // namespace kalvero
