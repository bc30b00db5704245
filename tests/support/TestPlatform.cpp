#include "TestPlatform.h"

#include "app/frmMain.h"
#include "settings/Options.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTest>

namespace nc {

QStringList FakeDialogs::reports() const {
    QStringList codes;
    for (const Box& box : boxes) {
        if (const qsizetype at = box.prompt.indexOf(QStringLiteral("Code:   frm")); at >= 0)
            codes << box.prompt.mid(at + 8).section(u'\r', 0, 0);
    }
    return codes;
}

void FakeWindowing::ShowModal(QDialog& form) {
    shown << form.objectName();
    form.show();
    form.activateWindow();
    if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &form; }))
        qWarning("%s did not become the active window", qPrintable(form.objectName()));
    if (whileShown)
        whileShown(form);
    form.close();
}

AddressTables FakeAddressSource::ReadTables(bool) {
    quint32 ip = 0;
    for (const QString& part : address.split(u'.'))
        ip = ip << 8 | part.toUInt();
    return {{}, {{QStringLiteral("eth0"), ip, 0xffffff00u, true, true, ip == 0x7f000001}}, {}, {}};
}

long FakeRegistry::RegQueryValueExA(HKey, const QByteArray& name, quint32* type, char* data,
                                    quint32* size) {
    if (!values.contains(opened + name))
        return ERROR_FILE_NOT_FOUND;
    const auto& [valueType, bytes] = values[opened + name];
    *type = valueType;
    if (bytes.size() > qsizetype(*size))
        return ERROR_MORE_DATA;
    std::copy(bytes.begin(), bytes.end(), data);
    *size = quint32(bytes.size());
    return ERROR_SUCCESS;
}

TestPlatform::TestPlatform(unsigned real, const QString& homeFolder)
    : root(homeFolder.isEmpty() ? temporary.path() : homeFolder),
      printer([this](QPrinter& target, const QString&) {
          target.setOutputFormat(QPrinter::PdfFormat);
          target.setOutputFileName(path(QStringLiteral("page.pdf")));
          return printAccepted;
      }),
      bundle{app,
             dialogs,
             (real & RealWindowing) ? static_cast<Windowing&>(realWindowing.emplace()) : windowing,
             forms,
             settings,
             files,
             (real & RealAddress) ? static_cast<AddressSource&>(realAddress.emplace()) : address,
             clipboard,
             commonDialog,
             printer,
             registry,
             launcher,
             guard} {
    app.path = path(QStringLiteral("bin"));
    QApplication::clipboard()->clear(); // one clipboard serves every test of a process
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
    StoreOptions(settings, app.Title(), autoCopy, autoSave, path);
    settings.RecordFirstStart(app.Title());
}

QString TestPlatform::stored(const QString& key) {
    return settings.GetSetting(app.Title(), OptionsSection, key);
}

QString TestPlatform::clipboardText() const {
    return QApplication::clipboard()->text();
}

std::unique_ptr<frmMain> TestPlatform::loadedWindow() {
    auto window = std::make_unique<frmMain>(bundle);
    window->Form_Load();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window did not become active");
    QCoreApplication::processEvents(); // the queued keystrokes that select the address
    return window;
}

} // namespace nc
