#pragma once

#include "platform/InstanceGuard.h"

#include <QDBusConnection>

#include <memory>

namespace nc {

class FreedesktopApplication;

/// Hands out the desktop's leave that the user's last answer gave, as platform data.
using Handover = std::function<QVariantMap()>;

/// The desktop's own way: the running copy owns a well-known name on the session bus, and every
/// later copy queues for it, so that another copy is known to run as long as any one does.
/// A copy exports org.freedesktop.Application at the path of that name before it asks for the
/// name, so the owner can always be called.
class DBusInstanceGuard final : public InstanceGuard {
public:
    /// Exports the application object on \a bus and asks for the well-known name \a service;
    /// may run on any thread. \a handover gives what a later copy hands on.
    DBusInstanceGuard(QDBusConnection bus, QString service, Handover handover = {});
    ~DBusInstanceGuard() override;

    bool PrevInstance() override { return !m_first; }
    void ActivateFirstCopy() override;
    void ListenForActivation(std::function<bool(const QVariantMap&)> activate) override;
    void RaiseWatchFailure() override {}

private:
    QDBusConnection m_bus;
    QString m_service;
    Handover m_handover;
    std::unique_ptr<FreedesktopApplication> m_object;
    bool m_first = true;
};

/// The session bus's guard where Netcairn can reach that bus, else the one \a withoutBus makes.
/// The bus is reached on a thread of its own from the start, while the window is being built;
/// the guard waits for it only when first asked. \a handover gives what a later copy hands on.
std::unique_ptr<InstanceGuard>
MakeInstanceGuard(const QString& service,
                  std::function<std::unique_ptr<InstanceGuard>()> withoutBus,
                  Handover handover = {});

} // namespace nc
