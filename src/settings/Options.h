#pragma once

#include <QString>

namespace nc {

class ApplicationObject;
class SettingsStore;

/// The section that holds all three options.
inline const QString OptionsSection = QStringLiteral("Options");

/// The main window's working copy of the three stored options.
struct SettingsRecord {
    quint8 AutoCopy = 0; ///< 1: every refresh copies the address to the clipboard
    quint8 AutoSave = 0; ///< 1: every refresh writes the address file (when AutoCopy is off)
    QString AutoSaveDir; ///< full path of the address file, file name included
};

/// A stored flag as an unsigned 8-bit value: the leading number rounded half to even.
/// Fails with Overflow when that falls outside 0 to 255.
quint8 FlagValue(const QString& text);

/// Reads AutoCopy, AutoSave and AutoSaveDir into \a record, in that order. A failure ends the
/// reading; the fields read before it keep their new values, the others their old ones.
void ReadSettings(SettingsStore& store, const QString& app, SettingsRecord& record);

/// Stores the three options in key order, all of them or none: the two flags as decimal text,
/// the path unchanged.
void StoreOptions(SettingsStore& store, const QString& app, int autoCopy, int autoSave,
                  const QString& autoSaveDir);

/// Whether the option controls differ from the stored options: the path compared exactly
/// (letter case counts), the two boxes' states compared as numbers.
bool HasPendingChanges(int autoCopyBox, int autoSaveBox, const QString& pathBox,
                       const SettingsRecord& stored);

/// The address file's first-start path: the program folder, the separator and "LocalIp.txt",
/// or the same in the user's data folder where the program folder is not the user's to write.
QString DefaultAddressFilePath(const ApplicationObject& app);

} // namespace nc
