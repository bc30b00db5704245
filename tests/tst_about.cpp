// The About dialog, the registry values that locate the system information tool, and what a
// screen reader finds.

#include "TestPlatform.h"
#include "about/RegistryValue.h"
#include "about/frmAbout.h"
#include "app/frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>

using namespace nc;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kFirstKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QByteArray kToolPath = kFirstKey + "|PATH";

QString label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

} // namespace

class TstAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsAreBuiltAtEveryLoad() {
        TestPlatform p;
        p.app.copyright.clear();
        frmAbout first(p.bundle, nullptr);
        QCOMPARE(first.windowTitle(), u"About Netcairn 1.21"_s);
        QCOMPARE(label(first, "lblTitleVersion"), u"Netcairn v1.21"_s);
        QCOMPARE(label(first, "lblCopyright"), u"Copyright "_s);
        const QStringList thanks = label(first, "lblThanksCode1").split(u"\r\n"_s);
        QVERIFY(thanks.size() == 3 && thanks[1].isEmpty() &&
                thanks[2].startsWith(u"Also, thanks to "_s));
        QCOMPARE(label(first, "lblHomepageLink") + label(first, "lblMailLink"),
                 u"http://nc.test/me@nc.test"_s);
        p.app.minor = 10;
        p.app.revision = 0;
        p.app.copyright = "T W 2025-2026";
        frmAbout second(p.bundle, nullptr);
        QCOMPARE(second.windowTitle(), u"About Netcairn 1.100"_s);
        QCOMPARE(label(second, "lblTitleVersion"), u"Netcairn v1.100"_s);
        QCOMPARE(label(second, "lblCopyright"), u"Copyright T W 2025-2026"_s);
    }

    void registryValues() {
        for (const auto& [type, bytes, read, value] :
             {std::tuple{REG_SZ, QByteArray("/x\0", 3), true, u"/x"_s},
              {REG_SZ, "/x", true, "/x"},
              {REG_SZ, QByteArray("ab\0\0", 4), true, QString::fromLatin1("ab\0", 3)},
              {REG_DWORD, QByteArray("\xd2\x04\0\0", 4), true, "1234"},
              {REG_DWORD, "\xff\xff\xff\xff", true, "4294967295"},
              {REG_EXPAND_SZ, QByteArray("%x%\0", 4), true, "as passed"},
              {REG_SZ, "", true, ""},
              {REG_SZ, QByteArray(1024, 'a'), true, QString(1024, u'a')},
              {REG_SZ, QByteArray(1025, 'a'), false, ""}}) {
            FakeRegistry registry;
            registry.values[kToolPath] = {type, bytes};
            QString keyVal = u"as passed"_s;
            QCOMPARE(ReadKeyValue(registry, HKEY_LOCAL_MACHINE, kFirstKey, "PATH", keyVal), read);
            QCOMPARE(keyVal, value);
            QCOMPARE(registry.closed, QList<HKey>{1});
        }
    }

    void screenReadersFindEveryControl() {
        TestPlatform p;
        frmMain window(p.bundle);
        frmAbout about(p.bundle, nullptr);
        for (const auto& [name, role, spoken] :
             {std::tuple{"txtIPAddress", QAccessible::EditableText, "IP-Address"},
              {"txtAutoSaveDir", QAccessible::EditableText, "Save IP-Address in:"},
              {"cmdBrowse", QAccessible::Button, "Browse"},
              {"cmdCopy", QAccessible::Button, "Copy"},
              {"lblHomepageLink", QAccessible::Link, "http://nc.test/"},
              {"lblMailLink", QAccessible::Link, "me@nc.test"},
              {"lblThanksCode1", QAccessible::StaticText, "\n\nAlso, thanks to"}}) {
            QWidget* widget = window.findChild<QWidget*>(name);
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(
                widget ? widget : about.findChild<QWidget*>(name));
            QCOMPARE(face->role(), role);
            const QString text = face->text(QAccessible::Name);
            QVERIFY2(text == spoken || (text.contains(spoken) && !text.contains(u'\r')),
                     qPrintable(text));
        }
        QAccessibleInterface* link =
            QAccessible::queryAccessibleInterface(about.findChild<QWidget*>("lblMailLink"));
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(p.launcher.commands, QStringList{"0|start.exe mailto:me@nc.test"});
    }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
