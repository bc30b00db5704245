// The stored options: reading flags, the INI store on disk, and the first-start defaults.

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "settings/SettingsIo.h"
#include "settings/SettingsNumber.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

using namespace nc;

class TstSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void flagValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -1: overflow
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("word") << "abc" << 0;
        QTest::newRow("leading blank") << " 1" << 1;
        QTest::newRow("leading tab") << "\t7" << 7;
        QTest::newRow("one and a half") << "1.5" << 2;
        QTest::newRow("two and a half") << "2.5" << 2;
        QTest::newRow("trailing text") << "3 copies" << 3;
        QTest::newRow("comma is no point") << "1,7" << 1;
        QTest::newRow("exponent") << "2.5e1" << 25;
        QTest::newRow("letter without exponent") << "4e" << 4;
        QTest::newRow("negative rounding to zero") << "-0.4" << 0;
        QTest::newRow("point only") << "." << 0;
        QTest::newRow("300") << "300" << -1;
        QTest::newRow("minus one") << "-1" << -1;
        QTest::newRow("rounds past 255") << "255.5" << -1;
        QTest::newRow("huge exponent") << "1e999" << -1;
    }
    void flagValue() {
        QFETCH(QString, text);
        QFETCH(int, value);
        try {
            QCOMPARE(int(FlagValue(text)), value);
        } catch (const Failure& failure) {
            QCOMPARE(value, -1);
            QCOMPARE(failure.Number, int(errOverflow));
        }
    }

    void overflowKeepsTheFieldsReadBeforeIt() {
        TestPlatform p;
        p.storeOptions(1, 1, QStringLiteral("/new"));
        p.realSettings.SaveSetting(p.app.title, OptionsSection, QStringLiteral("AutoSave"),
                                   QStringLiteral("300"));
        frmMain window(p.bundle);
        window.OpenSettings();
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.OpenSettings"});

        SettingsRecord record{0, 0, QStringLiteral("old")};
        QVERIFY_THROWS_EXCEPTION(Failure, ReadSettings(p.realSettings, p.app.title, record));
        QCOMPARE(record.AutoCopy, quint8(1));
        QCOMPARE(record.AutoSave, quint8(0));
        QCOMPARE(record.AutoSaveDir, QStringLiteral("old"));
    }

    void absentKeysReadAsOffAndEmpty() {
        TestPlatform p;
        SettingsRecord record{1, 1, QStringLiteral("old")};
        ReadSettings(p.realSettings, p.app.title, record);
        QCOMPARE(record.AutoCopy, quint8(0));
        QCOMPARE(record.AutoSave, quint8(0));
        QVERIFY(record.AutoSaveDir.isEmpty());
    }

    void defaultsAreWrittenOnTheFirstStartOnly() {
        TestPlatform p;
        {
            frmMain first(p.bundle);
            first.Form_Load();
        }
        const QString ini =
            TestPlatform::readFile(p.realSettings.fileFor(QStringLiteral("Netcairn")));
        QVERIFY(ini.contains(QStringLiteral("[Options]\nAutoCopy=0\nAutoSave=1\n")));
        QCOMPARE(p.stored(QStringLiteral("AutoSaveDir")),
                 p.app.path + QStringLiteral("/LocalIp.txt"));

        p.realSettings.SaveSetting(p.app.title, OptionsSection, QStringLiteral("AutoCopy"),
                                   QStringLiteral("1"));
        p.settings.writes.clear();
        frmMain second(p.bundle);
        second.Form_Load();
        QVERIFY(p.settings.writes.isEmpty());
        QCOMPARE(p.stored(QStringLiteral("AutoCopy")), QStringLiteral("1"));
    }

    void defaultPath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("program folder") << "/opt/x" << true << "/opt/x/LocalIp.txt";
        QTest::newRow("root keeps both separators") << "/" << true << "//LocalIp.txt";
        QTest::newRow("installed copy") << "/usr/bin" << false << "DATA/LocalIp.txt";
    }
    void defaultPath() {
        QFETCH(QString, folder);
        QFETCH(bool, writable);
        QFETCH(QString, expected);
        FakeApplicationObject app;
        app.path = folder;
        app.pathWritable = writable;
        app.dataPath = QStringLiteral("DATA");
        QCOMPARE(DefaultAddressFilePath(app), expected);
    }

    void damagedFileIsNeverWrittenOver() {
        TestPlatform p;
        const QByteArray damaged("[Options]\nAutoCopy=1\nmy notes about the path\n");
        const QString file = p.writeFile(QStringLiteral("config/Netcairn/Netcairn.ini"), damaged);
        QCOMPARE(p.stored(QStringLiteral("AutoCopy")), QStringLiteral("1"));
        frmMain window(p.bundle);
        window.Form_Load(); // no marker: a first start, whose defaults cannot be written
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.WriteDefaultSettings"});
        QVERIFY(p.dialogs.boxes[0].prompt.contains(QStringLiteral("damaged")));
        QCOMPARE(TestPlatform::readFile(file), damaged);

        QVERIFY(IniTextIsDamaged(QByteArray("[broken\n")));
        QVERIFY(IniTextIsDamaged(QByteArray("=value\n")));
        QVERIFY(IniTextIsDamaged(QByteArray("A=1\0\n", 5)));
        QVERIFY(IniTextIsDamaged(QByteArray("A=\xff\n")));
        QVERIFY(!IniTextIsDamaged(QByteArray("; note\n# note\r\n\n[Options]\r\n A = 1 \n")));
    }

    void storeThatCannotBeWrittenLosesNothing() {
        TestPlatform p;
        p.storeOptions(0, 1, QStringLiteral("/kept"));
        const QString file = p.realSettings.fileFor(QStringLiteral("Netcairn"));
        const QByteArray before = TestPlatform::readFile(file);
        ReadOnlyFolder readOnly(QFileInfo(file).path());
        if (!readOnly.ok())
            QSKIP("this system cannot make a folder read-only");
        QVERIFY_THROWS_EXCEPTION(Failure, p.realSettings.SaveSetting(p.app.title, OptionsSection,
                                                                     QStringLiteral("AutoCopy"),
                                                                     QStringLiteral("1")));
        QCOMPARE(TestPlatform::readFile(file), before);
        QCOMPARE(p.stored(QStringLiteral("AutoCopy")), QStringLiteral("0"));
        QCOMPARE(p.stored(QStringLiteral("AutoSaveDir")), QStringLiteral("/kept"));
    }

    void anotherCopysWriteIsSeenByTheNextRead() {
        TestPlatform p;
        p.storeOptions(0, 1, QStringLiteral("/a"));
        QCOMPARE(p.stored(QStringLiteral("AutoCopy")), QStringLiteral("0"));
        IniSettingsStore other(p.path(QStringLiteral("config")));
        other.SaveSetting(p.app.title, OptionsSection, QStringLiteral("AutoCopy"),
                          QStringLiteral("1"));
        QCOMPARE(p.stored(QStringLiteral("AutoCopy")), QStringLiteral("1"));
        const QString valueWithComma = QStringLiteral("/tmp/a, b.txt");
        other.SaveSetting(p.app.title, OptionsSection, QStringLiteral("AutoSaveDir"),
                          valueWithComma);
        QCOMPARE(p.stored(QStringLiteral("AutoSaveDir")), valueWithComma);
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
