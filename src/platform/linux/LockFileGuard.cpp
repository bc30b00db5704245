#include "LockFileGuard.h"

#include "PosixFailure.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nc {

namespace {

/// How long a starting copy waits for another one, caught between its two lock requests, to
/// turn its exclusive lock into a shared one. That takes microseconds, unless the other copy
/// was stopped right there.
constexpr std::chrono::seconds kDowngradeWait{1};

/// A file descriptor, or the errno value of what kept it from being opened.
struct Opened {
    int fd = -1;
    int error = 0;
};

Opened failed(int error) {
    return {-1, error};
}

/// Opens \a folder where it belongs to this user and, unless \a othersMayWrite, nobody else may
/// write in it, so that nobody else can swap the lock file. A missing folder is created with
/// mode 0700 when \a create, and only inside a folder that is the user's own. Relative paths
/// are ignored, as the base-directory rules say.
Opened openOwnFolder(const QByteArray& folder, bool create, bool othersMayWrite = false) {
    if (!folder.startsWith('/'))
        return failed(EINVAL);
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    Opened opened{::open(folder.constData(), flags), errno};
    if (opened.fd < 0 && opened.error == ENOENT && create) {
        const qsizetype slash = folder.lastIndexOf('/');
        const Opened parent = openOwnFolder(folder.left(qMax<qsizetype>(slash, 1)), true, true);
        if (parent.fd < 0)
            return parent;
        const QByteArray name = folder.mid(slash + 1);
        ::mkdirat(parent.fd, name.constData(), 0700); // one made meanwhile serves as well
        opened = {::openat(parent.fd, name.constData(), flags | O_NOFOLLOW), errno};
        ::close(parent.fd);
    }
    struct stat about {};
    if (opened.fd >= 0 && ::fstat(opened.fd, &about) == 0 && about.st_uid == ::geteuid() &&
        (othersMayWrite || (about.st_mode & (S_IWGRP | S_IWOTH)) == 0))
        return opened;
    if (opened.fd >= 0) {
        ::close(opened.fd);
        return failed(EACCES);
    }
    return opened;
}

/// Opens the lock file \a name in \a folder: a regular file, never a link's target. An empty
/// folder in its way is taken away; anything else there makes this place unusable.
Opened openLockFile(int folder, const QByteArray& name) {
    const int flags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    Opened opened{::openat(folder, name.constData(), flags, 0600), errno};
    if (opened.fd < 0 && opened.error == EISDIR) {
        if (::unlinkat(folder, name.constData(), AT_REMOVEDIR) != 0)
            return failed(errno);
        opened = {::openat(folder, name.constData(), flags, 0600), errno};
    }
    struct stat about {};
    if (opened.fd >= 0 && (::fstat(opened.fd, &about) != 0 || !S_ISREG(about.st_mode))) {
        ::close(opened.fd);
        return failed(EINVAL);
    }
    return opened;
}

/// Whole-file locks of the open file, not of the process, so that they pass no child on and
/// every guard counts on its own.
bool setLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

/// Takes this copy's shared lock on \a fd for good; returns 0 when no other copy holds one,
/// 1 when one does, or -errno. An exclusive lock comes first and is then turned into a shared
/// one in one step, so that two copies starting together never both find themselves alone.
int holdSharedLock(int fd) {
    const auto busy = [] { return errno == EAGAIN || errno == EACCES; };
    const auto deadline = std::chrono::steady_clock::now() + kDowngradeWait;
    for (;;) {
        if (setLock(fd, F_WRLCK))
            return setLock(fd, F_RDLCK) ? 0 : -errno;
        if (!busy())
            return -errno;
        if (setLock(fd, F_RDLCK))
            return 1;
        if (!busy())
            return -errno;
        if (std::chrono::steady_clock::now() > deadline)
            return 1; // a copy holds the lock alone and keeps it: it runs, if stopped
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace

LockFileGuard::LockFileGuard(const QString& runtimeFolder, const QString& fallbackFolder,
                             const QString& fileName) {
    const QByteArray name = QFile::encodeName(fileName);
    int error = EINVAL;
    const QString places[] = {runtimeFolder, fallbackFolder};
    for (const bool fallback : {false, true}) {
        const QString& place = places[fallback];
        const QString cleaned = place.isEmpty() ? QString() : QDir::cleanPath(place);
        const Opened folder = openOwnFolder(QFile::encodeName(cleaned), fallback);
        const Opened file = folder.fd < 0 ? folder : openLockFile(folder.fd, name);
        if (folder.fd >= 0)
            ::close(folder.fd);
        const int held = file.fd < 0 ? -file.error : holdSharedLock(file.fd);
        if (held >= 0) {
            m_fd = file.fd;
            m_previous = held == 1;
            m_path = cleaned + u'/' + fileName;
            return;
        }
        if (file.fd >= 0)
            ::close(file.fd);
        error = -held;
    }
    m_failure = failureFromErrno(error);
}

LockFileGuard::~LockFileGuard() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void LockFileGuard::ActivateFirstCopy() {
    // Without a bus there is no way to reach the running copy: the failure of asking a window
    // to come forward when there is none by that title.
    throw Failure::of(errInvalidCall);
}

void LockFileGuard::RaiseWatchFailure() {
    if (!m_failure)
        return;
    const Failure failure = *m_failure;
    m_failure.reset();
    throw failure;
}

} // namespace nc
