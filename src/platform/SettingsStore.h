#pragma once

#include "Service.h"

#include <QList>
#include <QPair>
#include <QString>

namespace nc {

/// The per-user settings store, addressed by application name, section and key; text values.
class SettingsStore : public Service {
public:
    /// The stored text, or empty text when the application, section or key is absent.
    virtual QString GetSetting(const QString& app, const QString& section, const QString& key) = 0;
    /// Stores \a value, creating application and section where missing; on disk when it returns.
    virtual void SaveSetting(const QString& app, const QString& section, const QString& key,
                             const QString& value) = 0;
    /// Stores every (key, value) of \a values in \a section at once: all of them or none.
    virtual void SaveSettings(const QString& app, const QString& section,
                              const QList<QPair<QString, QString>>& values) = 0;
    /// True until the first start of \a app has been recorded.
    virtual bool IsFirstStart(const QString& app) = 0;
    /// Records that the first start of \a app is over.
    virtual void RecordFirstStart(const QString& app) = 0;
};

} // namespace nc
