#include "LockFileGuard.h"

#include "platform/Failure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace nc {

LockFileGuard::LockFileGuard(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0 && errno == EISDIR && ::rmdir(name.constData()) == 0) // an empty folder in its way
        m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A lock that cannot even be tried tells nothing of other copies; this one then runs as if
    // it were the only one.
    if (m_fd < 0 || ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return;
    m_first = errno != EWOULDBLOCK;
    ::close(m_fd);
    m_fd = -1;
}

LockFileGuard::~LockFileGuard() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void LockFileGuard::ActivateFirstCopy(const QString&) {
    // Without a bus there is no way to reach the running copy: the failure of asking a window
    // to come forward when there is none by that title.
    throw Failure::of(errInvalidCall);
}

} // namespace nc
