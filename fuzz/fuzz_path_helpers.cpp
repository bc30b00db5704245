// The path helpers: any path, no crash, and the splits and folder creations they promise.

#include "output/PathHelpers.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <QStringList>

#include <cstdlib>

namespace {

/// Records the folders asked for and creates nothing.
class RecordingFileSystem final : public nc::FileSystem {
public:
    QStringList folders;
    qint64 FileLen(const QString&) override { throw nc::Failure::of(nc::errFileNotFound); }
    bool MkDir(const QString& path) override {
        folders << path;
        return false;
    }
    void Kill(const QString&) override {}
    void ReplaceFile(const QString&, const QByteArray&) override {}
    bool IsOrdinaryFile(const QString&) override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString dir = nc::GetDir(path);
    const QString file = nc::GetFile(path);
    const QString extension = nc::GetExtension(path);

    // Folder and file part rebuild the path, split at its last separator.
    if (dir + file != path || file.contains(u'/') || (!dir.isEmpty() && !dir.endsWith(u'/')))
        abort();
    if (!path.contains(u'/') && !dir.isEmpty())
        abort();
    // The extension follows the last point; without a point it is the whole path.
    if (path.contains(u'.') ? (extension.contains(u'.') || !path.endsWith(u'.' + extension))
                            : extension != path)
        abort();

    // One folder per separator, outermost first, each a prefix of the next.
    RecordingFileSystem files;
    const QString working = path.endsWith(u'/') ? path : path + u'/';
    try {
        nc::CreateNewDirectory(files, path);
        if (files.folders.size() != working.count(u'/'))
            abort();
    } catch (const nc::Failure& failure) {
        if (failure.Number != nc::errOverflow || working.size() < 32767)
            abort();
    }
    for (qsizetype i = 0; i < files.folders.size(); ++i) {
        const QString& folder = files.folders[i];
        if (!folder.endsWith(u'/') || !working.startsWith(folder) ||
            (i > 0 && folder.size() <= files.folders[i - 1].size()))
            abort();
    }
    return 0;
}
