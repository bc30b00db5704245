#include "RealPlatform.h"

#include "InstanceGuards.h"
#include "LockFileGuard.h"
#include "XdgFolders.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>

#include <unistd.h>

namespace nc {

namespace {

/// The guard for a desktop without a session bus. Its lock lies in the user's runtime folder,
/// else in the user's cache folder.
std::unique_ptr<InstanceGuard> MakeGuard(const QString& appId, const QString& title,
                                         Handover handover) {
    const QString runtime = XdgRuntimeDir();
    const QString fallback = XdgCacheHome() + u'/' + title;
    const QString name = title + u'-' + QString::number(getuid()) + QStringLiteral(".lock");
    return MakeInstanceGuard(
        appId, [=] { return std::make_unique<LockFileGuard>(runtime, fallback, name); },
        std::move(handover));
}

} // namespace

RealPlatform::RealPlatform(const QString& printModule, const QString& waylandModule,
                           const QString& appId)
    : m_activation(appId, waylandModule), m_windowing(&m_activation),
      m_dialogs(m_applicationObject.Title(), m_windowing,
                [this](QWidget& box) { m_activation.NoteAnswer(box); }),
      m_settingsStore(XdgConfigHome()), m_printer(printModule),
      m_instanceGuard(MakeGuard(appId, m_applicationObject.Title(),
                                [this] { return m_activation.HandOver(); })),
      m_bundle{m_applicationObject, m_dialogs,    m_windowing,     m_openForms,
               m_settingsStore,     m_fileSystem, m_addressSource, m_clipboard,
               m_commonDialog,      m_printer,    m_registry,      m_launcher,
               *m_instanceGuard} {
    SubstituteClassicFonts();
    // Netcairn's own texts are its own; the buttons and dialogs Qt brings speak the user's
    // language.
    if (LoadQtTexts(m_qtTexts, QLocale()))
        QCoreApplication::installTranslator(&m_qtTexts);
}

void SubstituteClassicFonts() {
    // The windows are laid out for the classic dialog font; its metric twin keeps every
    // caption inside its control where the desktop has one.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
}

bool LoadQtTexts(QTranslator& translator, const QLocale& locale) {
    return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace nc
