#include "RealPlatform.h"

#include "InstanceGuards.h"

#include <QFont>
#include <QStandardPaths>

#include <unistd.h>

namespace nc {

RealPlatform::RealPlatform(const QString& printModule, const QString& waylandModule,
                           const QString& appId)
    : m_activation(appId, waylandModule),
      m_dialogs(m_applicationObject.Title(),
                [this](QWidget& box) { m_activation.NoteAnswer(box); }),
      m_windowing(&m_activation),
      m_settingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)),
      m_printer(printModule),
      m_instanceGuard(
          MakeInstanceGuard(appId,
                            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                                u'/' + m_applicationObject.Title() + u'-' +
                                QString::number(getuid()) + QStringLiteral(".lock"),
                            [this] { return m_activation.HandOver(); })),
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
