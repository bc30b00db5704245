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

/// Gives the new file \a fd the owner and group of the file it replaces (\a old); false where
/// the system does not let this user do so.
bool takesOwnerOf(int fd, const struct stat& old) {
    struct stat made {};
    if (::fstat(fd, &made) != 0)
        return false;
    return (made.st_uid == old.st_uid && made.st_gid == old.st_gid) ||
           ::fchown(fd, old.st_uid, old.st_gid) == 0;
}

/// Writes \a bytes over the regular file \a target (or \a existing, where open) as a plain
/// write does: same file, same owner, same links; the set-id bits go, as the kernel drops them
/// for anyone but root.
void rewriteInPlace(Descriptor& existing, const QByteArray& target, const struct stat& info,
                    const QByteArray& bytes) {
    errno = 0;
    if (existing.fd < 0)
        existing.fd = ::open(target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (existing.fd < 0)
        throw lastSystemFailure();
    // The room first: a full disk then stops the rewrite before it has changed a byte.
    if (bytes.size() > info.st_size && ::fallocate(existing.fd, 0, 0, bytes.size()) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        throw lastSystemFailure();
    writeAll(existing.fd, bytes);
    errno = 0;
    if (::ftruncate(existing.fd, bytes.size()) != 0)
        throw lastSystemFailure();
    if (info.st_mode & (S_ISUID | S_ISGID))
        ::fchmod(existing.fd, info.st_mode & 0777);
    if (::fdatasync(existing.fd) != 0)
        throw lastSystemFailure();
}

/// Whether the regular file at \a target already holds exactly \a bytes. Nothing but a regular
/// file is opened, and that only for reading.
bool holds(const QByteArray& target, const QByteArray& bytes) {
    struct stat info {};
    if (::stat(target.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size != bytes.size())
        return false;
    Descriptor file{::open(target.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    QByteArray content(bytes.size(), Qt::Uninitialized);
    return file.fd >= 0 &&
           ::read(file.fd, content.data(), size_t(content.size())) == info.st_size &&
           content == bytes;
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
    // What the file holds already is not written again: no wait for the disk at every refresh,
    // and nothing of the file changes.
    if (holds(target, bytes))
        return;
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
    // A new file in the old one's place would split a file of several names from its others.
    if (exists && info.st_nlink > 1)
        return rewriteInPlace(existing, target, info, bytes);

    QByteArray temporary = target + ".XXXXXX";
    Descriptor fresh{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (fresh.fd < 0) {
        const int reason = errno;
        if (!exists || (reason != EACCES && reason != EPERM))
            throw failureFromErrno(reason);
        // The folder takes no new file, but the file is writable: rewritten in place, as a
        // plain write does.
        return rewriteInPlace(existing, target, info, bytes);
    }
    if (exists && !takesOwnerOf(fresh.fd, info)) {
        // Only root gives a file away: for anyone else the file stays the owner's by being
        // rewritten where it is.
        ::unlink(temporary.constData());
        return rewriteInPlace(existing, target, info, bytes);
    }
    try {
        mode_t mode = info.st_mode & 0777; // never set-id bits: they would be the writer's
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
