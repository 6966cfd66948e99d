#include "platform/file_lock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvero {

namespace {

bool TakeWriteLock(int fd, int& error) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // the whole file, however long it grows
    if (fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return true;
    error = errno;
    return false;
}

} // namespace

TLockedFile::~TLockedFile() {
    Close();
}

TLockResult TLockedFile::Open(const QString& path, bool createMissing) {
    Close();
    // A writer that replaces the whole file renames a new one over the path; a lock taken on
    // the old file in the meantime guards nothing, so check the path still leads to it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const TLockResult result = OpenOnce(path, createMissing);
        if (result != TLockResult::Locked || StillAtPath(path))
            return result;
        Close();
    }
    return TLockResult::Failed;
}

TLockResult TLockedFile::OpenOnce(const QString& path, bool createMissing) {
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_RDWR | O_APPEND | O_CLOEXEC | (createMissing ? O_CREAT : 0);
    const int fd = ::open(name.constData(), flags, 0666);
    if (fd < 0)
        return TLockResult::Failed;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return TLockResult::Failed;
    }
    int error = 0;
    if (!TakeWriteLock(fd, error)) {
        ::close(fd);
        return error == EAGAIN || error == EACCES ? TLockResult::HeldByOther : TLockResult::Failed;
    }
    FFd = fd;
    return TLockResult::Locked;
}

bool TLockedFile::StillAtPath(const QString& path) const {
    struct stat opened {};
    struct stat named {};
    return fstat(FFd, &opened) == 0 && stat(QFile::encodeName(path).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

qint64 TLockedFile::Size() const {
    struct stat info {};
    if (FFd < 0 || fstat(FFd, &info) != 0)
        return -1;
    return info.st_size;
}

char TLockedFile::LastByte() const {
    const qint64 size = Size();
    char byte = 0;
    if (size <= 0 || pread(FFd, &byte, 1, size - 1) != 1)
        return 0;
    return byte;
}

bool TLockedFile::Append(const QByteArray& data) {
    if (FFd < 0)
        return false;
    if (data.isEmpty())
        return true;
    const qint64 oldSize = Size();
    if (oldSize < 0)
        return false;
    ssize_t written;
    do {
        written = ::write(FFd, data.constData(), size_t(data.size()));
    } while (written < 0 && errno == EINTR);
    if (written == data.size() && fsync(FFd) == 0)
        return true;
    if (ftruncate(FFd, oldSize) == 0)
        fsync(FFd);
    return false;
}

void TLockedFile::Close() {
    if (FFd >= 0)
        ::close(FFd); // closing the last descriptor of the description releases the lock
    FFd = -1;
}

} // namespace kalvero
