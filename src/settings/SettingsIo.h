#pragma once

#include "SettingsRecord.h"

#include <QString>

namespace nc {

class ApplicationObject;
class SettingsStore;

/// The section that holds all three options.
inline const QString OptionsSection = QStringLiteral("Options");

/// Reads AutoCopy, AutoSave and AutoSaveDir into \a record, in that order. A failure ends the
/// reading; the fields read before it keep their new values, the others their old ones.
void ReadSettings(SettingsStore& store, const QString& app, SettingsRecord& record);

/// Stores the three options in key order: the two flags as decimal text, the path unchanged.
void StoreOptions(SettingsStore& store, const QString& app, int autoCopy, int autoSave,
                  const QString& autoSaveDir);

/// The address file's first-start path: the program folder, the separator and "LocalIp.txt",
/// or the same in the user's data folder where the program folder is not the user's to write.
QString DefaultAddressFilePath(const ApplicationObject& app);

} // namespace nc
