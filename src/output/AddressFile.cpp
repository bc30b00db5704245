#include "AddressFile.h"

#include "PathHelpers.h"

namespace nc {

QByteArray AddressFileBytes(const QString& plainAddress) {
    return plainAddress.toLocal8Bit() + QByteArrayLiteral("\r\n");
}

SaveAsRequest SaveAsRequestFor(const QString& storedPath) {
    const QString extension = GetExtension(storedPath);
    SaveAsRequest request;
    if (extension == QLatin1String("txt"))
        request.FilterIndex = 1;
    else if (extension == QLatin1String("rtf"))
        request.FilterIndex = 2;
    else if (extension == QLatin1String("doc"))
        request.FilterIndex = 3;
    else
        request.FilterIndex = 4;
    request.DialogTitle = QStringLiteral("Save IP to File");
    request.Filter = QStringLiteral("Text Document (*.txt)|") +
                     QStringLiteral("*.txt|Rich Text Format (*.rtf)|*.rtf|") +
                     QStringLiteral("Microsoft Word Document (*.doc)|*.doc|Other (*.*)|*.*");
    request.InitDir = GetDir(storedPath);
    request.FileName = GetFile(storedPath);
    request.DefaultExt = extension;
    // Hide the read-only box, explorer style, long names; no overwrite or must-exist checks.
    request.Flags = 0x280004;
    return request;
}

} // namespace nc
