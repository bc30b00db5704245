#include "SettingsIo.h"

#include "SettingsNumber.h"
#include "platform/ApplicationObject.h"
#include "platform/SettingsStore.h"

#include <QDir>

namespace nc {

void ReadSettings(SettingsStore& store, const QString& app, SettingsRecord& record) {
    record.AutoCopy = FlagValue(store.GetSetting(app, OptionsSection, QStringLiteral("AutoCopy")));
    record.AutoSave = FlagValue(store.GetSetting(app, OptionsSection, QStringLiteral("AutoSave")));
    record.AutoSaveDir = store.GetSetting(app, OptionsSection, QStringLiteral("AutoSaveDir"));
}

void StoreOptions(SettingsStore& store, const QString& app, int autoCopy, int autoSave,
                  const QString& autoSaveDir) {
    store.SaveSetting(app, OptionsSection, QStringLiteral("AutoCopy"), QString::number(autoCopy));
    store.SaveSetting(app, OptionsSection, QStringLiteral("AutoSave"), QString::number(autoSave));
    store.SaveSetting(app, OptionsSection, QStringLiteral("AutoSaveDir"), autoSaveDir);
}

QString DefaultAddressFilePath(const ApplicationObject& app) {
    // Plain concatenation: a folder that already ends in the separator gives two in a row.
    const QString folder = app.PathIsUsersToWrite() ? app.Path() : app.DataPath();
    return folder + QDir::separator() + QStringLiteral("LocalIp.txt");
}

} // namespace nc
