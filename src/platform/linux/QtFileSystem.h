#pragma once

#include "platform/FileSystem.h"

namespace nc {

/// The local file system.
class QtFileSystem final : public FileSystem {
public:
    qint64 FileLen(const QString& path) override;
    bool MkDir(const QString& path) override;
    void Kill(const QString& path) override;
    /// Only a regular file is replaced, through a temporary file beside it and a rename, so that
    /// a failure leaves the earlier file whole. The new file keeps the old one's owner, group
    /// and permission bits, never its set-id bits. Where that cannot be (a folder that takes no
    /// new file, an owner this user cannot give a file to, a file of several names), the file
    /// is rewritten in place, as a plain write does. A link is followed as the kernel follows
    /// it for the user: one in a world-writable sticky folder is followed only if it is the
    /// user's or the folder owner's.
    void ReplaceFile(const QString& path, const QByteArray& bytes) override;
    bool IsOrdinaryFile(const QString& path) override;
};

} // namespace nc
