#include "Failure.h"

#include <new>

namespace nc {

QString classicDescription(qint32 number) {
    switch (number) {
    case errInvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case errOverflow:
        return QStringLiteral("Overflow");
    case errOutOfMemory:
        return QStringLiteral("Out of memory");
    case errInternal:
        return QStringLiteral("Internal error");
    case errBadFileName:
        return QStringLiteral("Bad file name or number");
    case errFileNotFound:
        return QStringLiteral("File not found");
    case errDeviceIO:
        return QStringLiteral("Device I/O error");
    case errDiskFull:
        return QStringLiteral("Disk full");
    case errPermissionDenied:
        return QStringLiteral("Permission denied");
    case errPathFileAccess:
        return QStringLiteral("Path/File access error");
    case errPathNotFound:
        return QStringLiteral("Path not found");
    case errPrinter:
        return QStringLiteral("Printer error");
    case errClipboard:
        return QStringLiteral("Can't open Clipboard");
    case errCancel:
        return QStringLiteral("Cancel was selected.");
    default:
        return {};
    }
}

Failure::Failure(qint32 number, QString description, QString source, qint32 helpContext)
    : Number(number), Description(std::move(description)), Source(std::move(source)),
      HelpContext(helpContext),
      m_what(QStringLiteral("%1 %2").arg(number).arg(Description).toUtf8()) {}

Failure Failure::of(qint32 number) {
    return Failure(number, classicDescription(number), QStringLiteral("Netcairn"));
}

Failure Failure::from(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return of(errOutOfMemory);
    return Failure(errInternal, QString::fromLocal8Bit(e.what()), QStringLiteral("Netcairn"));
}

} // namespace nc
