#include "RealPlatform.h"

#include "InstanceGuards.h"
#include "LockFileGuard.h"

#include <QDir>
#include <QFont>
#include <QStandardPaths>

#include <unistd.h>

namespace nc {

namespace {

/// The guard for a desktop without a session bus. Its lock lies in the user's runtime folder,
/// else in the user's cache folder; relative folders count as unset, as the base-directory
/// rules say.
std::unique_ptr<InstanceGuard> MakeGuard(const QString& title) {
    const auto absolute = [](const char* name) {
        const QString folder = qEnvironmentVariable(name);
        return QDir::isAbsolutePath(folder) ? folder : QString();
    };
    QString cache = absolute("XDG_CACHE_HOME");
    if (cache.isEmpty())
        cache = QDir::homePath() + QStringLiteral("/.cache");
    const QString runtime = absolute("XDG_RUNTIME_DIR");
    const QString fallback = cache + u'/' + title;
    const QString name = title + u'-' + QString::number(getuid()) + QStringLiteral(".lock");
    return MakeInstanceGuard(QStringLiteral("example.nc.") + title, [=] {
        return std::make_unique<LockFileGuard>(runtime, fallback, name);
    });
}

} // namespace

RealPlatform::RealPlatform(const QString& printModule)
    : m_dialogs(m_applicationObject.Title()),
      m_settingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)),
      m_printer(printModule), m_instanceGuard(MakeGuard(m_applicationObject.Title())),
      m_bundle{m_applicationObject, m_dialogs,    m_windowing,     m_openForms,
               m_settingsStore,     m_fileSystem, m_addressSource, m_clipboard,
               m_commonDialog,      m_printer,    m_registry,      m_launcher,
               *m_instanceGuard} {
    // The windows are laid out for the classic dialog font; its metric twin keeps every
    // caption inside its control where the desktop has one.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
}

} // namespace nc
