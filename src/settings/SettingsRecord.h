#pragma once

#include <QString>

namespace nc {

/// The main window's working copy of the three stored options.
struct SettingsRecord {
    quint8 AutoCopy = 0; ///< 1: every refresh copies the address to the clipboard
    quint8 AutoSave = 0; ///< 1: every refresh writes the address file (when AutoCopy is off)
    QString AutoSaveDir; ///< full path of the address file, file name included
};

} // namespace nc
