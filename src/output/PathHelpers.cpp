#include "PathHelpers.h"

#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QDir>

namespace nc {

namespace {

// Positions along a path are counted in a 16-bit signed integer, as they always have been, so
// that paths too long for it fail the same way everywhere.
constexpr qsizetype kLastUsablePosition = 32766;

QString after(const QString& text, QChar separator) {
    const qsizetype at = text.lastIndexOf(separator);
    return at < 0 ? text : text.mid(at + 1);
}

} // namespace

bool FileExists(FileSystem& files, const QString& FullPathAndFile) {
    try {
        return files.FileLen(FullPathAndFile) > 0;
    } catch (...) {
        return false;
    }
}

void CreateNewDirectory(FileSystem& files, const QString& NewDirectory) {
    const QChar separator = QDir::separator();
    QString working = NewDirectory;
    if (!working.endsWith(separator))
        working += separator;

    for (qsizetype from = 0;;) {
        const qsizetype at = working.indexOf(separator, from);
        if (at < 0)
            return;
        if (at + 1 > kLastUsablePosition)
            throw Failure::of(errOverflow);
        files.MkDir(working.left(at + 1));
        from = at + 1;
    }
}

QString GetDir(const QString& FullPath) {
    const qsizetype at = FullPath.lastIndexOf(QDir::separator());
    return at < 0 ? QString() : FullPath.left(at + 1);
}

QString GetFile(const QString& FullPath) {
    return after(FullPath, QDir::separator());
}

QString GetExtension(const QString& FullPath) {
    return after(FullPath, u'.');
}

} // namespace nc
