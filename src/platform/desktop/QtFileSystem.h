#pragma once

#include "platform/FileSystem.h"

namespace nc {

/// The local file system.
class QtFileSystem final : public FileSystem {
public:
    qint64 FileLen(const QString& path) override;
    bool MkDir(const QString& path) override;
    void Kill(const QString& path) override;
    void ReplaceFile(const QString& path, const QByteArray& bytes) override;
    bool IsOrdinaryFile(const QString& path) override;
};

} // namespace nc
