#pragma once

#include "platform/InstanceGuard.h"

#include <QDBusConnection>

#include <memory>

namespace nc {

class ActivationObject;

/// The desktop's own way: the running copy owns a well-known name on the session bus, and every
/// later copy queues for it, so that another copy is known to run as long as any one does.
/// A copy registers its activation object before it asks for the name, so the owner can always
/// be called.
class DBusInstanceGuard final : public InstanceGuard {
public:
    /// Registers the activation object on \a bus and asks for the well-known name \a service;
    /// may run on any thread.
    DBusInstanceGuard(QDBusConnection bus, QString service);
    ~DBusInstanceGuard() override;

    bool PrevInstance() override { return !m_first; }
    void ActivateFirstCopy(const QString& title) override;
    void ListenForActivation(std::function<bool(const QString& title)> activate) override;
    void RaiseWatchFailure() override {}

private:
    QDBusConnection m_bus;
    QString m_service;
    std::unique_ptr<ActivationObject> m_object;
    bool m_first = true;
};

/// The session bus's guard where Netcairn can reach that bus, else the one \a withoutBus makes.
/// The bus is reached on a thread of its own from the start, while the window is being built;
/// the guard waits for it only when first asked.
std::unique_ptr<InstanceGuard>
MakeInstanceGuard(const QString& service,
                  std::function<std::unique_ptr<InstanceGuard>()> withoutBus);

} // namespace nc
