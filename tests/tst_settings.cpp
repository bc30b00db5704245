// The stored options: reading flags, the pending-changes rule, and a settings file that is
// never damaged.

#include "TestPlatform.h"
#include "settings/Options.h"

#include <QTest>

using namespace nc;
using namespace Qt::StringLiterals;

class TstSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void flagValue() {
        for (const auto& [text, value] : // -1: overflow
             {std::pair{"1", 1},
              {"0", 0},
              {"", 0},
              {"abc", 0},
              {" 1", 1},
              {"\t7", 7},
              {"1.5", 2},
              {"2.5", 2},
              {"3 copies", 3},
              {"1,7", 1},
              {"2.5e1", 25},
              {"4e", 4},
              {"-0.4", 0},
              {"300", -1},
              {"-1", -1},
              {"255.5", -1},
              {"1e999", -1}}) {
            int read = -1;
            try {
                read = FlagValue(QString::fromLatin1(text));
            } catch (const Failure& failure) {
                QCOMPARE(failure.Number, int(errOverflow));
            }
            QVERIFY2(read == value, text);
        }
    }

    void pendingChanges() {
        const SettingsRecord stored{0, 1, u"/a/ip.txt"_s};
        QVERIFY(!HasPendingChanges(0, 1, "/a/ip.txt", stored));
        QVERIFY(HasPendingChanges(0, 1, "/a/IP.txt", stored));
        QVERIFY(HasPendingChanges(1, 1, "/a/ip.txt", stored));
        QVERIFY(HasPendingChanges(0, 0, "/a/ip.txt", stored));
    }

    void settingsFileIsNeverDamaged_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("path"); // AutoSaveDir as it must be read
        QTest::addColumn<int>("badLine");  // 0: the file may be rewritten
        const auto row = [](const char* name, const char* before, const char* path, int bad) {
            QTest::newRow(name) << QByteArray(before) << QString::fromUtf8(path) << bad;
        };
        row("as written", "[Options]\nAutoSaveDir=/a\n[Setup]\nDefaultsWritten=1\n", "/a", 0);
        row("# comment", "# mine\n[Options]\nAutoSaveDir=/a\n", "/a", 1);
        row("; comment", "[Options]\n; mine\nAutoSaveDir=/a\n", "/a", 2);
        row("no =", "[Options]\nAutoSaveDir=/a\nwords\n", "/a", 3);
        row("options, no marker", "[Options]\nAutoCopy=1\nAutoSaveDir=/a\n", "/a", 0);
        row("comma", "[Options]\nAutoSaveDir=/t/a,b.txt\n", "/t/a,b.txt", 0);
        row("backslash", "[Options]\nAutoSaveDir=/t/a\\qb\n", "/t/a\\qb", 0);
        row("quoted", "[Options]\nAutoSaveDir=\" /t/a\\\\b, c\"\n", " /t/a\\b, c", 0);
    }
    void settingsFileIsNeverDamaged() {
        QFETCH(QByteArray, before);
        QFETCH(QString, path);
        QFETCH(int, badLine);
        TestPlatform p;
        const QString ini = p.writeFile("config/Netcairn/Netcairn.ini", before);
        QCOMPARE(p.stored("AutoSaveDir"), path);
        QVERIFY(!p.settings.IsFirstStart("Netcairn")); // the user's options: no defaults over them
        try {
            p.settings.SaveSetting("Netcairn", OptionsSection, "AutoSave", "1");
            QCOMPARE(p.stored("AutoSave"), u"1"_s);
        } catch (const Failure& failure) {
            QCOMPARE(failure.Number, int(errPathFileAccess));
            QVERIFY(failure.Description.contains(ini + u" cannot"_s));
            QVERIFY(failure.Description.contains(u"line %1 "_s.arg(badLine)));
        }
        QCOMPARE(p.stored("AutoSaveDir"), path);
        QCOMPARE(TestPlatform::readFile(ini) == before, badLine > 0);
    }

    void textThatIsNotUtf8IsReportedOnce() {
        TestPlatform p;
        const QByteArray before("[Options]\nAutoSaveDir=/t/\xff.txt\n");
        const QString ini = p.writeFile("config/Netcairn/Netcairn.ini", before);
        QVERIFY_THROWS_EXCEPTION(Failure, p.stored("AutoSaveDir"));
        QCOMPARE(p.stored("AutoSaveDir"), QString());
        QVERIFY_THROWS_EXCEPTION(Failure, p.storeOptions(0, 1, "/b"));
        QCOMPARE(TestPlatform::readFile(ini), before);
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
