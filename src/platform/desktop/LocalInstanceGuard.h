#pragma once

#include "platform/InstanceGuard.h"

#include <QLockFile>
#include <QObject>

class QLocalServer;
class QLocalSocket;

namespace nc {

/// The first copy holds a lock file in the user's runtime folder (a dead holder's lock is taken
/// over) and listens on a local socket beside it; later copies talk to it there.
class LocalInstanceGuard final : public QObject, public InstanceGuard {
public:
    /// \a folder is the user's runtime folder; \a name (title and user id) names lock and socket.
    LocalInstanceGuard(const QString& folder, const QString& name);
    ~LocalInstanceGuard() override;

    bool PrevInstance() override { return !m_first; }
    void ActivateFirstCopy(const QString& title) override;
    void ListenForActivation(std::function<bool(const QString& title)> activate) override;

    /// Lock and socket names for \a title and the current user.
    static QString nameFor(const QString& title);

private:
    void answer(QLocalSocket* socket);

    QString m_socketPath;
    QLockFile m_lock;
    bool m_first = false;
    QLocalServer* m_server = nullptr;
    std::function<bool(const QString&)> m_activate;
};

} // namespace nc
