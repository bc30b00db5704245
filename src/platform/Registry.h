#pragma once

#include "Service.h"

#include <QByteArray>

namespace nc {

using HKey = quint32;

inline constexpr HKey HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr quint32 KEY_READ = 0x20019u;
inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_EXPAND_SZ = 2;
inline constexpr quint32 REG_DWORD = 4;
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_MORE_DATA = 234;

/// A read-only view of the machine's registry, with its status codes and typed values.
class Registry : public Service {
public:
    /// Opens \a subKey (narrow text, backslash-separated) below \a root; returns a status code.
    virtual long RegOpenKeyExA(HKey root, const QByteArray& subKey, quint32 options,
                               quint32 samDesired, HKey* result) = 0;
    /// Reads value \a name into \a data of *size bytes; sets *type and *size; returns a status
    /// code.
    virtual long RegQueryValueExA(HKey key, const QByteArray& name, quint32* type, char* data,
                                  quint32* size) = 0;
    /// Closes a key handle; returns a status code.
    virtual long RegCloseKey(HKey key) = 0;
};

} // namespace nc
