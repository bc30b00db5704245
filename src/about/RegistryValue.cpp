#include "RegistryValue.h"

#include <QtEndian>

namespace nc {

namespace {

constexpr quint32 kBufferSize = 1024;

} // namespace

bool DecodeRegistryValue(const QByteArray& buffer, quint32 stored, quint32 type, QString& text) {
    const qsizetype n = qMin<qsizetype>(stored, buffer.size());
    if (type == REG_SZ) {
        const qsizetype kept = (n > 0 && buffer[n - 1] == '\0') ? n - 1 : n;
        text = QString::fromLocal8Bit(buffer.left(kept));
        return true;
    }
    if (type == REG_DWORD) {
        const QByteArray bytes = buffer.left(4).leftJustified(4, '\0');
        text = QString::number(qFromLittleEndian<quint32>(bytes.constData()));
        return true;
    }
    return false;
}

bool ReadKeyValue(Registry& registry, HKey KeyRoot, const QString& KeyName,
                  const QString& SubKeyRef, QString& KeyVal) {
    HKey key = 0;
    // Reading only: asking for more fails for every user without write rights to the machine.
    if (registry.RegOpenKeyExA(KeyRoot, KeyName.toLocal8Bit(), 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        QByteArray buffer(kBufferSize, '\0');
        quint32 size = kBufferSize;
        quint32 type = 0;
        if (registry.RegQueryValueExA(key, SubKeyRef.toLocal8Bit(), &type, buffer.data(), &size) ==
            ERROR_SUCCESS) {
            DecodeRegistryValue(buffer, size, type, KeyVal);
            registry.RegCloseKey(key);
            return true;
        }
    }
    KeyVal.clear();
    registry.RegCloseKey(key);
    return false;
}

} // namespace nc
