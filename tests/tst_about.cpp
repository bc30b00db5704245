// The About dialog, its links, and the system information tool found through the registry.

#include "TestPlatform.h"
#include "about/RegistryValue.h"
#include "about/frmAbout.h"
#include "app/Twips.h"
#include "app/frmMain.h"
#include "platform/desktop/DetachedLauncher.h"
#include "platform/desktop/LinuxRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace nc;

namespace {

const QByteArray kFirstKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray kSecondKey("SOFTWARE\\Microsoft\\Shared Tools Location");

QString label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

void click(QWidget& dialog, const char* name) {
    QTest::mouseClick(dialog.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
}

} // namespace

class TstAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("points");
        QTest::newRow("Picture1") << "Picture1" << QRect(480, 240, 540, 540) << 8.25;
        QTest::newRow("lblTitleVersion")
            << "lblTitleVersion" << QRect(1320, 240, 4485, 345) << 9.75;
        QTest::newRow("lblCopyright") << "lblCopyright" << QRect(1320, 480, 4365, 345) << 9.75;
        QTest::newRow("lblDescription") << "lblDescription" << QRect(480, 960, 5325, 1290) << 9.75;
        QTest::newRow("lblHomepageLink")
            << "lblHomepageLink" << QRect(480, 2280, 3345, 240) << 9.75;
        QTest::newRow("lblMailMe") << "lblMailMe" << QRect(480, 2640, 5325, 570) << 9.75;
        QTest::newRow("lblMailLink") << "lblMailLink" << QRect(480, 3240, 1395, 240) << 9.75;
        QTest::newRow("fraThankYou") << "fraThankYou" << QRect(480, 3720, 5415, 2535) << 8.25;
        QTest::newRow("lblThanksCode") << "lblThanksCode" << QRect(120, 360, 1335, 1095) << 8.25;
        QTest::newRow("lblThanksCode1") << "lblThanksCode1" << QRect(1560, 360, 3735, 1575) << 8.25;
        QTest::newRow("lblThanksBetaTesting")
            << "lblThanksBetaTesting" << QRect(120, 1920, 1455, 495) << 8.25;
        QTest::newRow("lblThanksBetaTesters")
            << "lblThanksBetaTesters" << QRect(1560, 1920, 3735, 495) << 8.25;
        QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(480, 6480, 1605, 345) << 8.25;
        QTest::newRow("cmdOK") << "cmdOK" << QRect(4200, 6480, 1740, 345) << 8.25;
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(double, points);
        TestPlatform p;
        frmAbout about(p.bundle, nullptr);
        auto* w = about.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(),
                 (TwipsRect{twips.x(), twips.y(), twips.width(), twips.height()}.pixels()));
        QCOMPARE(w->font().pointSizeF(), points);
        QCOMPARE(w->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(w->focusPolicy() != Qt::NoFocus, name.startsWith(QLatin1String("cmd")));
    }

    void textsAreBuiltAtEveryLoad() {
        TestPlatform p;
        p.app.copyright.clear();
        frmAbout first(p.bundle, nullptr);
        QCOMPARE(first.windowTitle(), QStringLiteral("About Netcairn 1.21"));
        QCOMPARE(label(first, "lblTitleVersion"), QStringLiteral("Netcairn v1.21"));
        QCOMPARE(label(first, "lblCopyright"), QStringLiteral("Copyright "));
        const QStringList thanks = label(first, "lblThanksCode1").split(QStringLiteral("\r\n"));
        QCOMPARE(thanks.size(), 3);
        QVERIFY(thanks[1].isEmpty());
        QVERIFY(thanks[2].startsWith(QStringLiteral("Also, thanks to ")));
        QCOMPARE(label(first, "lblHomepageLink"), HomepageAddress);
        QCOMPARE(label(first, "lblMailLink"), FeedbackAddress);
        QVERIFY(first.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isDefault());
        QCOMPARE(first.size(), QSize(px(6135), px(7050)));

        p.app.minor = 10;
        p.app.revision = 0;
        p.app.copyright = QStringLiteral("Tobias Wrenfield 2025-2026");
        frmAbout second(p.bundle, nullptr);
        QCOMPARE(second.windowTitle(), QStringLiteral("About Netcairn 1.100"));
        QCOMPARE(label(second, "lblTitleVersion"), QStringLiteral("Netcairn v1.100"));
        QCOMPARE(label(second, "lblCopyright"),
                 QStringLiteral("Copyright Tobias Wrenfield 2025-2026"));
        QCOMPARE(label(second, "lblThanksCode1"), label(first, "lblThanksCode1"));
    }

    void aboutButtonOpensTheDialogEnterStartsTheToolEscCloses() {
        TestPlatform p;
        p.registry.keys[kFirstKey]["PATH"] = {REG_SZ, QByteArray("/opt/tool/sysinfo\0", 18)};
        auto window = LoadedMainWindow(p);
        bool wasOpen = false;
        p.windowing.whileShown = [&](QDialog& about) {
            QCOMPARE(QApplication::activeWindow(), &about);
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
            wasOpen = about.isVisible();
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
            QVERIFY(!about.isVisible());
        };
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdAbout")),
                          Qt::LeftButton);
        QCOMPARE(p.windowing.shown, QStringList{"frmAbout"});
        QVERIFY(wasOpen);
        QCOMPARE(p.launcher.commands, QStringList{"1|/opt/tool/sysinfo"});
        QCOMPARE(p.registry.accessAsked, QList<quint32>{KEY_READ}); // the second place is not read
        QCOMPARE(p.forms.count(), 1);                               // unloaded when closed
    }

    void linksLaunchInTheLinkStyle() {
        TestPlatform p;
        frmAbout about(p.bundle, nullptr);
        about.show();
        auto* link = about.findChild<QLabel*>(QStringLiteral("lblHomepageLink"));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        click(about, "lblHomepageLink");
        click(about, "lblMailLink");
        click(about, "lblMailLink");
        QCOMPARE(p.launcher.commands, QStringList({"0|start.exe " + HomepageAddress,
                                                   "0|start.exe mailto:" + FeedbackAddress,
                                                   "0|start.exe mailto:" + FeedbackAddress}));
        p.launcher.failing = true;
        click(about, "lblHomepageLink");
        QCOMPARE(p.dialogs.reports(), QStringList{"frmAbout.Sub.lblHomepageLink_Click"});
        QVERIFY(about.isVisible());
    }

    void registryValues_data() {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("value");
        QTest::newRow("text with its zero")
            << REG_SZ << QByteArray("/bin/x\0", 7) << true << "/bin/x";
        QTest::newRow("text without it") << REG_SZ << QByteArray("/bin/x") << true << "/bin/x";
        QTest::newRow("only the last zero goes")
            << REG_SZ << QByteArray("ab\0\0", 4) << true << QString::fromLatin1("ab\0", 3);
        QTest::newRow("number") << REG_DWORD << QByteArray("\xd2\x04\0\0", 4) << true << "1234";
        QTest::newRow("large number")
            << REG_DWORD << QByteArray("\xff\xff\xff\xff", 4) << true << "4294967295";
        QTest::newRow("expandable text: left as passed")
            << REG_EXPAND_SZ << QByteArray("%x%\0", 4) << true << "as passed";
        QTest::newRow("no data") << REG_SZ << QByteArray() << true << "";
        QTest::newRow("more than 1024 bytes") << REG_SZ << QByteArray(1025, 'a') << false << "";
        QTest::newRow("exactly 1024 bytes")
            << REG_SZ << QByteArray(1024, 'a') << true << QString(1024, u'a');
    }
    void registryValues() {
        QFETCH(quint32, type);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QFETCH(QString, value);
        FakeRegistry registry;
        registry.keys[kFirstKey]["PATH"] = {type, bytes};
        QString keyVal = QStringLiteral("as passed");
        QCOMPARE(ReadKeyValue(registry, HKEY_LOCAL_MACHINE, QString::fromLatin1(kFirstKey),
                              QStringLiteral("PATH"), keyVal),
                 read);
        QCOMPARE(keyVal, value);
        QCOMPARE(registry.closed, QList<HKey>{100});
        keyVal = QStringLiteral("as passed");
        QVERIFY(!ReadKeyValue(registry, HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\None"),
                              QStringLiteral("PATH"), keyVal));
        QVERIFY(keyVal.isEmpty());
        QCOMPARE(registry.closed.last(), HKey(0)); // the null handle of the failed open
    }

    void systemInfoIsFoundOrExplained_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("launched"); // "" : the message instead
        QTest::newRow("first place") << "first"
                                     << "1|/opt/x/tool";
        QTest::newRow("second place, tool in its folder") << "second"
                                                          << "1|FOLDER/MSINFO32.EXE";
        QTest::newRow("second place, folder without the tool") << "second-empty"
                                                               << "";
        QTest::newRow("neither place") << "none"
                                       << "";
        QTest::newRow("registry itself failing") << "failing"
                                                 << "";
    }
    void systemInfoIsFoundOrExplained() {
        QFETCH(QString, situation);
        QFETCH(QString, launched);
        TestPlatform p;
        const QString folder = p.path(QStringLiteral("msinfo"));
        if (situation == QLatin1String("first"))
            p.registry.keys[kFirstKey]["PATH"] = {REG_SZ, QByteArray("/opt/x/tool\0", 12)};
        if (situation.startsWith(QLatin1String("second")))
            p.registry.keys[kSecondKey]["MSINFO"] = {REG_SZ, folder.toLocal8Bit()};
        if (situation == QLatin1String("second"))
            p.writeFile(QStringLiteral("msinfo/MSINFO32.EXE"), "tool");
        if (situation == QLatin1String("failing")) {
            p.registry.keys[kFirstKey]["PATH"] = {REG_SZ, QByteArray("/x")};
            p.registry.failOnQuery = true;
        }
        frmAbout about(p.bundle, nullptr);
        about.cmdSysInfo_Click();
        QCOMPARE(p.launcher.commands,
                 launched.isEmpty() ? QStringList()
                                    : QStringList{QString(launched).replace("FOLDER", folder)});
        if (launched.isEmpty()) {
            const FakeDialogs::Box message = p.dialogs.boxes.last();
            QCOMPARE(message.prompt,
                     QStringLiteral("System Information isn' t available on this computer"));
            QCOMPARE(message.title, QStringLiteral("Can not launch Microsoft System Info!"));
            QCOMPARE(message.style, vbOKOnly | vbInformation);
        }
        QCOMPARE(p.dialogs.reports(), situation == QLatin1String("failing")
                                          ? QStringList{"frmAbout.Function.GetKeyValue"}
                                          : QStringList());
    }

    void toolThatCannotStartIsReported() {
        TestPlatform p;
        p.registry.keys[kFirstKey]["PATH"] = {REG_EXPAND_SZ, QByteArray("%ProgramFiles%\0", 15)};
        p.launcher.failing = true;
        frmAbout about(p.bundle, nullptr);
        about.cmdSysInfo_Click();
        QCOMPARE(p.dialogs.reports(), QStringList{"frmAbout.Sub.StartSysInfo"});
    }

    void linuxRegistryNamesTheFirstToolOnPath() {
        TestPlatform p;
        const QString tool = p.writeFile(QStringLiteral("path/hardinfo"), "#!/bin/sh\n");
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", p.path(QStringLiteral("path")).toLocal8Bit());
        LinuxRegistry registry;
        QString value;
        const bool found =
            ReadKeyValue(registry, HKEY_LOCAL_MACHINE, QString::fromLatin1(kFirstKey),
                         QStringLiteral("PATH"), value);
        HKey key = 0;
        const long writable =
            registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFirstKey, 0, 0x2003F, &key);
        LinuxRegistry none({QStringLiteral("no-such-tool-here")});
        QString nothing;
        const bool foundNone =
            ReadKeyValue(none, HKEY_LOCAL_MACHINE, QString::fromLatin1(kFirstKey),
                         QStringLiteral("PATH"), nothing);
        qputenv("PATH", savedPath);
        QVERIFY(found);
        QCOMPARE(value, tool);
        QCOMPARE(writable, ERROR_ACCESS_DENIED);
        QVERIFY(!foundNone);
        QVERIFY(!ReadKeyValue(registry, HKEY_LOCAL_MACHINE, QString::fromLatin1(kSecondKey),
                              QStringLiteral("MSINFO"), nothing));
    }

    void launcherStartsWithoutAShell() {
        QCOMPARE(
            LaunchCommand(QStringLiteral("start.exe mailto:a@b.example"), QStringLiteral("open")),
            QStringList({"open", "mailto:a@b.example"}));
        TestPlatform p;
        const QString out = p.path(QStringLiteral("args"));
        const QString script =
            p.writeFile(QStringLiteral("open dir/opener"),
                        ("#!/bin/sh\nprintf '%s|' \"$@\" > '" + out + "'\n").toLocal8Bit());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
        DetachedLauncher launcher(script);
        launcher.Shell(QStringLiteral("start.exe a;b $(touch pwned) `id`"), vbHide);
        QTRY_COMPARE(TestPlatform::readFile(out), QByteArray("a;b $(touch pwned) `id`|"));
        launcher.Shell(script + QStringLiteral(""), vbNormalFocus); // a program path with a blank
        QTRY_COMPARE(TestPlatform::readFile(out), QByteArray("|"));
        QVERIFY_THROWS_EXCEPTION(Failure, launcher.Shell(p.path(QStringLiteral("missing")), 1));
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
