#pragma once

#include "platform/SettingsStore.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace nc {

/// The settings store as INI files, one per application: <config home>/<app>/<app>.ini.
/// Values are read exactly as they stand in the file. QSettings writes the file, and only when
/// every line of it survives the rewrite with its value unchanged: a comment, a line that is
/// not "key=value", or text that is not UTF-8 makes the store refuse and name that line. Every
/// write is on disk before it returns.
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

private:
    /// The file that holds \a app's settings.
    QString fileFor(const QString& app) const;

    struct Loaded;
    /// The file at \a path as last read; read again only when the system says it changed.
    const Loaded& load(const QString& path);

    QString m_configHome;
    std::unique_ptr<Loaded> m_loaded;
    QByteArray m_reportedUnreadable; ///< the file content whose unreadable value was reported
};

} // namespace nc
