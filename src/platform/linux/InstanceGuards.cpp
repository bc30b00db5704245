#include "InstanceGuards.h"

#include "platform/Failure.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace nc {

namespace {

constexpr int kAnswerWaitMs = 3000;
const QString kObjectPath = QStringLiteral("/Netcairn");
const QString kInterface = QStringLiteral("example.nc.Netcairn.Activation");

Failure noFirstCopy() {
    // What asking a window to come forward fails with when there is none by that title.
    return Failure::of(errInvalidCall);
}

} // namespace

/// The object later copies call to bring this copy's window forward.
class ActivationObject final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "example.nc.Netcairn.Activation")

public:
    explicit ActivationObject(std::function<bool(const QString&)> activate)
        : m_activate(std::move(activate)) {}

public Q_SLOTS:
    bool Activate(const QString& title) { return m_activate && m_activate(title); }

private:
    std::function<bool(const QString&)> m_activate;
};

DBusInstanceGuard::DBusInstanceGuard(QDBusConnection bus, QString service)
    : m_bus(std::move(bus)), m_service(std::move(service)) {}

DBusInstanceGuard::~DBusInstanceGuard() {
    if (m_object)
        m_bus.unregisterObject(kObjectPath);
}

bool DBusInstanceGuard::Claim() {
    if (!m_first) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            m_bus.interface()->registerService(m_service, QDBusConnectionInterface::QueueService,
                                               QDBusConnectionInterface::DontAllowReplacement);
        // A bus that will not say leaves nothing to go by; this copy then runs as the only one.
        m_first = !reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered;
    }
    return *m_first;
}

bool DBusInstanceGuard::PrevInstance() {
    return !Claim();
}

void DBusInstanceGuard::ActivateFirstCopy(const QString& title) {
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, kObjectPath, kInterface,
                                                       QStringLiteral("Activate"));
    call << title;
    const QDBusMessage reply = m_bus.call(call, QDBus::BlockWithGui, kAnswerWaitMs);
    if (reply.type() != QDBusMessage::ReplyMessage || !reply.arguments().value(0).toBool())
        throw noFirstCopy();
}

void DBusInstanceGuard::ListenForActivation(std::function<bool(const QString& title)> activate) {
    if (m_object)
        return;
    m_object = std::make_unique<ActivationObject>(std::move(activate));
    m_bus.registerObject(kObjectPath, m_object.get(),
                         QDBusConnection::ExportScriptableSlots |
                             QDBusConnection::ExportNonScriptableSlots);
    Claim();
}

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
    throw noFirstCopy(); // without a bus there is no way to reach the running copy
}

std::unique_ptr<InstanceGuard> MakeInstanceGuard(const QString& service, const QString& lockFile) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        return std::make_unique<DBusInstanceGuard>(bus, service);
    return std::make_unique<LockFileGuard>(lockFile);
}

} // namespace nc

#include "InstanceGuards.moc"
