#include "LinuxRegistry.h"

#include <QStandardPaths>

#include <cstring>

namespace nc {

namespace {

constexpr HKey kMsInfoKey = 1;
// Bits of an access mask that only read: query value, enumerate, notify, read control, and
// the 32/64-bit view selectors.
constexpr quint32 kReadOnlyRights = KEY_READ | 0x0300u;

} // namespace

LinuxRegistry::LinuxRegistry(QStringList tools) : m_tools(std::move(tools)) {}

long LinuxRegistry::RegOpenKeyExA(HKey root, const QByteArray& subKey, quint32 /*options*/,
                                  quint32 samDesired, HKey* result) {
    *result = 0;
    if (root != HKEY_LOCAL_MACHINE ||
        subKey.toLower() != QByteArrayLiteral("software\\microsoft\\shared tools\\msinfo"))
        return ERROR_FILE_NOT_FOUND;
    if (samDesired & ~kReadOnlyRights)
        return ERROR_ACCESS_DENIED; // machine-wide keys are not the user's to change
    for (const QString& tool : m_tools) {
        const QString found = QStandardPaths::findExecutable(tool);
        if (!found.isEmpty()) {
            m_toolPath = found.toLocal8Bit();
            *result = kMsInfoKey;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

long LinuxRegistry::RegQueryValueExA(HKey key, const QByteArray& name, quint32* type, char* data,
                                     quint32* size) {
    if (key != kMsInfoKey)
        return ERROR_INVALID_HANDLE;
    if (name.toLower() != QByteArrayLiteral("path"))
        return ERROR_FILE_NOT_FOUND;
    const quint32 needed = static_cast<quint32>(m_toolPath.size()) + 1; // with its zero
    *type = REG_SZ;
    if (!data || *size < needed) {
        *size = needed;
        return data ? ERROR_MORE_DATA : ERROR_SUCCESS;
    }
    std::memcpy(data, m_toolPath.constData(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

long LinuxRegistry::RegCloseKey(HKey key) {
    return key == kMsInfoKey ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // namespace nc
