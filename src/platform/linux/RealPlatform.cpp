#include "RealPlatform.h"

#include "InstanceGuards.h"
#include "XdgFolders.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace nc {

RealPlatform::RealPlatform(const QString& printModule)
    : m_dialogs(m_applicationObject.Title(), m_windowing), m_settingsStore(XdgConfigHome()),
      m_printer(printModule),
      m_instanceGuard(
          MakeInstanceGuard(QStringLiteral("example.nc.") + m_applicationObject.Title(),
                            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                                u'/' + m_applicationObject.Title() + u'-' +
                                QString::number(getuid()) + QStringLiteral(".lock"))),
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
