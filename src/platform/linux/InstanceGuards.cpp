#include "InstanceGuards.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <future>

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
    /// Set on the main thread, where the calls are delivered, before the window can be asked.
    std::function<bool(const QString&)> activate;

public Q_SLOTS:
    bool Activate(const QString& title) { return activate && activate(title); }
};

DBusInstanceGuard::DBusInstanceGuard(QDBusConnection bus, QString service)
    : m_bus(std::move(bus)), m_service(std::move(service)),
      m_object(std::make_unique<ActivationObject>()) {
    // Calls are answered where the window lives.
    m_object->moveToThread(QCoreApplication::instance()->thread());
    m_bus.registerObject(kObjectPath, m_object.get(),
                         QDBusConnection::ExportScriptableSlots |
                             QDBusConnection::ExportNonScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_service, QDBusConnectionInterface::QueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    // A bus that will not say leaves nothing to go by; this copy then runs as the only one.
    m_first = !reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

DBusInstanceGuard::~DBusInstanceGuard() {
    m_bus.unregisterObject(kObjectPath);
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
    m_object->activate = std::move(activate);
}

namespace {

/// Forwards to the guard that the thread reaching for the session bus settles on.
class GuardOnItsWay final : public InstanceGuard {
public:
    explicit GuardOnItsWay(std::future<std::unique_ptr<InstanceGuard>> pending)
        : m_pending(std::move(pending)) {}
    bool PrevInstance() override { return guard().PrevInstance(); }
    void ActivateFirstCopy(const QString& title) override { guard().ActivateFirstCopy(title); }
    void ListenForActivation(std::function<bool(const QString&)> activate) override {
        guard().ListenForActivation(std::move(activate));
    }
    void RaiseWatchFailure() override { guard().RaiseWatchFailure(); }

private:
    InstanceGuard& guard() {
        if (!m_guard)
            m_guard = m_pending.get();
        return *m_guard;
    }
    std::future<std::unique_ptr<InstanceGuard>> m_pending;
    std::unique_ptr<InstanceGuard> m_guard;
};

} // namespace

std::unique_ptr<InstanceGuard>
MakeInstanceGuard(const QString& service,
                  std::function<std::unique_ptr<InstanceGuard>()> withoutBus) {
    return std::make_unique<GuardOnItsWay>(
        std::async(std::launch::async, [service, withoutBus]() -> std::unique_ptr<InstanceGuard> {
            QDBusConnection bus = QDBusConnection::sessionBus();
            if (bus.isConnected())
                return std::make_unique<DBusInstanceGuard>(bus, service);
            return withoutBus();
        }));
}

} // namespace nc

#include "InstanceGuards.moc"
