#include "LocalInstanceGuard.h"

#include "platform/Failure.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace nc {

namespace {

constexpr int kAnswerWaitMs = 3000;
const QByteArray kAsk = QByteArrayLiteral("ACTIVATE ");
const QByteArray kDone = QByteArrayLiteral("OK\n");
const QByteArray kRefused = QByteArrayLiteral("NO\n");

Failure noFirstCopy() {
    // What asking a window to come forward fails with when there is none by that title.
    return Failure(errInvalidCall, classicDescription(errInvalidCall), QStringLiteral("Netcairn"));
}

} // namespace

QString LocalInstanceGuard::nameFor(const QString& title) {
    return title + u'-' + QString::number(getuid());
}

LocalInstanceGuard::LocalInstanceGuard(const QString& folder, const QString& name)
    : m_socketPath(folder + u'/' + name + QStringLiteral(".socket")),
      m_lock(folder + u'/' + name + QStringLiteral(".lock")) {
    QDir().mkpath(folder);
    m_lock.setStaleLockTime(0); // only a dead holder makes a lock stale, never its age
    // Where the lock cannot even be tried (an unusable runtime folder) nothing can be known of
    // other copies; this copy then runs as if it were the only one.
    m_first = m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
}

LocalInstanceGuard::~LocalInstanceGuard() {
    if (m_server)
        m_server->close();
}

void LocalInstanceGuard::ActivateFirstCopy(const QString& title) {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kAnswerWaitMs))
        throw noFirstCopy();
    socket.write(kAsk + title.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kAnswerWaitMs))
        throw noFirstCopy();
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kAnswerWaitMs))
            throw noFirstCopy();
    }
    if (socket.readLine() != kDone)
        throw noFirstCopy();
}

void LocalInstanceGuard::ListenForActivation(std::function<bool(const QString& title)> activate) {
    m_activate = std::move(activate);
    if (!m_first || m_server)
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_socketPath); // left by a copy that died: we hold the lock now
    if (!m_server->listen(m_socketPath))
        return; // later copies then find no one to ask, and say so
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

void LocalInstanceGuard::answer(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine().trimmed();
        const bool done = line.startsWith(kAsk.trimmed()) && m_activate &&
                          m_activate(QString::fromUtf8(line.mid(kAsk.size())));
        socket->write(done ? kDone : kRefused);
        socket->flush();
    }
}

} // namespace nc
