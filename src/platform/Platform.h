#pragma once

namespace nc {

class AddressSource;
class ApplicationObject;
class Clipboard;
class CommonDialog;
class Dialogs;
class FileSystem;
class InstanceGuard;
class Launcher;
class OpenForms;
class Printer;
class Registry;
class SettingsStore;
class Windowing;

/// Everything a form may ask of the desktop, handed to each form when it is created. Each field
/// is named after its type.
struct Platform {
    ApplicationObject& applicationObject;
    Dialogs& dialogs;
    Windowing& windowing;
    OpenForms& openForms;
    SettingsStore& settingsStore;
    FileSystem& fileSystem;
    AddressSource& addressSource;
    Clipboard& clipboard;
    CommonDialog& commonDialog;
    Printer& printer;
    Registry& registry;
    Launcher& launcher;
    InstanceGuard& instanceGuard;
};

} // namespace nc
