// The settings store over any settings file: no crash; it refuses a write only where a line is
// not UTF-8 text; where it writes, every value reads back as it read before, and writing the
// same value again changes no byte.

#include "platform/Failure.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/IniText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("A/A.ini"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto content = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QFile file(path);
    if (!QDir().mkpath(home.filePath(QStringLiteral("A"))) || !file.open(QIODevice::WriteOnly) ||
        file.write(input) != input.size())
        abort();
    file.close();
    nc::IniSettingsStore store(home.path());
    const auto read = [&](const char* key) {
        try {
            return store.GetSetting("A", "Options", QString::fromLatin1(key));
        } catch (const nc::Failure&) {
            return QStringLiteral("unreadable");
        }
    };
    const auto save = [&] { store.SaveSetting("A", "Options", "AutoCopy", "1"); };
    const QString before = read("AutoSaveDir");
    const bool foreign = nc::IniText(input).firstForeignLine() != 0;
    try {
        save();
    } catch (const nc::Failure&) {
        if (!foreign || content() != input)
            abort(); // refused without a reason, or not left as it was
        return 0;
    }
    const QByteArray written = content();
    if (foreign || read("AutoSaveDir") != before || read("AutoCopy") != QLatin1String("1"))
        abort();
    save();
    if (content() != written)
        abort();
    return 0;
}
