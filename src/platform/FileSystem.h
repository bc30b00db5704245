#pragma once

#include "Service.h"

#include <QByteArray>
#include <QString>

namespace nc {

/// Files and folders.
class FileSystem : public Service {
public:
    /// Length in bytes of the file at \a path; fails when there is no such file.
    virtual qint64 FileLen(const QString& path) = 0;
    /// Tries to create the one folder \a path; answers whether it was created.
    virtual bool MkDir(const QString& path) = 0;
    /// Deletes the file at \a path; fails when it cannot.
    virtual void Kill(const QString& path) = 0;
    /// Replaces the whole regular file at \a path by \a bytes; a failure leaves it as it was.
    virtual void ReplaceFile(const QString& path, const QByteArray& bytes) = 0;
    /// Whether \a path names an existing ordinary file (not a folder, not hidden).
    virtual bool IsOrdinaryFile(const QString& path) = 0;
};

} // namespace nc
