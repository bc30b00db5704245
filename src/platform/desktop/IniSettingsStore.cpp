#include "IniSettingsStore.h"

#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace nc {

namespace {

const QString kFirstStartKey = QStringLiteral("Setup/DefaultsWritten");

Failure damaged(const QString& path) {
    return Failure(errPathFileAccess,
                   classicDescription(errPathFileAccess) +
                       QStringLiteral(": the settings file %1 is damaged; Netcairn will not "
                                      "write over it. Repair or remove it.")
                           .arg(QDir::toNativeSeparators(path)),
                   QStringLiteral("Netcairn"));
}

} // namespace

bool IniTextIsDamaged(const QByteArray& text) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8(text);
    if (utf8.hasError() || decoded.contains(QChar(0)))
        return true;
    for (QStringView line : QStringView(decoded).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') ? !line.endsWith(u']') : line.indexOf(u'=') <= 0)
            return true;
    }
    return false;
}

IniSettingsStore::IniSettingsStore(QString configHome) : m_configHome(std::move(configHome)) {}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::fileFor(const QString& app) const {
    return m_configHome + u'/' + app + u'/' + app + QStringLiteral(".ini");
}

QSettings& IniSettingsStore::settingsFor(const QString& app) {
    auto& settings = m_open[app];
    if (!settings)
        settings = std::make_unique<QSettings>(fileFor(app), QSettings::IniFormat);
    else
        settings->sync(); // pick up what another running copy stored meanwhile
    return *settings;
}

QString IniSettingsStore::GetSetting(const QString& app, const QString& section,
                                     const QString& key) {
    const QVariant value = settingsFor(app).value(section + u'/' + key);
    // A hand-edited value with an unquoted comma comes back as a list; it is still one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void IniSettingsStore::write(const QString& app, const QString& key, const QString& value) {
    const QString path = fileFor(app);
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw Failure::of(errPermissionDenied);
        if (IniTextIsDamaged(existing.readAll()))
            throw damaged(path);
    }
    QSettings& settings = settingsFor(app);
    const bool had = settings.contains(key);
    const QVariant previous = settings.value(key);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        // Take the unsaved value back, so that what the program reads is what the disk holds
        // and a later write does not carry it along.
        had ? settings.setValue(key, previous) : settings.remove(key);
        m_open.erase(app);
        throw Failure::of(errPathFileAccess);
    }
}

void IniSettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                   const QString& value) {
    write(app, section + u'/' + key, value);
}

bool IniSettingsStore::IsFirstStart(const QString& app) {
    return !settingsFor(app).contains(kFirstStartKey);
}

void IniSettingsStore::RecordFirstStart(const QString& app) {
    write(app, kFirstStartKey, QStringLiteral("1"));
}

} // namespace nc
