#include "PendingChanges.h"

namespace nc {

bool HasPendingChanges(int autoCopyBox, int autoSaveBox, const QString& pathBox,
                       const SettingsRecord& stored) {
    return pathBox != stored.AutoSaveDir || autoSaveBox != stored.AutoSave ||
           autoCopyBox != stored.AutoCopy;
}

} // namespace nc
