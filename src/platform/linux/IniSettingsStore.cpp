#include "IniSettingsStore.h"

#include "IniText.h"
#include "PosixFailure.h"
#include "QtFileSystem.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace nc {

namespace {

const QString kMarkerSection = QStringLiteral("Setup");
const QString kMarkerKey = QStringLiteral("DefaultsWritten");

/// What tells a changed file: the reason it cannot be looked at, its kind, inode (a rename
/// puts a new one in place), size and times.
using Stamp = std::tuple<int, mode_t, ino_t, off_t, long, long, long, long>;

Stamp stampOf(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return {errno ? errno : EIO, 0, 0, 0, 0, 0, 0, 0};
    return {0,
            info.st_mode & S_IFMT,
            info.st_ino,
            info.st_size,
            info.st_mtim.tv_sec,
            info.st_mtim.tv_nsec,
            info.st_ctim.tv_sec,
            info.st_ctim.tv_nsec};
}

/// The whole regular file at \a path; 0 in \a reason, or the errno that kept it unread.
QByteArray readRegularFile(const QByteArray& path, int& reason) {
    // Not blocking, in case a pipe has taken the file's place since it was looked at.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    QByteArray bytes;
    reason = fd < 0 || ::fstat(fd, &info) != 0 ? errno
             : S_ISDIR(info.st_mode)           ? EISDIR
             : !S_ISREG(info.st_mode)          ? ENODEV
                                               : 0;
    if (!reason) {
        bytes.reserve(qsizetype(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                bytes.append(buffer, n);
            } else if (n == 0) {
                break;
            } else if (errno != EINTR) {
                reason = errno;
                break;
            }
        }
    }
    if (fd >= 0)
        ::close(fd);
    return bytes;
}

/// Creates the missing folders of \a folder as the base-directory rules ask: private ones.
void makeFolders(const QString& folder) {
    if (folder.isEmpty() || QFileInfo::exists(folder))
        return;
    makeFolders(QFileInfo(folder).path());
    ::mkdir(QFile::encodeName(folder).constData(), 0700); // a failure shows at the write
}

Failure settingsFailure(qint32 number, const QString& path, const QString& what) {
    const QString file =
        path.isEmpty() ? QStringLiteral("(no home folder known)") : QDir::toNativeSeparators(path);
    return Failure(number,
                   classicDescription(number) + QStringLiteral(": the settings file ") + file +
                       u' ' + what,
                   QStringLiteral("Netcairn"));
}

} // namespace

struct IniSettingsStore::Loaded {
    QString path;
    Stamp stamp;
    IniText text;
    int unreadable = 0;    ///< the errno that kept the file unread; 0 where it was read or absent
    bool reported = false; ///< this state of the file has been reported
};

IniSettingsStore::IniSettingsStore(QString configHome) : m_configHome(std::move(configHome)) {}

IniSettingsStore::~IniSettingsStore() = default;

IniSettingsStore::Loaded& IniSettingsStore::load(const QString& path) {
    // Every option is read afresh from the file; a start-up reads them a dozen times, and the
    // file is parsed only when another copy or the user has changed it since.
    const QByteArray name = QFile::encodeName(path);
    const Stamp stamp = path.isEmpty() ? Stamp{ENOENT, 0, 0, 0, 0, 0, 0, 0} : stampOf(name);
    if (!m_loaded || m_loaded->path != path || m_loaded->stamp != stamp) {
        auto loaded = std::make_unique<Loaded>(Loaded{path, stamp, IniText(), 0, false});
        const int looked = std::get<0>(stamp);
        if (path.isEmpty())
            loaded->unreadable = ENOENT; // without a home there is no place for the file
        else if (!looked)
            loaded->text = IniText(readRegularFile(name, loaded->unreadable));
        else if (looked != ENOENT) // a file not made yet holds nothing
            loaded->unreadable = looked;
        m_loaded = std::move(loaded);
    }
    return *m_loaded;
}

void IniSettingsStore::reportOnce(Loaded& file, int line) {
    if (std::exchange(file.reported, true))
        return;
    if (file.unreadable) {
        throw settingsFailure(failureFromErrno(file.unreadable).Number, file.path,
                              QStringLiteral("cannot be read; Netcairn goes on without the "
                                             "options stored there."));
    }
    throw settingsFailure(errPathFileAccess, file.path,
                          QStringLiteral("holds text that is not UTF-8 in line %1; Netcairn "
                                         "cannot read it exactly. Repair that line.")
                              .arg(line));
}

QString IniSettingsStore::fileFor(const QString& app) const {
    if (!m_configHome.startsWith(u'/'))
        return {};
    return m_configHome + u'/' + app + u'/' + app + QStringLiteral(".ini");
}

QString IniSettingsStore::GetSetting(const QString& app, const QString& section,
                                     const QString& key) {
    Loaded& file = load(fileFor(app));
    if (file.unreadable) {
        reportOnce(file);
        return {};
    }
    const auto value = file.text.value(section, key);
    if (!value)
        return {};
    if (value->exact)
        return value->text;
    // A value Netcairn cannot hold as it stands is not used; that is said once per state of the
    // file, not at every reading.
    reportOnce(file, value->line);
    return {};
}

void IniSettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                   const QString& value) {
    SaveSettings(app, section, {{key, value}});
}

void IniSettingsStore::SaveSettings(const QString& app, const QString& section,
                                    const QList<QPair<QString, QString>>& values) {
    const QString path = fileFor(app);
    const Loaded& file = load(path);
    if (file.unreadable) {
        throw settingsFailure(failureFromErrno(file.unreadable).Number, path,
                              QStringLiteral("cannot be read, so Netcairn has not written it; "
                                             "nothing was stored."));
    }
    if (const int line = file.text.firstForeignLine()) {
        throw settingsFailure(errPathFileAccess, path,
                              QStringLiteral("holds text that is not UTF-8 in line %1, which "
                                             "Netcairn cannot keep exactly; it has left the file "
                                             "as it is, and nothing was stored.")
                                  .arg(line));
    }
    const QByteArray bytes = file.text.with(section, values);
    makeFolders(QFileInfo(path).path());
    try {
        // The address file's own replace: atomic, on disk, and the owner's file afterwards.
        QtFileSystem().ReplaceFile(path, bytes);
    } catch (const Failure& failure) {
        throw settingsFailure(failure.Number, path,
                              QStringLiteral("could not be written; it keeps what it held, and "
                                             "nothing was stored."));
    }
    m_loaded.reset();
}

bool IniSettingsStore::IsFirstStart(const QString& app) {
    Loaded& file = load(fileFor(app));
    if (file.unreadable)
        return false; // whatever the file holds is the user's: no defaults over it
    if (file.text.value(kMarkerSection, kMarkerKey))
        return false;
    if (!file.text.hasValuesOutside(kMarkerSection))
        return true;
    // Options written by hand or kept from a backup are the user's: no defaults over them. The
    // marker is added where the file can take it; its absence alone changes nothing.
    try {
        RecordFirstStart(app);
    } catch (const Failure&) {
    }
    return false;
}

void IniSettingsStore::RecordFirstStart(const QString& app) {
    SaveSetting(app, kMarkerSection, kMarkerKey, QStringLiteral("1"));
}

} // namespace nc
