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

#include <memory>

namespace nc {

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
    QtDialogs m_dialogs;
    QtWindowing m_windowing;
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
};

} // namespace nc
