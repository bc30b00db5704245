#include "TestPlatform.h"

#include "app/frmMain.h"
#include "settings/SettingsIo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <unistd.h>

namespace nc {

TestPlatform::TestPlatform() {
    app.path = home.filePath(QStringLiteral("bin"));
    app.dataPath = home.filePath(QStringLiteral("data/Netcairn"));
}

QString TestPlatform::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

QByteArray TestPlatform::readFile(const QString& path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void TestPlatform::storeOptions(int autoCopy, int autoSave, const QString& path) {
    StoreOptions(realSettings, app.title, autoCopy, autoSave, path);
    realSettings.RecordFirstStart(app.title);
}

QString TestPlatform::stored(const QString& key) {
    return realSettings.GetSetting(app.title, OptionsSection, key);
}

ReadOnlyFolder::ReadOnlyFolder(QString folder) : m_folder(std::move(folder)) {
    if (geteuid() != 0) {
        m_ok = QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        return;
    }
    m_immutable =
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_folder}) == 0;
    m_ok = m_immutable;
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (m_immutable)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_folder});
    else
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

std::unique_ptr<frmMain> LoadedMainWindow(TestPlatform& platform) {
    auto window = std::make_unique<frmMain>(platform.bundle);
    window->Form_Load();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window did not become active");
    QCoreApplication::processEvents();
    return window;
}

} // namespace nc
