#include "InstanceGuards.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusReply>

#include <future>

namespace nc {

namespace {

constexpr int kAnswerWaitMs = 3000;
const QString kInterface = QStringLiteral("org.freedesktop.Application");

/// The object path that goes with a well-known name: its dots become slashes.
QString objectPath(const QString& service) {
    return u'/' + QString(service).replace(u'.', u'/');
}

/// The error a running copy answers with when it has no window to bring forward.
QString refusal(const QString& service) {
    return service + QStringLiteral(".Error.NoWindow");
}

Failure noFirstCopy() {
    // What asking a window to come forward fails with when there is none by that title.
    return Failure::of(errInvalidCall);
}

} // namespace

/// The freedesktop application interface that later copies, and launchers, call on this copy.
class FreedesktopApplication final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit FreedesktopApplication(QString refusal) : m_refusal(std::move(refusal)) {}
    /// Set on the main thread, where the calls are delivered, before the window can be asked.
    std::function<bool(const QVariantMap&)> activate;

public Q_SLOTS:
    void Activate(const QVariantMap& platform_data) {
        if (!activate || !activate(platform_data))
            sendErrorReply(m_refusal, QStringLiteral("Netcairn has no window to bring forward"));
    }
    // Netcairn opens no files and offers no actions; its desktop entry names neither.
    void Open(const QStringList&, const QVariantMap&) {
        sendErrorReply(QDBusError::NotSupported, QStringLiteral("Netcairn opens no files"));
    }
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {
        sendErrorReply(QDBusError::NotSupported, QStringLiteral("Netcairn has no actions"));
    }

private:
    QString m_refusal;
};

DBusInstanceGuard::DBusInstanceGuard(QDBusConnection bus, QString service, Handover handover)
    : m_bus(std::move(bus)), m_service(std::move(service)), m_handover(std::move(handover)),
      m_object(std::make_unique<FreedesktopApplication>(refusal(m_service))) {
    // Calls are answered where the window lives.
    m_object->moveToThread(QCoreApplication::instance()->thread());
    m_bus.registerObject(objectPath(m_service), m_object.get(),
                         QDBusConnection::ExportNonScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_service, QDBusConnectionInterface::QueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    // A bus that will not say leaves nothing to go by; this copy then runs as the only one.
    m_first = !reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

DBusInstanceGuard::~DBusInstanceGuard() {
    m_bus.unregisterObject(objectPath(m_service));
}

void DBusInstanceGuard::ActivateFirstCopy() {
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, objectPath(m_service), kInterface,
                                                       QStringLiteral("Activate"));
    call << (m_handover ? m_handover() : QVariantMap());
    const QDBusMessage reply = m_bus.call(call, QDBus::BlockWithGui, kAnswerWaitMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    if (reply.errorName() == refusal(m_service))
        throw noFirstCopy();
    // No answer in time, or no copy there after all: the report names what the bus said.
    throw Failure(errInvalidCall, classicDescription(errInvalidCall), reply.errorName());
}

void DBusInstanceGuard::ListenForActivation(std::function<bool(const QVariantMap&)> activate) {
    m_object->activate = std::move(activate);
}

namespace {

/// Forwards to the guard that the thread reaching for the session bus settles on.
class GuardOnItsWay final : public InstanceGuard {
public:
    explicit GuardOnItsWay(std::future<std::unique_ptr<InstanceGuard>> pending)
        : m_pending(std::move(pending)) {}
    bool PrevInstance() override { return guard().PrevInstance(); }
    void ActivateFirstCopy() override { guard().ActivateFirstCopy(); }
    void ListenForActivation(std::function<bool(const QVariantMap&)> activate) override {
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
                  std::function<std::unique_ptr<InstanceGuard>()> withoutBus, Handover handover) {
    return std::make_unique<GuardOnItsWay>(std::async(
        std::launch::async, [service, withoutBus, handover]() -> std::unique_ptr<InstanceGuard> {
            QDBusConnection bus = QDBusConnection::sessionBus();
            if (bus.isConnected())
                return std::make_unique<DBusInstanceGuard>(bus, service, handover);
            return withoutBus();
        }));
}

} // namespace nc

#include "InstanceGuards.moc"
