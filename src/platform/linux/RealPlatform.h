#pragma once

#include "DesktopActivation.h"
#include "DetachedLauncher.h"
#include "IniSettingsStore.h"
#include "LinuxAddressSource.h"
#include "LinuxRegistry.h"
#include "ModulePrinter.h"
#include "QtApplicationObject.h"
#include "QtClipboard.h"
#include "QtCommonDialog.h"
#include "QtDialogs.h"
#include "QtFileSystem.h"
#include "QtWindowing.h"
#include "platform/InstanceGuard.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace nc {

/// Lets the classic dialog font stand for the closest font this desktop has.
void SubstituteClassicFonts();
/// Loads Qt's own texts for \a locale (standard buttons, the file and print dialogs) into
/// \a translator; false where the system has none installed for it.
bool LoadQtTexts(QTranslator& translator, const QLocale& locale);

/// The real desktop services of this system, created once in main() after the application.
class RealPlatform {
public:
    /// \a printModule and \a waylandModule are the modules' paths; \a appId names Netcairn to
    /// the desktop and on the session bus.
    RealPlatform(const QString& printModule, const QString& waylandModule, const QString& appId);

    /// The services as the forms receive them.
    const Platform& bundle() const { return m_bundle; }

private:
    DesktopActivation m_activation;
    QtApplicationObject m_applicationObject;
    QtWindowing m_windowing;
    QtDialogs m_dialogs;
    OpenForms m_openForms;
    IniSettingsStore m_settingsStore;
    QtFileSystem m_fileSystem;
    LinuxAddressSource m_addressSource;
    QtClipboard m_clipboard;
    QtCommonDialog m_commonDialog;
    ModulePrinter m_printer;
    LinuxRegistry m_registry;
    DetachedLauncher m_launcher;
    std::unique_ptr<InstanceGuard> m_instanceGuard;
    Platform m_bundle;
    QTranslator m_qtTexts;
};

} // namespace nc
