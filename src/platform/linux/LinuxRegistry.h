#pragma once

#include "platform/Registry.h"

#include <QStringList>

namespace nc {

/// The one registry value a Linux desktop can answer: the system information tool's location
/// (HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, value PATH), which is the first
/// of the known tools found on PATH. Every other key is absent; nothing can be written.
class LinuxRegistry final : public Registry {
public:
    /// \a tools are the program names tried, in order.
    explicit LinuxRegistry(QStringList tools = {QStringLiteral("hardinfo2"),
                                                QStringLiteral("hardinfo"),
                                                QStringLiteral("kinfocenter")});

    long RegOpenKeyExA(HKey root, const QByteArray& subKey, quint32 options, quint32 samDesired,
                       HKey* result) override;
    long RegQueryValueExA(HKey key, const QByteArray& name, quint32* type, char* data,
                          quint32* size) override;
    long RegCloseKey(HKey key) override;

private:
    QStringList m_tools;
    QByteArray m_toolPath; ///< found when the key is opened
};

} // namespace nc
