// The settings store over any settings file: no crash, and where it agrees to write, every
// value reads back as it read before.

#include "platform/Failure.h"
#include "platform/linux/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("A")));
    QFile file(home.filePath(QStringLiteral("A/A.ini")));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        abort();
    file.close();
    nc::IniSettingsStore store(home.path());
    const auto read = [&](const char* key) {
        try {
            return store.GetSetting(QStringLiteral("A"), QStringLiteral("Options"),
                                    QString::fromLatin1(key));
        } catch (const nc::Failure&) {
            return QStringLiteral("unreadable");
        }
    };
    const QString before = read("AutoSaveDir");
    try {
        store.SaveSetting(QStringLiteral("A"), QStringLiteral("Options"),
                          QStringLiteral("AutoCopy"), QStringLiteral("1"));
    } catch (const nc::Failure&) {
        return 0; // refused: the file stays as it was
    }
    if (read("AutoSaveDir") != before || read("AutoCopy") != QLatin1String("1"))
        abort();
    return 0;
}
