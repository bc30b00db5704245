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
    if (::lstat(target.constData(), &info) == 0) {
        if (S_ISLNK(info.st_mode) && !mayFollow(target, info))
            throw Failure::of(errPermissionDenied);
        // Pipes, devices, sockets and folders are never replaced, nor opened: opening one can
        // already do something.
        if (::stat(target.constData(), &info) == 0 && !S_ISREG(info.st_mode))
            throw Failure::of(errPathFileAccess);
        errno = 0;
        existing.fd = ::open(target.constData(),
                             O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (existing.fd < 0)
            throw lastSystemFailure();
        if (::fstat(existing.fd, &info) != 0 || !S_ISREG(info.st_mode))
            throw Failure::of(errPathFileAccess);
        // The file the kernel reached, links followed: the new one takes its place there.
        target = QFile::encodeName(
            QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(existing.fd)));
    }

    QByteArray temporary = target + ".XXXXXX";
    const int mode = existing.fd >= 0 ? int(info.st_mode & 07777) : -1;
    Descriptor fresh{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (fresh.fd < 0) {
        const int reason = errno;
        if (existing.fd < 0 || (reason != EACCES && reason != EPERM))
            throw failureFromErrno(reason);
        // The folder takes no new file, but the file is writable: rewritten in place, as a
        // plain write does.
        if (::ftruncate(existing.fd, 0) != 0)
            throw lastSystemFailure();
        writeAll(existing.fd, bytes);
        return;
    }
    try {
        if (mode >= 0) {
            ::fchmod(fresh.fd, mode_t(mode));
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(fresh.fd, 0666 & ~mask);
        }
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
