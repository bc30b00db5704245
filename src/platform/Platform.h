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
class Windowing;
class OpenForms;
class Printer;
class Registry;
class SettingsStore;

/// Everything a form may ask of the desktop, handed to each form when it is created.
struct Platform {
    ApplicationObject& app;
    Dialogs& dialogs;
    Windowing& windowing;
    OpenForms& forms;
    SettingsStore& settings;
    FileSystem& files;
    AddressSource& winsock;
    Clipboard& clipboard;
    CommonDialog& commonDialog;
    Printer& printer;
    Registry& registry;
    Launcher& launcher;
    InstanceGuard& instances;
};

} // namespace nc
