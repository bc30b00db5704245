#include "QtFileSystem.h"

#include "PosixFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace nc {

namespace {

/// The failure for an operation that just failed, from the system's own reason.
Failure lastSystemFailure() {
    return failureFromErrno(errno ? errno : EIO);
}

} // namespace

qint64 QtFileSystem::FileLen(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw Failure::of(errFileNotFound);
    if (!info.isFile())
        throw Failure::of(errPathFileAccess);
    return info.size();
}

bool QtFileSystem::MkDir(const QString& path) {
    return QDir().mkdir(path);
}

void QtFileSystem::Kill(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw Failure::of(errFileNotFound);
    errno = 0;
    if (!QFile::remove(path))
        throw lastSystemFailure();
}

void QtFileSystem::ReplaceFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty())
        throw Failure::of(errBadFileName);
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure::of(errPathFileAccess);
    if (info.exists() && !info.isWritable())
        throw Failure::of(errPermissionDenied);
    // Written beside the old file and renamed over it: a failure at any step leaves the
    // earlier file whole.
    QSaveFile file(path);
    errno = 0;
    // Unbuffered, so that a short write shows here and is never committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw lastSystemFailure();
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // A short write without a reason given is the file system running out of room.
        const Failure failure = failureFromErrno(errno ? errno : ENOSPC);
        file.cancelWriting();
        throw failure;
    }
    errno = 0;
    if (!file.commit())
        throw lastSystemFailure();
}

bool QtFileSystem::IsOrdinaryFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

} // namespace nc
