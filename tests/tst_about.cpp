// The texts every window shows, the About dialog's load, the registry values that locate the
// system information tool, and what a screen reader finds.

#include "TestPlatform.h"
#include "about/RegistryValue.h"
#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "extras/FunDialogs.h"
#include "platform/linux/RealPlatform.h"
#include "ui/Controls.h"
#include "ui/modPublic.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QTest>
#include <QTranslator>

using namespace nc;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kFirstKey("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

/// Values by "key path|value name": type and bytes.
struct FakeRegistry final : Registry {
    QMap<QByteArray, std::pair<quint32, QByteArray>> values;
    QByteArray opened;
    QList<HKey> closed;
    long RegOpenKeyExA(HKey, const QByteArray& key, quint32, quint32, HKey* result) override {
        opened = key + '|';
        *result = values.keys().join('\n').contains(opened) ? 1 : 0;
        return *result ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    long RegQueryValueExA(HKey, const QByteArray& name, quint32* type, char* data,
                          quint32* size) override {
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
    long RegCloseKey(HKey key) override { return closed << key, ERROR_SUCCESS; }
};

/// What a control shows as its text: a label's or button's text, a frame's caption, a line
/// edit's text, or the window caption for the form itself.
QString shownText(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return frame->title();
    if (widget->isWindow())
        return widget->windowTitle();
    return widget->property("text").toString();
}

QString label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

} // namespace

class TstAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTextAWindowShows() {
        TestPlatform p;
        frmMain main(p.bundle);
        frmAbout about(p.bundle, &main);
        frmFun fun(p.bundle, &main);
        frmFunThanks thanks(p.bundle, &main);
        const QMap<QString, QWidget*> forms{
            {"frmMain", &main}, {"frmAbout", &about}, {"frmFun", &fun}, {"frmFunThanks", &thanks}};
        const char* const egg = "What is this? An easter egg or somethin' ?";
        const char* const texts[][4] = {
            // form, control ("" the form), text, tooltip
            {"frmMain", "", "frmMain", ""},
            {"frmMain", "fraIPAddress", "IP-Address", ""},
            {"frmMain", "txtIPAddress", "txtIPAddress", "This textbox shows your local IP-Address"},
            {"frmMain", "cmdCopy", "&Copy", "Copies the IP-Address above to the Windows Clipboard"},
            {"frmMain", "cmdPrint", "&Print...", "Prints your IP-Address"},
            {"frmMain", "cmdUpdate", "&Update", "Update the IP-Address"},
            {"frmMain", "fraOptions", "Program Options", ""},
            {"frmMain", "chkAutoCopy",
             "Copy IP-address to the clipboard on launch and when you hit the \"Update\"-button.",
             "Automatically copy the IP-Address to the Windows Clipboard"},
            {"frmMain", "chkAutoSave",
             "Save IP-Address in:", "Chech this if you want to save your IP in a textfile"},
            {"frmMain", "txtAutoSaveDir", "txtAutoSaveDir", "File Path to the IP-Address"},
            {"frmMain", "cmdBrowse", "..", "Browse your computer - find a place to save your IP"},
            {"frmMain", "cmdApply", "A&pply", "Apply the new settings set above"},
            {"frmMain", "cmdExit", "E&xit", "Wanna get outa' here? Click me!"},
            {"frmAbout", "", "About Netcairn 1.21", ""},
            {"frmAbout", "lblTitleVersion", "Netcairn v1.21", ""},
            {"frmAbout", "lblCopyright", "Copyright A 2026", ""},
            {"frmAbout", "lblDescription",
             "Netcairn is a simple freeware program - only made for showing your local "
             "IP-Address with some small, but handy functions. Nothing big. But that's hopefully "
             "the way you want it! Take a look at the Netcairn homepage for more information and "
             "the latest version:",
             ""},
            {"frmAbout", "lblHomepageLink", "http://nc.test/",
             "Press here to visit the Netcairn homepage"},
            {"frmAbout", "lblMailMe",
             "Comments, questions, bug reports etc.? Do not hesitate contacting me on:", ""},
            {"frmAbout", "lblMailLink", "me@nc.test",
             "Press here to fire up your mail progrm and send feedback to the author"},
            {"frmAbout", "fraThankYou", "Thank you-list", ""},
            {"frmAbout", "lblThanksCode", "Program Code:", ""},
            {"frmAbout", "lblThanksBetaTesting", "Beta Testers:", ""},
            {"frmAbout", "cmdSysInfo", "&System Info...", "Handy Information about your system"},
            {"frmAbout", "cmdOK", "OK", ""},
            {"frmFun", "", egg, ""},
            {"frmFun", "lblMadeBy", "Netcairn is proudly made by", ""},
            {"frmFun", "lblMailLink", "me@nc.test", ""},
            {"frmFun", "lblHomepageLink", "http://nc.test/", ""},
            {"frmFun", "lblPressYes", "Press YES if you think I'm great!", ""},
            {"frmFun", "cmdYes", "&YES", ""},
            {"frmFunThanks", "", egg, ""},
            {"frmFunThanks", "fraThankYou", "Thank you-list", ""},
            {"frmFunThanks", "lblThanksCode", "Program Code:", ""},
            {"frmFunThanks", "lblThanksBetaTesting", "Beta Testers:", ""},
            {"frmFunThanks", "fraWebLinks", "Related Web-links", ""},
            {"frmFunThanks", "lblPressYes", "Press YES if you think they're great!", ""},
            {"frmFunThanks", "cmdYes", "&YES", ""},
        };
        for (const auto& [form, name, text, tip] : texts) {
            QWidget* window = forms.value(QString::fromLatin1(form));
            QWidget* control =
                *name ? window->findChild<QWidget*>(QString::fromLatin1(name)) : window;
            QVERIFY2(control, name);
            QCOMPARE(shownText(control), QString::fromUtf8(text));
            QCOMPARE(control->toolTip(), QString::fromUtf8(tip));
        }
        // The sentences of thanks are the author's own; their shape is not.
        QCOMPARE(label(about, "lblThanksBetaTesters"), label(thanks, "lblThanksBetaTesters"));
        const QStringList paragraphs = label(about, "lblThanksCode1").split(u"\r\n"_s);
        QVERIFY(paragraphs.size() == 3 && paragraphs[1].isEmpty() &&
                paragraphs[2].startsWith(u"Also, thanks to "_s));
        QVERIFY(!main.findChild<QWidget*>(u"cmdAbout"_s)->toolTip().isEmpty());
    }

    void errorReport() {
        TestPlatform p;
        ShowErrorReport(p.bundle, u"frmMain"_s, u"Sub"_s, u"AutoSave"_s, Failure::of(errDiskFull));
        ShowErrorReport(p.bundle, u"frmAbout"_s, u"Function"_s, u"GetKeyValue"_s,
                        Failure(-5, {}, {}, -7));
        QCOMPARE(p.dialogs.reports(),
                 QStringList({"frmMain.Sub.AutoSave", "frmAbout.Function.GetKeyValue"}));
        QCOMPARE(
            ErrorReportText("1.21", "frmMain", "Sub", "AutoSave", Failure::of(errDiskFull), "me@x"),
            u"A runtime error occured!\r\n\r\nVersion:   1.21\r\n"
            "Initial Error-Tracking Code:   frmMain.Sub.AutoSave\r\nRuntime Error Code:   61\r\n"
            "Runtime Error Description:   Disk full\r\nRuntime Error Source:   Netcairn\r\n"
            "Runtime Error Help Context:   0\r\n\r\nIf possible, mail a bug report, including "
            "the information provided above to the following mail-address: \r\n\r\nme@x"_s);
        QCOMPARE(
            ErrorReportText({}, {}, {}, {}, Failure(-5, {}, {}, -7), {}).split(u"\r\n"_s).mid(4, 4),
            QStringList({"Runtime Error Code:   -5", "Runtime Error Description:   ",
                         "Runtime Error Source:   ", "Runtime Error Help Context:   -7"}));
        QCOMPARE(ErrorReportTitle("Netcairn", "1.21"), u"Netcairn 1.21 Error Message"_s);
    }

    void aboutTextsAreBuiltAtEveryLoad() {
        TestPlatform p;
        p.app.copyright.clear();
        frmAbout first(p.bundle, nullptr);
        QCOMPARE(label(first, "lblCopyright"), u"Copyright "_s);
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
            registry.values[kFirstKey + "|PATH"] = {type, bytes};
            QString keyVal = u"as passed"_s;
            QCOMPARE(ReadKeyValue(registry, HKEY_LOCAL_MACHINE, kFirstKey, "PATH", keyVal), read);
            QCOMPARE(keyVal, value);
            QCOMPARE(registry.closed, QList<HKey>{1});
        }
    }

    void readableOnLightAndDarkPalettes() {
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
        const QStringList black{"lblTitleVersion", "lblCopyright", "lblDescription", "lblMailMe"};
        for (const QPalette& palette : {light, dark}) {
            QApplication::setPalette(palette);
            TestPlatform p;
            frmAbout about(p.bundle, nullptr);
            frmFun fun(p.bundle, nullptr);
            frmFunThanks thanks(p.bundle, nullptr);
            for (QWidget* dialog : std::initializer_list<QWidget*>{&about, &fun, &thanks}) {
                for (QLabel* label : dialog->findChildren<QLabel*>()) {
                    const QColor text = label->palette().color(QPalette::WindowText);
                    QVERIFY2(label->text().isEmpty() ||
                                 ContrastRatio(text, palette.color(QPalette::Window)) >= 4.5,
                             qPrintable(label->objectName()));
                    if (&palette != &light)
                        continue; // on a light palette the colours are the classic ones
                    if (label->inherits("nc::LinkLabel"))
                        QCOMPARE(text, QColor(0, 0, 255));
                    else if (black.contains(label->objectName()))
                        QCOMPARE(text, QColor(Qt::black));
                }
            }
        }
        QApplication::setPalette(light);
    }

    void qtTextsFollowTheLanguage() {
        QTranslator german;
        if (!LoadQtTexts(german, QLocale(QLocale::German, QLocale::Germany)))
            QSKIP("Qt's German texts are not installed (qt6-translations-l10n)");
        QCoreApplication::installTranslator(&german);
        TestPlatform p;
        p.qtDialogs.MsgBox(u"Netcairn?"_s, vbYesNo | vbDefaultButton2, u"Netcairn"_s);
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(p.dialogs.seen, QStringList{u"None Netcairn: Netcairn? [Ja Nein*]"_s});
    }

    void screenReadersReadEachWindowInOrder() {
        TestPlatform p;
        frmMain main(p.bundle);
        frmAbout about(p.bundle, &main);
        frmFun fun(p.bundle, &main);
        frmFunThanks thanks(p.bundle, &main);
        // Every control lies within the group it belongs to, and in no group beside it, and
        // follows the one before it as a person reads: lower, or on the same row further right.
        const std::function<void(QAccessibleInterface*)> check = [&](QAccessibleInterface* group) {
            QRect before;
            for (int i = 0; i < group->childCount(); ++i) {
                QAccessibleInterface* control = group->child(i);
                const QRect at = control->rect();
                const QString name = control->object()->objectName();
                QVERIFY2(group->rect().contains(at), qPrintable(name));
                QVERIFY2(before.isNull() || at.top() >= before.center().y() ||
                             (at.left() > before.left() && at.top() < before.bottom()),
                         qPrintable(name));
                for (int j = 0; j < group->childCount(); ++j) {
                    QAccessibleInterface* other = group->child(j);
                    QVERIFY2(other == control || other->role() != QAccessible::Grouping ||
                                 !other->rect().contains(at),
                             qPrintable(name));
                }
                QVERIFY2(!control->text(QAccessible::Name).isEmpty() ||
                             control->role() == QAccessible::EditableText,
                         qPrintable(name));
                before = at;
                check(control);
            }
        };
        for (QWidget* window : std::initializer_list<QWidget*>{&main, &about, &fun, &thanks}) {
            window->show();
            check(QAccessible::queryAccessibleInterface(window));
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
        QTRY_COMPARE(p.launched(), u"xdg-open mailto:me@nc.test"_s);
    }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
