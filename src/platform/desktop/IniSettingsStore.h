#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

#include <map>
#include <memory>

namespace nc {

/// The settings store as INI files, one per application: <config home>/<app>/<app>.ini.
/// Every write is on disk before it returns; a file that the INI reader would partly drop is
/// never written over.
class IniSettingsStore final : public SettingsStore {
public:
    /// \a configHome is the user's configuration folder (XDG_CONFIG_HOME).
    explicit IniSettingsStore(QString configHome);
    ~IniSettingsStore() override;

    QString GetSetting(const QString& app, const QString& section, const QString& key) override;
    void SaveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override;
    bool IsFirstStart(const QString& app) override;
    void RecordFirstStart(const QString& app) override;

    /// The file that holds \a app's settings.
    QString fileFor(const QString& app) const;

private:
    QSettings& settingsFor(const QString& app);
    void write(const QString& app, const QString& key, const QString& value);

    QString m_configHome;
    std::map<QString, std::unique_ptr<QSettings>> m_open;
};

/// Whether INI text holds a line that an INI reader would drop (and a rewrite would lose):
/// anything but blank lines, comments, "[section]" headers and "key=value" lines, or bytes that
/// are not UTF-8.
bool IniTextIsDamaged(const QByteArray& text);

} // namespace nc
