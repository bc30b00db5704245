// The texts every window shows, the About dialog's load, the registry values that locate the
// system information tool, colours that read on any palette, and what a screen reader finds.

#include "TestPlatform.h"
#include "about/RegistryValue.h"
#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "extras/FunDialogs.h"
#include "platform/linux/PosixFailure.h"
#include "platform/linux/RealPlatform.h"
#include "ui/Controls.h"
#include "ui/modPublic.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTranslator>

using namespace nc;
using namespace Qt::StringLiterals;

namespace {

/// One value of any type under any key, stored as \a bytes.
struct OneValue final : Registry {
    quint32 type = REG_SZ;
    QByteArray bytes;
    QList<HKey> closed;
    long RegOpenKeyExA(HKey, const QByteArray&, quint32, quint32, HKey* key) override {
        return *key = 1, ERROR_SUCCESS;
    }
    long RegQueryValueExA(HKey, const QByteArray&, quint32* t, char* data, quint32* size) override {
        if (bytes.size() > qsizetype(*size))
            return ERROR_MORE_DATA;
        std::copy(bytes.begin(), bytes.end(), data);
        return *t = type, *size = quint32(bytes.size()), ERROR_SUCCESS;
    }
    long RegCloseKey(HKey key) override { return closed << key, ERROR_SUCCESS; }
};

// Form and control ("" the form itself), the text it shows (* the author's own words), its
// tooltip, its look: the size in points, bold, underlined, wrapped, centred.
const char* const kTexts = R"(
frmMain||frmMain||8.25
frmMain|fraIPAddress|IP-Address||8.25
frmMain|txtIPAddress|txtIPAddress|This textbox shows your local IP-Address|12
frmMain|cmdCopy|&Copy|Copies the IP-Address above to the Windows Clipboard|8.25
frmMain|cmdPrint|&Print...|Prints your IP-Address|8.25
frmMain|cmdUpdate|&Update|Update the IP-Address|8.25
frmMain|fraOptions|Program Options||8.25
frmMain|chkAutoCopy|Copy IP-address to the clipboard on launch and when you hit the "Update"-button.|Automatically copy the IP-Address to the Windows Clipboard|8.25
frmMain|chkAutoSave|Save IP-Address in:|Chech this if you want to save your IP in a textfile|8.25
frmMain|txtAutoSaveDir|txtAutoSaveDir|File Path to the IP-Address|8.25
frmMain|cmdBrowse|..|Browse your computer - find a place to save your IP|8.25
frmMain|cmdApply|A&pply|Apply the new settings set above|8.25
frmMain|cmdExit|E&xit|Wanna get outa' here? Click me!|8.25
frmAbout||About Netcairn 1.21||8.25
frmAbout|lblTitleVersion|Netcairn v1.21||9.75
frmAbout|lblCopyright|Copyright A 2026||9.75
frmAbout|lblDescription|Netcairn is a simple freeware program - only made for showing your local IP-Address with some small, but handy functions. Nothing big. But that's hopefully the way you want it! Take a look at the Netcairn homepage for more information and the latest version:||9.75 wrapped
frmAbout|lblHomepageLink|http://nc.test/|Press here to visit the Netcairn homepage|9.75 underlined
frmAbout|lblMailMe|Comments, questions, bug reports etc.? Do not hesitate contacting me on:||9.75 wrapped
frmAbout|lblMailLink|me@nc.test|Press here to fire up your mail progrm and send feedback to the author|9.75 underlined
frmAbout|fraThankYou|Thank you-list||8.25
frmAbout|lblThanksCode|Program Code:||8.25 bold
frmAbout|lblThanksBetaTesting|Beta Testers:||8.25 bold
frmAbout|lblThanksCode1|*||8.25 wrapped
frmAbout|lblThanksBetaTesters|*||8.25 wrapped
frmAbout|cmdSysInfo|&System Info...|Handy Information about your system|8.25
frmAbout|cmdOK|OK||8.25
frmFun||What is this? An easter egg or somethin' ?||8.25
frmFun|lblMadeByName|*||13.5 bold centred
frmFun|lblMadeBy|Netcairn is proudly made by||9.75 centred
frmFun|lblMailLink|me@nc.test||9.75 underlined centred
frmFun|lblHomepageLink|http://nc.test/||9.75 underlined centred
frmFun|lblPressYes|Press YES if you think I'm great!||9.75 centred
frmFun|cmdYes|&YES||12 bold
frmFunThanks||What is this? An easter egg or somethin' ?||8.25
frmFunThanks|fraThankYou|Thank you-list||8.25
frmFunThanks|lblThanksCode|Program Code:||8.25 bold
frmFunThanks|lblThanksBetaTesting|Beta Testers:||8.25 bold
frmFunThanks|lblThanksCodeHelp|*||8.25 wrapped
frmFunThanks|lblThanksCodeBook|*||8.25 wrapped
frmFunThanks|lblThanksBetaTesters|*||8.25 wrapped
frmFunThanks|lblLinkProgram|*||8.25 underlined centred
frmFunThanks|lblLinkTester1|*||8.25 underlined centred
frmFunThanks|lblLinkTester2|*||8.25 underlined centred
frmFunThanks|lblLinkCoder|*||8.25 underlined centred
frmFunThanks|lblLinkCompany|*||8.25 underlined centred
frmFunThanks|fraWebLinks|Related Web-links||8.25
frmFunThanks|lblPressYes|Press YES if you think they're great!||9.75 centred
frmFunThanks|cmdYes|&YES||12 bold
)";

