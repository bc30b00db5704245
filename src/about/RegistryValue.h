#pragma once

#include "platform/Registry.h"

#include <QString>

namespace nc {

/// Reads value \a SubKeyRef of key \a KeyName below \a KeyRoot, for reading only, through a
/// zeroed 1024-byte buffer. True with \a KeyVal set when it was read (a type other than text or
/// number leaves \a KeyVal as passed); false with \a KeyVal empty when it could not be.
bool ReadKeyValue(Registry& registry, HKey KeyRoot, const QString& KeyName,
                  const QString& SubKeyRef, QString& KeyVal);

/// What a read value stands for: \a stored bytes of \a buffer of type \a type. Text loses one
/// terminating zero; a number becomes its decimal text. False for other types.
bool DecodeRegistryValue(const QByteArray& buffer, quint32 stored, quint32 type, QString& text);

} // namespace nc
