// The stored options: reading flags, the settings file edited line by line on disk, its
// folders, and an Apply that stores all or nothing.

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "platform/linux/XdgFolders.h"
#include "settings/Options.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace nc;
using namespace Qt::StringLiterals;

class TstSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void flagValue() {
        // text=value; -1: overflow
        for (const QString& row :
             u"1=1|0=0|=0|abc=0| 1=1|\t7=7|1.5=2|2.5=2|3 copies=3|1,7=1|"
             "2.5e1=25|4e=4|-0.4=0|300=-1|-1=-1|255.5=-1|1e999=-1"_s.split(u'|')) {
            int read = -1;
            try {
                read = FlagValue(row.section(u'=', 0, 0));
            } catch (const Failure& failure) {
                QCOMPARE(failure.Number, int(errOverflow));
            }
            QVERIFY2(read == row.section(u'=', 1).toInt(), qPrintable(row));
        }
    }

    void aWriteChangesOnlyItsValues_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("path");     // AutoSaveDir as it must be read
        QTest::addColumn<QByteArray>("after"); // once 1, 0 and "/new" are stored
        QTest::addColumn<int>("refused");      // the line named when the file is left alone
        const auto row = [](const char* name, const char* before, const char* path,
                            const char* after, int refused = 0) {
            QTest::newRow(name) << QByteArray(before) << QString::fromUtf8(path)
                                << QByteArray(after ? after : before) << refused;
        };
        const char* plain = "[Options]\nAutoSaveDir=/new\nAutoCopy=1\nAutoSave=0\n";
        row("as written", "[Options]\nAutoCopy=0\nAutoSave=1\nAutoSaveDir=/a\n\n[Setup]\nX=1\n",
            "/a", "[Options]\nAutoCopy=1\nAutoSave=0\nAutoSaveDir=/new\n\n[Setup]\nX=1\n");
        row("BOMs, CRLF", "\xEF\xBB\xBF[X]\r\n\xEF\xBB\xBF[Options]\r\nAutoSaveDir=/a\r\n", "/a",
            "\xEF\xBB\xBF[X]\r\n\xEF\xBB\xBF[Options]\r\n"
            "AutoSaveDir=/new\r\nAutoCopy=1\r\nAutoSave=0\r\n");
        row("comments, blanks, unknown keys",
            "# mine\n[Options]\n; path\nAutoSaveDir = /a \nC=b\n\n; next\n[X]\nAutoCopy=7\n", "/a",
            "# mine\n[Options]\n; path\nAutoSaveDir = /new\nC=b\nAutoCopy=1\nAutoSave=0\n\n; next\n"
            "[X]\nAutoCopy=7\n");
        row("no section, no last line end", "[X]\ny=1", "",
            "[X]\ny=1\n\n[Options]\nAutoCopy=1\nAutoSave=0\nAutoSaveDir=/new\n");
        row("twice", "[Options]\nAutoSaveDir=/a\n[X]\n[Options]\nAutoSaveDir=/b\nAutoCopy=0\n",
            "/a",
            "[Options]\nAutoSaveDir=/new\nAutoSave=0\n[X]\n[Options]\nAutoSaveDir=/b\n"
            "AutoCopy=1\n");
        row("comma as it stands", "[Options]\nAutoSaveDir=/t/a,b.txt\n", "/t/a,b.txt", plain);
        row("backslash, no last line end", "[Options]\nAutoSaveDir=/t/a\\qb", "/t/a\\qb",
            "[Options]\nAutoSaveDir=/new\nAutoCopy=1\nAutoSave=0");
        row("escaped names", "[Opt%69ons]\nAuto%53aveDir=/a\n", "/a",
            "[Opt%69ons]\nAuto%53aveDir=/new\nAutoCopy=1\nAutoSave=0\n");
        row("not UTF-8", "[Options]\nAutoSaveDir=/a\n# caf\xe9\n", "/a", nullptr, 3);
    }
    void aWriteChangesOnlyItsValues() {
        QFETCH(QByteArray, before);
        QFETCH(QString, path);
        QFETCH(QByteArray, after);
        QFETCH(int, refused);
        TestPlatform p;
        const QString ini = p.writeFile("config/Netcairn/Netcairn.ini", before);
        QCOMPARE(p.stored("AutoSaveDir"), path);
        try {
            StoreOptions(p.settings, "Netcairn", 1, 0, "/new");
            QCOMPARE(p.stored("AutoSaveDir") + p.stored("AutoCopy"), u"/new1"_s);
            QCOMPARE(refused, 0);
        } catch (const Failure& failure) {
            QVERIFY2(refused && failure.Description.contains(ini + u" holds"_s) &&
                         failure.Description.contains(u"line %1,"_s.arg(refused)),
                     qPrintable(failure.Description));
        }
        QCOMPARE(TestPlatform::readFile(ini), after);
    }

    void valuesMeanTheSameToEarlierVersions() {
        // Earlier versions wrote through QSettings; either side reads what the other wrote.
        const QString values =
            u" lead|trail |a,b;c=d|q\"x\\y|t\tn\nr\r|@at|@@at|nul^1f|x\u00011|ü€😀||/t/a b.txt"_s;
        for (const QString& value : QString(values).replace(u'^', QChar(0)).split(u'|')) {
            TestPlatform p;
            const QString ini = p.path("config/Netcairn/Netcairn.ini");
            QSettings(ini, QSettings::IniFormat).setValue("Options/AutoSaveDir", value);
            QCOMPARE(p.stored("AutoSaveDir"), value);
            p.settings.SaveSetting("Netcairn", "X", "Copy", value);
            QCOMPARE(QSettings(ini, QSettings::IniFormat).value("X/Copy").toString(), value);
            QCOMPARE(p.settings.GetSetting("Netcairn", "X", "Copy"), value);
        }
    }

    void firstStartIsTheFirstWithoutOptions() {
        for (const auto& [before, first, after] :
             {std::tuple{"; mine\n", true, "; mine\n"},
              {"[Options]\nAutoSave=0\n", false,
               "[Options]\nAutoSave=0\n\n[Setup]\nDefaultsWritten=1\n"}}) {
            TestPlatform p;
            const QString ini = p.writeFile("config/Netcairn/Netcairn.ini", before);
            QVERIFY2(p.settings.IsFirstStart("Netcairn") == first, before);
            QCOMPARE(TestPlatform::readFile(ini), QByteArray(after));
        }
    }

    void anUnreadableFileIsReportedOnceAndStartUpGoesOn_data() {
        QTest::addColumn<QByteArray>("content"); // none: a folder in the file's place
        QTest::addColumn<QString>("said");       // code|words, besides the file's name
        QTest::newRow("folder") << QByteArray() << u"75|cannot be read"_s;
        QTest::newRow("write-only") << "[Options]\nAutoCopy=1\n"_ba << u"70|cannot be read"_s;
        QTest::newRow("value not UTF-8")
            << "[Options]\nAutoSaveDir=/t/\xff.txt\n"_ba << u"75|line 2;"_s;
    }
    void anUnreadableFileIsReportedOnceAndStartUpGoesOn() {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        const bool writeOnly = QTest::currentDataTag() == "write-only"_L1;
        if (writeOnly && geteuid() == 0)
            QSKIP("root reads every file");
        TestPlatform p;
        const QString ini = p.path("config/Netcairn/Netcairn.ini");
        QVERIFY(content.isNull()
                    ? QDir().mkpath(ini)
                    : chmod(QFile::encodeName(p.writeFile("config/Netcairn/Netcairn.ini", content)),
                            writeOnly ? 0200 : 0600) == 0);
        auto window = p.loadedWindow();
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.OpenSettings"});
        const QString& report = p.dialogs.texts.value(0);
        QVERIFY2(report.contains(u"Code:   "_s + said.section(u'|', 0, 0)) &&
                     report.contains(ini + u' ') && report.contains(said.section(u'|', 1)),
                 qPrintable(report));
        QCOMPARE(window->findChild<QLineEdit*>("txtIPAddress")->text(), u"192.168.1.20"_s);
    }

    void applyStoresAllOrNothing() {
        TestPlatform p;
        p.storeOptions(0, 1, p.path("ip.txt"));
        const QString ini = p.path("config/Netcairn/Netcairn.ini");
        const QByteArray before = TestPlatform::readFile(ini);
        auto window = p.loadedWindow();
        window->findChild<QCheckBox*>("chkAutoCopy")->click();
        window->findChild<QCheckBox*>("chkAutoSave")->click();
        window->findChild<QLineEdit*>("txtAutoSaveDir")->setText(p.path(QString(200, u'n')));
        // Room for the two flags, none for the long path: a write of one value at a time would
        // store the flags and fail at the path.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{rlim_t(before.size() + 8), saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        window->cmdApply_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.cmdApply_Click"});
        QVERIFY2(p.dialogs.texts.value(0).contains(ini + u" could not be written"_s) &&
                     p.dialogs.texts.value(0).contains(u"nothing was stored"_s),
                 qPrintable(p.dialogs.texts.value(0)));
        QCOMPARE(TestPlatform::readFile(ini), before);
    }

    void baseFoldersFollowTheRules() {
        const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                               "XDG_RUNTIME_DIR"};
        const auto set = [&names](const QByteArrayList& values) { // null: unset
            for (int i = 0; i < 5; ++i)
                values[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], values[i]);
        };
        QByteArrayList saved;
        for (const char* name : names)
            saved << qgetenv(name);
        const auto restore = qScopeGuard([&] { set(saved); }); // also when a check fails
        const QString account = QFile::decodeName(getpwuid(geteuid())->pw_dir);
        for (const auto& [home, xdg, folders] : // nullptr: unset
             {std::tuple{"/h", "/x", "/x|/x|/x|/x"},
              {"/h/", "x/rel", "/h/.config|/h/.local/share|/h/.cache|"},
              {nullptr, nullptr, "~/.config|~/.local/share|~/.cache|"},
              {"relative", "", "~/.config|~/.local/share|~/.cache|"}}) {
            set({home, xdg, xdg, xdg, xdg});
            QCOMPARE(QStringList({XdgConfigHome(), XdgDataHome(), XdgCacheHome(), XdgRuntimeDir()})
                         .join(u'|'),
                     QString::fromLatin1(folders).replace(u'~', account));
        }
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
