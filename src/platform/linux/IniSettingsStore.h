#pragma once

#include "platform/SettingsStore.h"

#include <QString>

#include <memory>

namespace nc {

/// The settings store as INI files, one per application: <config home>/<app>/<app>.ini.
/// Netcairn edits the file line by line: a write changes only the lines of the values it sets
/// and keeps every other byte (comments, blank lines, unknown keys and sections, a byte-order
/// mark, the line ends). Values read and written keep the escaping of files that earlier
/// versions wrote through QSettings. A file holding text that is not UTF-8 is never written,
/// and a file that cannot be read is reported once and read as empty. Every write replaces the
/// file atomically and is on disk before it returns.
class IniSettingsStore final : public SettingsStore {
public:
    /// \a configHome is the user's configuration folder (XDG_CONFIG_HOME); an empty or
    /// relative one leaves the store without a file.
    explicit IniSettingsStore(QString configHome);
    ~IniSettingsStore() override;

    QString GetSetting(const QString& app, const QString& section, const QString& key) override;
    void SaveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override;
    void SaveSettings(const QString& app, const QString& section,
                      const QList<QPair<QString, QString>>& values) override;
    bool IsFirstStart(const QString& app) override;
    void RecordFirstStart(const QString& app) override;

private:
    /// The file that holds \a app's settings; empty without a configuration folder.
    QString fileFor(const QString& app) const;

    struct Loaded;
    /// The file at \a path as last read; read again only when the system says it changed.
    Loaded& load(const QString& path);
    /// Throws \a file's reading failure (or that of its value in \a line) the first time one
    /// is met, and then never again for that state of the file.
    static void reportOnce(Loaded& file, int line = 0);

    QString m_configHome;
    std::unique_ptr<Loaded> m_loaded;
};

} // namespace nc
