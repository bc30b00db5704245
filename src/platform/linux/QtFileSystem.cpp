#include "QtFileSystem.h"

#include "PosixFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nc {

namespace {

/// The failure for an operation that just failed, from the system's own reason.
Failure lastSystemFailure() {
    return failureFromErrno(errno ? errno : EIO);
}

/// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

/// The kernel's rule for links in world-writable sticky folders such as /tmp: a link there is
/// followed only when the user or the folder's owner owns it.
bool mayFollow(const QByteArray& link, const struct stat& linkInfo) {
    struct stat folder {};
    if (::stat(QFile::encodeName(QFileInfo(QFile::decodeName(link)).absolutePath()), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
}

void writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        errno = 0;
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0) // a short write without a reason given is the file system running full
            throw failureFromErrno(errno && errno != EINTR ? errno : ENOSPC);
        done += n;
    }
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
    QByteArray target = QFile::encodeName(path);
    Descriptor existing;
    struct stat info {};
    const bool exists = ::lstat(target.constData(), &info) == 0;
    errno = 0;
    if (exists && S_ISLNK(info.st_mode)) {
        if (!mayFollow(target, info))
            throw Failure::of(errPermissionDenied);
        // Pipes, devices and sockets are never opened: opening one can already do something.
        if (::stat(target.constData(), &info) == 0 && !S_ISREG(info.st_mode))
            throw Failure::of(errPathFileAccess);
        existing.fd = ::open(target.constData(),
                             O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (existing.fd < 0)
            throw lastSystemFailure();
        if (::fstat(existing.fd, &info) != 0 || !S_ISREG(info.st_mode))
            throw Failure::of(errPathFileAccess);
        // The file the kernel reached, links followed: the new one takes its place there.
        target = QFile::encodeName(
            QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(existing.fd)));
    } else if (exists && !S_ISREG(info.st_mode)) {
        throw Failure::of(errPathFileAccess); // a folder, pipe, device or socket is never replaced
    } else if (exists && ::access(target.constData(), W_OK) != 0) {
        throw lastSystemFailure();
    }

    QByteArray temporary = target + ".XXXXXX";
    Descriptor fresh{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (fresh.fd < 0) {
        const int reason = errno;
        if (!exists || (reason != EACCES && reason != EPERM))
            throw failureFromErrno(reason);
        // The folder takes no new file, but the file is writable: rewritten in place, as a
        // plain write does.
        if (existing.fd < 0)
            existing.fd = ::open(target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (existing.fd < 0 || ::ftruncate(existing.fd, 0) != 0)
            throw lastSystemFailure();
        writeAll(existing.fd, bytes);
        return;
    }
    try {
        mode_t mode = info.st_mode & 07777;
        if (!exists) {
            mode = ::umask(0);
            ::umask(mode);
            mode = 0666 & ~mode;
        }
        ::fchmod(fresh.fd, mode);
        writeAll(fresh.fd, bytes);
        errno = 0;
        if (::fdatasync(fresh.fd) != 0 || ::rename(temporary.constData(), target.constData()) != 0)
            throw lastSystemFailure();
    } catch (...) {
        ::unlink(temporary.constData()); // no stale temporary file from a failure of ours
        throw;
    }
}

bool QtFileSystem::IsOrdinaryFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

} // namespace nc
