#pragma once

#include "platform/CommonDialog.h"

#include <QByteArray>
#include <QString>

namespace nc {

/// The address file's whole content: \a plainAddress in the locale's 8-bit encoding and CR LF.
QByteArray AddressFileBytes(const QString& plainAddress);

/// The Save As dialog set up to choose a new place for the address file stored at \a storedPath:
/// its folder, file name and extension, and the filter that matches the extension exactly.
SaveAsRequest SaveAsRequestFor(const QString& storedPath);

} // namespace nc