QString label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

struct Windows {
    TestPlatform p;
    frmMain main{p.bundle};
    frmAbout about{p.bundle, &main};
    frmFun fun{p.bundle, &main};
    frmFunThanks thanks{p.bundle, &main};
    QList<QWidget*> all() { return {&main, &about, &fun, &thanks}; }
};

} // namespace

class TstAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTextAWindowShowsAndHowAScreenReaderReadsIt() {
        Windows w;
        for (const QString& line : QString::fromUtf8(kTexts).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(u'|');
            const QList<QWidget*> all = w.all();
            QWidget* form = *std::find_if(all.begin(), all.end(),
                                          [&](QWidget* x) { return x->objectName() == f[0]; });
            QWidget* control = f[1].isEmpty() ? form : form->findChild<QWidget*>(f[1]);
            const char* property = control->isWindow()                 ? "windowTitle"
                                   : qobject_cast<QGroupBox*>(control) ? "title"
                                                                       : "text";
            const QFont font = control->font();
            const auto* label = qobject_cast<QLabel*>(control);
            QString look = QString::number(font.pointSizeF());
            for (const auto& [on, word] :
                 {std::pair{font.bold(), " bold"},
                  {font.underline(), " underlined"},
                  {label && label->wordWrap(), " wrapped"},
                  {label && label->alignment() & Qt::AlignHCenter, " centred"}})
                look += on ? QLatin1String(word) : QLatin1String();
            const QString text = control->property(property).toString(); // "*": the author's own
            QCOMPARE(text + u'|' + control->toolTip() + u'|' + look,
                     (f[2] == u'*' ? text : f[2]) + u'|' + f[3] + u'|' + f[4]);
        }
        // The sentences of thanks are the author's own; their shape is not.
        QCOMPARE(label(w.about, "lblThanksBetaTesters"), label(w.thanks, "lblThanksBetaTesters"));
        const QStringList paragraphs = label(w.about, "lblThanksCode1").split(u"\r\n"_s);
        QVERIFY(paragraphs.size() == 3 && paragraphs[1].isEmpty() &&
                paragraphs[2].startsWith(u"Also, thanks to "_s));
        QVERIFY(!w.main.findChild<QWidget*>(u"cmdAbout"_s)->toolTip().isEmpty());
        // Every control has a name, lies within the group it belongs to and in no group beside
        // it, and follows the one before it as a person reads: lower, or on the same row
        // further right. A link is one, and pressing it opens its address.
        const std::function<void(QAccessibleInterface*)> check = [&](QAccessibleInterface* group) {
            QRect before;
            for (int i = 0; i < group->childCount(); ++i) {
                QAccessibleInterface* control = group->child(i);
                const QRect at = control->rect();
                const QByteArray name = control->object()->objectName().toLatin1();
                QVERIFY2(group->rect().contains(at) &&
                             !control->text(QAccessible::Name).isEmpty() &&
                             !control->text(QAccessible::Name).contains(u'\r'),
                         name);
                QVERIFY2(before.isNull() || at.top() >= before.center().y() ||
                             (at.left() > before.left() && at.top() < before.bottom()),
                         name);
                for (int j = 0; j < group->childCount(); ++j)
                    QVERIFY2(j == i || group->child(j)->role() != QAccessible::Grouping ||
                                 !group->child(j)->rect().contains(at),
                             name);
                if (control->object()->inherits("nc::LinkLabel")) {
                    QCOMPARE(control->role(), QAccessible::Link);
                    control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                }
                before = at;
                check(control);
            }
        };
        for (QWidget* window : w.all()) {
            window->show();
            check(QAccessible::queryAccessibleInterface(window));
        }
        QTRY_COMPARE(w.p.launched().count(u'\n'), 8); // nine links, pressed once each
        // Built anew at each load, from what the program is then.
        w.p.app.minor = 10;
        w.p.app.revision = 0;
        w.p.app.copyright.clear();
        frmAbout again(w.p.bundle, nullptr);
        QCOMPARE(again.windowTitle() + u'|' + label(again, "lblTitleVersion") + u'|' +
                     label(again, "lblCopyright"),
                 u"About Netcairn 1.100|Netcairn v1.100|Copyright "_s);
    }

    void errorReport() {
        // What the report names for each failure of the system, and for Netcairn's own.
        for (const auto& [errors, shown] :
             {std::pair{QList<int>{ENOENT, ENOTDIR}, "76 Path not found"},
              {{EACCES, EPERM, EROFS, ETXTBSY}, "70 Permission denied"},
              {{ENOSPC, EDQUOT, EFBIG}, "61 Disk full"},
              {{EIO}, "57 Device I/O error"},
              {{ENAMETOOLONG, EINVAL}, "52 Bad file name or number"},
              {{EBUSY, ELOOP}, "75 Path/File access error"}})
            for (const int error : errors)
                QCOMPARE(failureFromErrno(error).what(), shown);
        for (const char* shown :
             {"5 Invalid procedure call or argument", "6 Overflow", "7 Out of memory",
              "51 Internal error", "53 File not found", "482 Printer error",
              "521 Can't open Clipboard", "32755 Cancel was selected."})
            QCOMPARE(Failure::of(atoi(shown)).what(), shown);
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
            OneValue registry;
            registry.type = type;
            registry.bytes = bytes;
            QString keyVal = u"as passed"_s;
            QCOMPARE(ReadKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "PATH", keyVal), read);
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
            Windows w;
            for (QLabel* label : w.about.findChildren<QLabel*>() + w.fun.findChildren<QLabel*>() +
                                     w.thanks.findChildren<QLabel*>()) {
                const QColor text = label->palette().color(QPalette::WindowText);
                QVERIFY2(label->text().isEmpty() ||
                             ContrastRatio(text, palette.color(QPalette::Window)) >= 4.5,
                         qPrintable(label->objectName()));
                if (&palette == &light && label->inherits("nc::LinkLabel")) // the classic colours
                    QCOMPARE(text, QColor(0, 0, 255));
                else if (&palette == &light && black.contains(label->objectName()))
                    QCOMPARE(text, QColor(Qt::black));
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
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
