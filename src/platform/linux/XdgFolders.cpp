#include "XdgFolders.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

namespace nc {

namespace {

/// The value of \a name where it is an absolute path, else empty text.
QString absoluteVariable(const char* name) {
    const QString value = QFile::decodeName(qgetenv(name));
    return value.startsWith(u'/') ? QDir::cleanPath(value) : QString();
}

/// \a variable where it is usable, else \a fallback under the home folder (empty without one).
QString baseFolder(const char* variable, const QString& fallback) {
    const QString set = absoluteVariable(variable);
    if (!set.isEmpty())
        return set;
    const QString home = HomeFolder();
    return home.isEmpty() ? QString() : QDir::cleanPath(home + u'/' + fallback);
}

} // namespace

QString HomeFolder() {
    const QString home = absoluteVariable("HOME");
    if (!home.isEmpty())
        return home;
    // A shell started by some services (cron, a bare su) has no HOME; the password database
    // still knows where the user lives.
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_dir) {
        const QString folder = QFile::decodeName(entry->pw_dir);
        if (folder.startsWith(u'/'))
            return QDir::cleanPath(folder);
    }
    return {};
}

QString XdgConfigHome() {
    return baseFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString XdgDataHome() {
    return baseFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString XdgCacheHome() {
    return baseFolder("XDG_CACHE_HOME", QStringLiteral(".cache"));
}

QString XdgRuntimeDir() {
    return absoluteVariable("XDG_RUNTIME_DIR");
}

} // namespace nc
