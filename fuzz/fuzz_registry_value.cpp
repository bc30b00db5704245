// The registry value decoder: any bytes, any stored length, any type. The input is the type
// (4 bytes), the stored length (4 bytes) and the buffer.

#include "about/RegistryValue.h"

#include <QtEndian>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8)
        return 0;
    const quint32 type = qFromLittleEndian<quint32>(data);
    const quint32 stored = qFromLittleEndian<quint32>(data + 4);
    const QByteArray buffer(reinterpret_cast<const char*>(data + 8),
                            qsizetype(qMin<size_t>(size - 8, 1024)));

    const QString passed = QStringLiteral("as passed");
    QString text = passed;
    const bool decoded = nc::DecodeRegistryValue(buffer, stored, type, text);
    const qsizetype n = qMin<qsizetype>(stored, buffer.size());
    if (type == nc::REG_SZ) {
        const qsizetype kept = n > 0 && buffer[n - 1] == '\0' ? n - 1 : n;
        if (!decoded || text != QString::fromLocal8Bit(buffer.left(kept)))
            abort();
    } else if (type == nc::REG_DWORD) {
        bool ok = false;
        const QByteArray four = buffer.left(4).leftJustified(4, '\0');
        if (!decoded || text.toUInt(&ok) != qFromLittleEndian<quint32>(four.constData()) || !ok)
            abort();
    } else if (decoded || text != passed) {
        abort();
    }
    return 0;
}
