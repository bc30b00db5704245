#include "RealPlatform.h"

#include <QFont>
#include <QStandardPaths>

namespace nc {

RealPlatform::RealPlatform()
    : m_dialogs(m_app.Title()),
      m_settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)),
      m_instances(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                  LocalInstanceGuard::nameFor(m_app.Title())),
      m_bundle{m_app,      m_dialogs,  m_windowing, m_forms,        m_settings,
               m_files,    m_winsock,  m_clipboard, m_commonDialog, m_printer,
               m_registry, m_launcher, m_instances} {
    // The windows are laid out for the classic dialog font; its metric twin keeps every
    // caption inside its control where the desktop has one.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
}

} // namespace nc
