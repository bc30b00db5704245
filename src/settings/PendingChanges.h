#pragma once

#include "SettingsRecord.h"

namespace nc {

/// Whether the option controls differ from the stored options: the path compared exactly
/// (letter case counts), the two boxes' states compared as numbers.
bool HasPendingChanges(int autoCopyBox, int autoSaveBox, const QString& pathBox,
                       const SettingsRecord& stored);

} // namespace nc
