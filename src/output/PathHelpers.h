#pragma once

#include <QString>

namespace nc {

class FileSystem;

/// Whether a file of at least one byte lies at \a FullPathAndFile. Never fails: a missing file,
/// an unusable path, a folder or an empty file all answer false.
bool FileExists(FileSystem& files, const QString& FullPathAndFile);

/// Creates every missing folder along \a NewDirectory, outermost first, one prefix per separator;
/// creations that the system refuses are passed over. Fails with Overflow for a separator at
/// position 32767 or beyond.
void CreateNewDirectory(FileSystem& files, const QString& NewDirectory);

/// The folder part of \a FullPath: up to and including its last separator; "" without one.
QString GetDir(const QString& FullPath);
/// The file-name part of \a FullPath: after its last separator; the whole text without one.
QString GetFile(const QString& FullPath);
/// The extension of \a FullPath: after its last point, searched in the whole path; the whole
/// text when it holds no point.
QString GetExtension(const QString& FullPath);

} // namespace nc
