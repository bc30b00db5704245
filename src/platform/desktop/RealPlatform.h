#pragma once

#include "DetachedLauncher.h"
#include "IniSettingsStore.h"
#include "LinuxAddressSource.h"
#include "LinuxRegistry.h"
#include "LocalInstanceGuard.h"
#include "QtApplicationObject.h"
#include "QtClipboard.h"
#include "QtCommonDialog.h"
#include "QtDialogs.h"
#include "QtFileSystem.h"
#include "QtPrinter.h"
#include "QtWindowing.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"

namespace nc {

/// The real desktop services of this system, created once in main() after the application.
class RealPlatform {
public:
    RealPlatform();

    /// The services as the forms receive them.
    Platform& bundle() { return m_bundle; }

private:
    QtApplicationObject m_app;
    QtDialogs m_dialogs;
    QtWindowing m_windowing;
    OpenForms m_forms;
    IniSettingsStore m_settings;
    QtFileSystem m_files;
    LinuxAddressSource m_winsock;
    QtClipboard m_clipboard;
    QtCommonDialog m_commonDialog;
    QtPrinter m_printer;
    LinuxRegistry m_registry;
    DetachedLauncher m_launcher;
    LocalInstanceGuard m_instances;
    Platform m_bundle;
};

} // namespace nc
