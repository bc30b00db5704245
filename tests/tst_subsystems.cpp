// The subsystems under the forms, against real files, tables, buses and network stacks of the
// test's own: the second-copy guard, the options' file, the address, its file and its page.

#include "TestPlatform.h"
#include "address/LocalAddress.h"
#include "app/frmMain.h"
#include "extras/TriggerWords.h"
#include "output/PathHelpers.h"
#include "platform/linux/InstanceGuards.h"
#include "platform/linux/LinuxAddressSource.h"
#include "platform/linux/LockFileGuard.h"
#include "platform/linux/QtApplicationObject.h"
#include "platform/linux/XdgFolders.h"
#include "settings/Options.h"

#include <QCheckBox>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nc;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A machine a line, besides its loopback interface: name | IPv4 default routes "DEV GATEWAY
// METRIC" (hex, as the kernel writes it) | IPv4 addresses "DEV ADDRESS [down|dead]" | IPv6 default
// routes "DEV [METRIC [FLAGS]]" | IPv6 addresses "ADDRESS SCOPE FLAGS DEV" (G, T, L: a global, a
// temporary, a link-local one) | the address chosen.
const char* const kMachines = R"(
the default route's, not the first|eth1 0100000A 0|docker0 ac110001,eth1 0a000007|||10.0.0.7
its interface's, off the gateway's subnet|eth1 0100000A 0|docker0 ac110001,eth1 c0a80505|||192.168.5.5
lowest metric|eth0 0100000A 600,wlan0 0100090A 100|eth0 0a000007,wlan0 0a090005|||10.9.0.5
the one in the gateway's subnet|eth0 0101A8C0 0|eth0 0a010101,eth0 c0a80114|||192.168.1.20
no default route: first up and running, not loopback||down0 0a020001 down,x 0a040001 dead,eth0 0a030001|||10.3.0.1
IPv4 wins||eth0 0a030001|v0|G 00 80 eth0|10.3.0.1
IPv6 only|||v0|L 20 80 v0,G 00 80 v0|2001:db8::7
stable before temporary|||v0|T 00 01 v0,G 00 00 v0|2001:db8::7
temporary alone|||v0|T 00 01 v0|2001:db8::1234:5678:abcd:ef01
link-local or elsewhere|||v0|L 20 80 v0,G 00 80 v1|127.0.0.1
duplicate, deprecated or tentative|||v0|G 00 08 v0,G 00 20 v0,G 00 40 v0|127.0.0.1
no IPv6 default route||||G 00 80 v0|127.0.0.1
the IPv6 default route of the lowest metric|||v1 500,v0 64|T 00 80 v1,G 00 80 v0|2001:db8::7
never a rejecting or a down IPv6 route|||v0 1 00000203,v1 1 00000002|G 00 80 v0,T 00 80 v1|127.0.0.1
never the loopback interface's IPv6 route|||lo 1,v0|T 00 80 lo,G 00 80 v0|2001:db8::7
text: all zeros|||v0|00000000000000000000000000000000 00 80 v0|::
text: a single zero group stays|||v0|20010db8000000010001000100010001 00 80 v0|2001:db8:0:1:1:1:1:1
text: the first longest run|||v0|20010000000000010000000000010ABC 00 80 v0|2001::1:0:0:1:abc
text: a run at the end|||v0|00010000000000010000000000000000 00 80 v0|1:0:0:1::
)";

/// Runs \a write where no file may grow beyond \a bytes: its writes fail as on a full disk.
void withFileSizeLimit(rlim_t bytes, const std::function<void()>& write) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limited{bytes, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    write();
    setrlimit(RLIMIT_FSIZE, &saved);
}

class TstSubsystems : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QProcess bus;
    QString address;
    int connections = 0;

    /// A connection of its own to the private bus, as each copy of Netcairn has.
    QDBusConnection connection() {
        return QDBusConnection::connectToBus(address, QString::number(++connections));
    }
    /// What \a call failed with: "SOURCE: DESCRIPTION" ("" for no failure).
    static QString failureOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const Failure& failure) {
            return failure.Source + u": "_s + failure.Description;
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase() {
        bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s,
                                     "--address=unix:path=" + dir.filePath("bus")});
        QVERIFY(bus.waitForReadyRead(10000)); // it prints its address once it listens
        address = QString::fromLatin1(bus.readLine().trimmed());
    }
    void cleanupTestCase() {
        bus.kill();
        bus.waitForFinished();
    }

    void everyLaterCopyIsAskedAndReachesTheRunningOne() {
        QStringList calls; // each copy's window, with the leave it was handed
        const auto listen = [&](InstanceGuard& guard, const QString& name) {
            guard.ListenForActivation([&calls, name](const QVariantMap& leave) {
                QString call = name;
                for (auto it = leave.begin(); it != leave.end(); ++it)
                    call += ' ' + it.key() + '=' + it.value().toString();
                calls << call;
                return !call.endsWith("no window"_L1);
            });
        };
        QVariantMap handed{{"activation-token", "t2"}};
        const Handover handover = [&handed] { return handed; };
        auto first = std::make_unique<DBusInstanceGuard>(connection(), "example.nc.T");
        listen(*first, "first");
        QVERIFY(!first->PrevInstance());
        const QString firstConnection = QString::number(connections);
        QDBusConnection secondBus = connection();
        DBusInstanceGuard second(secondBus, "example.nc.T", handover); // answered Yes: runs on
        listen(second, "second");
        QVERIFY(second.PrevInstance());
        second.ActivateFirstCopy();
        handed = {{"desktop-startup-id", "no window"}};
        QVERIFY(failureOf([&] { second.ActivateFirstCopy(); }).startsWith("Netcairn: ")); // at once
        QDBusMessage launcher = QDBusMessage::createMethodCall( // as a desktop calls it
            "example.nc.T", "/example/nc/T", "org.freedesktop.Application", "Activate");
        launcher << QVariantMap{{"desktop-startup-id", "x_TIME9"}};
        QCOMPARE(connection().call(launcher, QDBus::BlockWithGui).type(),
                 QDBusMessage::ReplyMessage);
        for (const auto& [method, arguments, answer] : // what other programs are told
             {std::tuple{"Activate", QVariantList{QVariantMap{{"desktop-startup-id", "no window"}}},
                         "example.nc.T.Error.NoWindow: Netcairn has no window to bring forward"},
              {"ActivateAction", QVariantList{u"x"_s, QVariantList(), QVariantMap()},
               "org.freedesktop.DBus.Error.NotSupported: Netcairn has no actions"}}) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                "example.nc.T", "/example/nc/T", "org.freedesktop.Application", method);
            call.setArguments(arguments);
            const QDBusMessage reply = connection().call(call, QDBus::BlockWithGui);
            QCOMPARE(reply.errorName() + ": " + reply.errorMessage(), answer);
        }

        first.reset(); // the first copy ends; the second is the running one now
        QDBusConnection::disconnectFromBus(firstConnection);
        QTRY_COMPARE(secondBus.interface()->serviceOwner("example.nc.T").value(),
                     secondBus.baseService());
        DBusInstanceGuard third(connection(), "example.nc.T", handover);
        QVERIFY(third.PrevInstance());
        handed = {{"activation-token", "t3"}};
        third.ActivateFirstCopy();
        QCOMPARE(calls,
                 QStringList({"first activation-token=t2", "first desktop-startup-id=no window",
                              "first desktop-startup-id=x_TIME9",
                              "first desktop-startup-id=no window", "second activation-token=t3"}));
    }

    void aRunningCopyThatDoesNotAnswerIsAFailure() {
        QProcess mute; // owns the name, but its thread never takes a call
        mute.start(QCoreApplication::applicationFilePath(), {"mute", address, "example.nc.Mute"});
        QVERIFY(mute.waitForReadyRead(10000));
        DBusInstanceGuard later(connection(), "example.nc.Mute");
        QVERIFY(later.PrevInstance());
        QVERIFY(failureOf([&] { later.ActivateFirstCopy(); }) // waited for
                    .startsWith("org.freedesktop.DBus.Error.NoReply: "));
        mute.kill();
        mute.waitForFinished();
    }

    void everyRunningCopyCountsWhereverTheLockLies() {
        const QString name = QFileInfo(dir.path()).fileName() + ".lock";
        const TestPlatform files;
        const uint descriptors = QDir(u"/proc/self/fd"_s).count(); // none left open after
        // What lies in the runtime folder: leftovers never block, a spoiled place moves the lock
        // to the private fallback, and with no usable place the guard runs blind but says so.
        const std::pair<QByteArray, const char*> rows[] = {
            {"", "run"},       {"\x01\xff 12x", "run"}, {"empty folder", "run"}, {"died", "run"},
            {"link", "c"},     {"full folder", "c"},    {"pipe", "c"},           {"unset", "c"},
            {"relative", "c"}, {"shared", "c"},         {"missing", "c"},        {"foreign", "c"},
            {"unset", ""}};
        for (size_t row = 0; row < std::size(rows); ++row) {
            const auto& [kind, where] = rows[row];
            const QString home = dir.filePath(u"lock%1"_s.arg(row)), run = home + "/run";
            const QString lock = run + '/' + name;
            QString runtime = run, fallback = home + (*where ? "/cache/Netcairn" : "/file/x");
            auto start = [&] { return std::make_unique<LockFileGuard>(runtime, fallback, name); };
            QVERIFY(QDir().mkpath(run));
            files.writeFile(home + "/file", kind);
            if (kind.endsWith("folder"))
                QVERIFY(QDir().mkpath(lock + (kind == "full folder" ? "/kept" : "")));
            else if (kind == "died")
                start().reset();
            else if (kind == "link" || kind == "pipe")
                QVERIFY(kind == "link" ? QFile::link(home + "/out", lock)
                                       : !mkfifo(qPrintable(lock), 0600));
            else if (kind == "unset" || kind == "relative" || (kind == "foreign" && geteuid()))
                runtime = kind == "unset"      ? ""
                          : kind == "relative" ? QDir().relativeFilePath(run)
                                               : "/";
            else if (kind == "foreign") // root's copy with a user's runtime folder
                QVERIFY(!chown(qPrintable(run), 65534, 0));
            else if (kind == "shared" || kind == "missing")
                QVERIFY(kind == "shared" // in a home its group may write to
                            ? QFile::setPermissions(run, QFileDevice::Permissions(0x7777)) &&
                                  QFile::setPermissions(home, QFileDevice::Permissions(0x7775))
                            : QDir(run).removeRecursively());
            else
                files.writeFile(lock, kind);
            auto first = start(), second = start(); // the second answered Yes: it runs on
            QVERIFY2(!first->PrevInstance() && second->PrevInstance() == bool(*where), kind);
            QCOMPARE(first->path(), *where ? (*where == 'r' ? run : fallback) + '/' + name : "");
            first.reset();
            QCOMPARE(start()->PrevInstance(), bool(*where)); // the second still counts
            second.reset();
            const auto last = start();
            QVERIFY(!last->PrevInstance());
            // Never a link's target, never the root folder.
            QVERIFY(!QFileInfo::exists(home + "/out") && !QFileInfo::exists('/' + name));
            if (*where == 'c')
                QCOMPARE(QFileInfo(fallback).permissions() & 0x777,
                         QFileDevice::Permissions(0x700));
            if (!*where)
                QVERIFY_THROWS_EXCEPTION(Failure, last->RaiseWatchFailure());
            last->RaiseWatchFailure(); // once only, and never where the guard watches
        }
        QCOMPARE(QDir(u"/proc/self/fd"_s).count(), descriptors);
        // A copy stopped between its two requests holds the lock alone: it runs, so it counts.
        QFile stopped(dir.filePath("lock0/run/" + name));
        struct flock alone = {F_WRLCK, SEEK_SET, 0, 0, 0};
        QVERIFY(stopped.open(QIODevice::ReadWrite) &&
                !fcntl(stopped.handle(), F_OFD_SETLK, &alone));
        QVERIFY(LockFileGuard(dir.filePath("lock0/run"), {}, name).PrevInstance());
        // Without a session bus the lock file guards.
        const QByteArray session = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        const auto restore = qScopeGuard([&] { qputenv("DBUS_SESSION_BUS_ADDRESS", session); });
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus").toUtf8());
        const auto guard = MakeInstanceGuard("example.nc.T", [&] { // the bus socket is no folder
            return std::make_unique<LockFileGuard>(QString(), dir.filePath("bus/x"), "N.lock");
        });
        QVERIFY_THROWS_EXCEPTION(Failure, guard->RaiseWatchFailure());
        QCOMPARE(failureOf([&] { guard->ActivateFirstCopy(); }), // no way to reach the first copy
                 u"Netcairn: Invalid procedure call or argument"_s);
    }

    void wordsThatOpenTheFunDialogs() { // typed into the address box before About
        for (const auto& [words, list] :
             {std::pair{u"Tobias|tobias wrenfield|tobs|THE WREN|about"_s, FunWords()},
              {u"inky|Pim|Quern|mara lindqvist|JOAQUÍN FERREIRA|Harald Emil Ludvig Wrenfield|"
               "Quillmoor"_s,
               FunThanksWords()}})
            for (const QString& word : words.split(u'|'))
                QVERIFY(MatchesTrigger(word, list) && !MatchesTrigger(word + u' ', list));
    }

    void flagValue() { // text=value; -1: overflow
        for (const QString& row :
             u"1=1|0=0|=0|abc=0| 1=1|\t7=7|1.5=2|2.5=2|3 copies=3|1,7=1|"
             "2.5e1=25|4e=4|5e-1=0|-0.4=0|255=255|300=-1|-1=-1|255.5=-1|1e999=-1"_s.split(u'|')) {
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
        row("a mark alone", "\xEF\xBB\xBF", "",
            "\xEF\xBB\xBF[Options]\nAutoCopy=1\nAutoSave=0\nAutoSaveDir=/new\n");
        row("three bytes, no line end", "x=1", "",
            "x=1\n\n[Options]\nAutoCopy=1\nAutoSave=0\nAutoSaveDir=/new\n");
        row("no section, no last line end", "[X]\ny=1", "",
            "[X]\ny=1\n\n[Options]\nAutoCopy=1\nAutoSave=0\nAutoSaveDir=/new\n");
        row("twice", "[Options]\nAutoSaveDir=/a\n[X]\n[Options]\nAutoSaveDir=/b\nAutoCopy=0\n",
            "/a",
            "[Options]\nAutoSaveDir=/new\nAutoSave=0\n[X]\n[Options]\nAutoSaveDir=/b\n"
            "AutoCopy=1\n");
        row("comma as it stands", "[Options]\nAutoSaveDir=/t/a,b.txt\n", "/t/a,b.txt", plain);
        row("backslash, no last line end", "[Options]\nAutoSaveDir=/t/a\\qb", "/t/a\\qb",
            "[Options]\nAutoSaveDir=/new\nAutoCopy=1\nAutoSave=0");
        row("escaped names", "[Opt%69ons]\nAuto%U0053aveDir=/a\n", "/a",
            "[Opt%69ons]\nAuto%U0053aveDir=/new\nAutoCopy=1\nAutoSave=0\n");
        row("wide blanks",
            "\u3000\u0085[Options]\u205f\u2000\u2029\n\u2009\u1680\u2028AutoSaveDir"
            "\u202f\u00a0\u200a=\u2003/a’\u205f\u2028\n",
            "/a’",
            "\u3000\u0085[Options]\u205f\u2000\u2029\n\u2009\u1680\u2028AutoSaveDir"
            "\u202f\u00a0\u200a=/new\nAutoCopy=1\nAutoSave=0\n");
        row("the first line end counts", "[Options]\r\nAutoSaveDir=/a\n", "/a",
            "[Options]\r\nAutoSaveDir=/new\nAutoCopy=1\r\nAutoSave=0\r\n");
        row("keys that only look alike", "[Options]\nAutoSaveDir‟=/x\nAutoCopy、=7\nÅAutoSave=5\n",
            "",
            "[Options]\nAutoSaveDir‟=/x\nAutoCopy、=7\nÅAutoSave=5\n"
            "AutoCopy=1\nAutoSave=0\nAutoSaveDir=/new\n");
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
            const QString said = u"Path/File access error: the settings file %1 holds text that "
                                 "is not UTF-8 in line %2, which Netcairn cannot keep exactly; it "
                                 "has left the file as it is, and nothing was stored."_s;
            QCOMPARE(failure.Description, said.arg(ini).arg(refused));
        }
        QCOMPARE(TestPlatform::readFile(ini), after);
    }

    void settingsFilesOfAnyShape() { // the fuzz target over its checked-in corpus
        const QStringList inputs = QDir(NETCAIRN_FUZZ_CORPUS).entryList(QDir::Files);
        QVERIFY(!inputs.isEmpty());
        for (const QString& name : inputs) { // a broken rule aborts
            const QByteArray input = TestPlatform::readFile(NETCAIRN_FUZZ_CORPUS "/" + name);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
        }
    }

    void valuesMeanTheSameToEarlierVersions() { // as QSettings, which wrote them, means them
        const QString values =
            u" lead|trail |a;b|c,d|=e|q\"x\\y|t\tn\nr\r\a\b\f\v|@at|@@at|nul^1f|x\u00010|ü€😀||"
            "/t/a b.txt|(a)|[b]|c]|\u001bG\u007fd"_s;
        for (const QString& value : QString(values).replace(u'^', QChar(0)).split(u'|')) {
            TestPlatform p;
            const QString ini = p.path("config/Netcairn/Netcairn.ini");
            QSettings(ini, QSettings::IniFormat).setValue("Options/AutoSaveDir", value);
            QCOMPARE(p.stored("AutoSaveDir"), value);
            QFile::copy(ini, ini + ".q"); // and what QSettings makes of the next change
            QSettings(ini + ".q", QSettings::IniFormat).setValue("X/Copy", value);
            p.settings.SaveSetting("Netcairn", "X", "Copy", value);
            QCOMPARE(TestPlatform::readFile(ini), TestPlatform::readFile(ini + ".q"));
            QCOMPARE(p.settings.GetSetting("Netcairn", "X", "Copy"), value);
        }
    }

    void troubleWithTheFileIsReportedOnceAndLeavesIt_data() {
        QTest::addColumn<QByteArray>("content"); // none: a folder in the file's place
        QTest::addColumn<QString>("said");       // procedure|code|words, besides the file's name
        const QString unread =
            u"cannot be read; Netcairn goes on without the options stored there."_s;
        QTest::newRow("folder") << QByteArray() << "OpenSettings|75|" + unread;
        QTest::newRow("write-only") << QByteArray("[Options]") << "OpenSettings|70|" + unread;
        QTest::newRow("value not UTF-8")
            << "[Options]\nAutoSaveDir=/t/\xff.txt\n"_ba
            << u"OpenSettings|75|holds text that is not UTF-8 in line 2; Netcairn cannot read it "
               "exactly. Repair that line."_s;
        // Room for the flags, not the long path: a write of one value at a time would half-store.
        QTest::newRow("disk full at Apply")
            << ""_ba
            << u"cmdApply_Click|61|could not be written; it keeps what it held, and nothing was "
               "stored."_s;
    }
    void troubleWithTheFileIsReportedOnceAndLeavesIt() {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        const bool writeOnly = QTest::currentDataTag() == "write-only"_L1;
        const bool apply = !content.isNull() && content.isEmpty();
        if (writeOnly && geteuid() == 0)
            QSKIP("root reads every file");
        TestPlatform p;
        const QString ini = content.isNull() ? p.path("config/Netcairn/Netcairn.ini")
                                             : p.writeFile("config/Netcairn/Netcairn.ini", content);
        QVERIFY(content.isNull() ? QDir().mkpath(ini)
                                 : chmod(QFile::encodeName(ini), writeOnly ? 0200 : 0600) == 0);
        if (apply)
            p.storeOptions(0, 1, p.path("ip.txt"));
        const QByteArray before = TestPlatform::readFile(ini);
        auto window = p.loadedWindow();
        if (apply) {
            window->findChild<QCheckBox*>("chkAutoCopy")->click();
            window->findChild<QCheckBox*>("chkAutoSave")->click();
            window->findChild<QLineEdit*>("txtAutoSaveDir")->setText(p.path(QString(200, u'n')));
            withFileSizeLimit(before.size() + 8, [&] { window->cmdApply_Click(); });
        }
        QCOMPARE(p.dialogs.seen,
                 QStringList{"report frmMain.Sub." + said.section(u'|', 0, 1).replace(u'|', u' ')});
        const QString& report = p.dialogs.texts.value(0);
        QVERIFY2(report.contains(ini + u' ' + said.section(u'|', 2)), qPrintable(report));
        QCOMPARE(window->findChild<QLineEdit*>("txtIPAddress")->text(), u"192.168.1.20"_s);
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
        const auto noHome = [] { IniSettingsStore({}).GetSetting("N", "Options", "X"); };
        QVERIFY(failureOf(noHome).contains("the settings file (no home folder known) cannot"));
        // Where an installed copy lives, which keeps its address file in the data folder.
        for (const QString& row : u"/usr=1|/usr/bin=1|/bin=1|/sbin/x=1|/opt/nc=1|/snap/nc/1=1|"
                                  "/usrx=0|/binx/y=0|/home/u/bin=0"_s.split(u'|'))
            QVERIFY2(IsSystemProgramFolder(row.section(u'=', 0, 0)) == row.endsWith(u'1'),
                     qPrintable(row));
    }

    void localIp_data() {
        QTest::addColumn<QStringList>("machine");
        for (const QString& line : QString::fromLatin1(kMachines).trimmed().split(u'\n'))
            QTest::newRow(qPrintable(line.section(u'|', 0, 0))) << line.split(u'|');
    }
    void localIp() {
        QFETCH(QStringList, machine);
        const auto entries = [&](int column) {
            QList<QStringList> fields;
            for (const QString& entry : machine[column].split(u',', Qt::SkipEmptyParts))
                fields << entry.split(u' ');
            return fields;
        };
        AddressTables tables;
        tables.ipv4Routes = "Iface\tDestination\tGateway\n";
        tables.ipv4 << InterfaceAddress{u"lo"_s, 0x7f000001, 0xff000000, true, true, true};
        for (const QStringList& f : entries(1))
            tables.ipv4Routes +=
                (f[0] + " 00000000 " + f[1] + " 0003 0 0 " + f[2] + " 00000000\n").toLatin1();
        for (const QStringList& f : entries(2)) // "dead": up, but no carrier
            tables.ipv4 << InterfaceAddress{f[0], f[1].toUInt(nullptr, 16), 0xffffff00,
                                            f.value(2) != "down"_L1, f.size() == 2};
        for (const QStringList& f : entries(3))
            tables.ipv6Routes += QByteArray(32, '0') + " 00 " + QByteArray(32, '0') + " 00 " +
                                 QByteArray(32, '1') + ' ' + f.value(1, u"400"_s).toLatin1() +
                                 " 00000001 00000000 " + f.value(2, u"00000003"_s).toLatin1() +
                                 ' ' + f[0].toLatin1() + '\n';
        const QMap<QString, QString> kinds{{u"G"_s, u"20010db8000000000000000000000007"_s},
                                           {u"T"_s, u"20010db80000000012345678abcdef01"_s},
                                           {u"L"_s, u"fe800000000000000000000000000007"_s}};
        for (const QStringList& f : entries(4))
            tables.ipv6Addresses +=
                (kinds.value(f[0], f[0]) + " 02 40 " + f.mid(1).join(u' ') + u'\n').toLatin1();
        QCOMPARE(LocalIP(tables), machine[5]);
    }

    /// The real backend's choice in network namespaces of the test's own (root and iproute2).
    void chosenInNetworkNamespaces() {
        // Named at random: namespace names are machine-wide, and pids repeat across PID namespaces.
        const QString tag = QString::number(QRandomGenerator::global()->generate64(), 36);
        const QString v4 = "nc4-" + tag, v6 = "nc6-" + tag;
        const auto ip = [](const QStringList& args, const QString& commands) { // one a line
            QProcess run;
            run.start(u"ip"_s, args + QStringList{u"-batch"_s, u"-"_s});
            run.write(commands.toLatin1());
            run.closeWriteChannel();
            return run.waitForFinished() && run.exitCode() == 0;
        };
        const auto removed = qScopeGuard([&] { ip({}, "netns del " + v4 + "\nnetns del " + v6); });
        // The veth pair %1 and %1p, both up, with the address %2 on %1 (IPv6 usable at once).
        const QString veth = u"link add %1 type veth peer name %1p\naddr add %2 dev %1 %3\n"
                             "link set %1 up\nlink set %1p up\n"_s;
        const std::tuple<QString, QString, const char*> steps[] = {
            {v4, "link set lo up", "127.0.0.1"}, // loopback alone
            {v4, veth.arg("x0", "192.168.77.5/24", "") + veth.arg("v0", "10.0.0.7/24", ""),
             "192.168.77.5"}, // no route: the first one up
            {v6, "link set lo up\n" + veth.arg("v0", "2001:db8::7/64", "nodad"), "127.0.0.1"},
            {v4, "route add default via 10.0.0.1 dev v0", "10.0.0.7"},
            {v6, "route add default via 2001:db8::1 dev v0", "2001:db8::7"}};
        if (geteuid() != 0 || !ip({}, "netns add " + v4 + "\nnetns add " + v6))
            QSKIP("no network namespace can be made here");
        for (const auto& [ns, commands, chosen] : steps) {
            if (!ip({u"-n"_s, ns}, commands))
                QSKIP("no veth pair can be made here");
            QProcess run;
            run.start(u"ip"_s, {u"netns"_s, u"exec"_s, ns, QCoreApplication::applicationFilePath(),
                                u"localip"_s});
            QVERIFY(run.waitForFinished());
            QCOMPARE(run.readAllStandardOutput().trimmed(), chosen);
        }
    }

    void addressFileKeepsWhatTheUserHas_data() {
        QTest::addColumn<int>("report"); // 0: written
        QTest::addColumn<int>("mode");   // the file's before
        for (const QString& row :
             u"file=0=640|fifo=75=600|disk full=61=600|read-only folder=0=6700|set-id bits=0=6750|"
             "someone else's link=70=600|someone else's link in my folder=0=600|"
             "someone else's file=0=6664|second hard link=0=604|"
             "the same address=0=644|read-only file=70=444|second link, disk full=61=604"_s.split(
                 u'|'))
            QTest::newRow(qPrintable(row.section(u'=', 0, 0)))
                << row.section(u'=', 1, 1).toInt() << row.section(u'=', 2).toInt(nullptr, 8);
    }
    void addressFileKeepsWhatTheUserHas() {
        const QString kind = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(int, report);
        QFETCH(int, mode);
        TestPlatform p;
        const QByteArray earlier(kind.endsWith("link, disk full"_L1) // shorter than the address
                                     ? "1"
                                     : "a much longer earlier content\r\nsecond line\r\n");
        const QString file = p.writeFile("out/ip.txt", earlier);
        const QString folder = p.path("out");
        const QByteArray name = QFile::encodeName(file);
        QString path = file;
        // Makes the folder take no new file, root's too (chattr), or gives it back; false: no way.
        const auto readOnly = [&folder](bool on) {
            if (geteuid() != 0)
                return chmod(QFile::encodeName(folder), on ? 0500 : 0700) == 0;
            return QProcess::execute(u"chattr"_s, {on ? u"+i"_s : u"-i"_s, folder}) == 0;
        };
        if (kind == "fifo"_L1) {
            path = p.path("out/pipe");
            QCOMPARE(mkfifo(QFile::encodeName(path), 0600), 0);
        } else if (kind == "read-only folder"_L1 && !readOnly(true)) {
            QSKIP("this system cannot make a folder read-only");
        } else if (kind.startsWith("someone else's"_L1) && geteuid() != 0) {
            QSKIP("another user's file needs root");
        } else if (kind == "read-only file"_L1 && geteuid() == 0) {
            QSKIP("root writes every file; the run as nobody checks it");
        } else if (kind.startsWith("someone else's link"_L1)) {
            const bool shared = kind.endsWith("link"_L1); // world-writable and sticky, as /tmp
            path = p.path(shared ? "shared/ip.txt" : "own/ip.txt");
            QVERIFY(QDir().mkpath(QFileInfo(path).path()) &&
                    chmod(QFile::encodeName(QFileInfo(path).path()), shared ? 01777 : 0700) == 0);
            QVERIFY(QFile::link(file, path) && lchown(QFile::encodeName(path), 65534, 65534) == 0);
        } else if (kind == "someone else's file"_L1) {
            QCOMPARE(chown(name, 65534, 0), 0);     // root's group: only the owner is handed back
        } else if (kind == "the same address"_L1) { // left as it is, its time included
            p.writeFile("out/ip.txt", "127.0.0.1\r\n");
            const timespec epoch[2] = {};
            QCOMPARE(utimensat(AT_FDCWD, name, epoch, 0), 0);
        } else if (kind.startsWith("second"_L1)) {
            QVERIFY(QDir().mkpath(p.path("links")));
            QCOMPARE(link(name, QFile::encodeName(p.path("links/ip.txt"))), 0);
        }
        QCOMPARE(chmod(name, mode_t(mode)), 0);
        struct stat before {};
        QCOMPARE(stat(name, &before), 0);
        p.storeOptions(0, 1, path);
        frmMain window(p.bundle);
        window.findChild<QLineEdit*>("txtIPAddress")->setText("127.0.0.1 (offline)");
        const uint descriptors = QDir(u"/proc/self/fd"_s).count(); // none left open after
        withFileSizeLimit(kind.endsWith("disk full"_L1) ? 4 : RLIM_INFINITY,
                          [&] { window.AutoSave(); });
        QCOMPARE(QDir(u"/proc/self/fd"_s).count(), descriptors);
        if (kind == "read-only folder"_L1)
            readOnly(false);

        QCOMPARE(p.dialogs.seen.join(u'|'),
                 report ? u"report frmMain.Sub.AutoSave %1"_s.arg(report) : QString());
        QCOMPARE(TestPlatform::readFile(file), report ? earlier : QByteArray("127.0.0.1\r\n"));
        QCOMPARE(QFileInfo(path).isFile(), kind != "fifo"_L1); // a pipe stays a pipe
        QCOMPARE(QFileInfo(file).lastModified().toSecsSinceEpoch() == 0,
                 kind == "the same address"_L1);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System).size(),
                 kind == "fifo"_L1 ? 2 : 1);
        // The owner's file and bits still, never set-id ones; a second name names the same file.
        struct stat info {};
        QCOMPARE(lstat(name, &info), 0);
        QCOMPARE(
            QList<uint>({info.st_uid, info.st_gid, info.st_mode & 07777}),
            QList<uint>({before.st_uid, before.st_gid, before.st_mode & (report ? 07777 : 0777)}));
        QCOMPARE(TestPlatform::readFile(p.path("links/ip.txt")),
                 kind.startsWith("second"_L1) ? TestPlatform::readFile(file) : QByteArray());
    }

    void commandLineAnsweredWithoutADesktop() { // no display, no bus, no platform chosen
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM"})
            bare.remove(name);
        const QString version = u"^Netcairn 1\\.2\\.1\n$"_s;
        for (const auto& [arguments, status, out, error] :
             {std::tuple{"--version", 0, version, u"^$"_s},
              {"-v", 0, version, u"^$"_s},
              {"--help", 0,
               u"\n  -h, --help +Show this help and exit\\.\n  -v, --version +Show "
               "the version and exit\\.\n$"_s,
               u"^$"_s}, // Qt's own options hidden
              {"-session 1a2b3c -platform xcb -display :99 --version", 0, version, u"^$"_s},
              {"-style=Fusion -reverse -h", 0, u"^Usage: .*netcairn"_s, u"^$"_s},
              {"--bogus", 2, u"^$"_s, u"^netcairn: Unknown option 'bogus'"_s},
              {"-session", 2, u"^$"_s, u"session"_s}}) {
            QProcess netcairn;
            netcairn.setProcessEnvironment(bare);
            netcairn.start(NETCAIRN_PROGRAM, QString::fromLatin1(arguments).split(u' '));
            QVERIFY(netcairn.waitForFinished());
            const QString said =
                netcairn.readAllStandardOutput() + u'|' + netcairn.readAllStandardError();
            QVERIFY2(netcairn.exitCode() == status &&
                         said.section(u'|', 0, 0).contains(QRegularExpression(out)) &&
                         said.section(u'|', 1).contains(QRegularExpression(error)),
                     qPrintable(QLatin1String(arguments) + u' ' + said));
        }
    }

    void printedPageShowsTheAddressTwoCentimetresIn() {
        QVERIFY(failureOf([] {
                    ModulePrinter(u"/no/module.so"_s).SetFontName("x");
                }).startsWith("Printer: Printer error: Cannot load library /no/module.so"));
        TestPlatform p;
        auto window = p.loadedWindow();
        window->findChild<QLineEdit*>("txtIPAddress")->setText("127.0.0.1 (offline)");
        // Qt's print dialog, cancelled, then told to print to a file (the tests see no printer)
        p.dialogs.answers << u"Escape"_s
                          << "click:filename;Ctrl+A;type:" + p.path("page.pdf") + ";Alt+P";
        for (const bool accepted : {false, true}) { // a page only once the dialog is accepted
            window->cmdPrint_Click();
            QCOMPARE(QFile::exists(p.path("page.pdf")), accepted);
        }
        QCOMPARE(p.dialogs.seen, QStringList(2, u" Print IP-Address"_s)); // no report
        QProcess text;
        text.start(u"pdftotext"_s, {u"-bbox"_s, p.path("page.pdf"), u"-"_s});
        QVERIFY(text.waitForFinished());
        const QString html = QString::fromUtf8(text.readAllStandardOutput());
        const auto word = QRegularExpression(u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                             "xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">([^<]*)</word>"_s)
                              .match(html);
        QCOMPARE(word.captured(4), u"127.0.0.1"_s);
        // The line is as high as the classic font at 18 points is on this desktop.
        const QFontMetricsF classic(QFont(u"MS Sans Serif"_s, 18));
        const double points = classic.height() * 72 / classic.fontDpi();
        const QRectF printable = QPrinter().pageLayout().paintRectPoints();
        const double twoCm = 72.0 * 2 / 2.54, x = word.captured(1).toDouble(),
                     y = word.captured(2).toDouble(), height = word.captured(3).toDouble() - y;
        QVERIFY2(qAbs(height - points) < 0.5 && qAbs(x - printable.left() - twoCm) < 4 &&
                     qAbs(y - printable.top() - twoCm) < 6 && html.count(u"<word"_s) == 1,
                 qPrintable(html + QString::number(points)));
    }
};

int main(int argc, char* argv[]) {
    if (argc == 2 && argv[1] == "localip"_L1) { // the address as Netcairn reads it, for others
        LinuxAddressSource source;
        return std::printf("%s\n", qPrintable(LocalIP(source))) < 0;
    }
    if (argc == 4 && argv[1] == "mute"_L1) { // a copy that hangs: its thread sits in a read
        QCoreApplication application(argc, argv);
        DBusInstanceGuard mute(QDBusConnection::connectToBus(argv[2], "mute"), argv[3]);
        std::puts("owns the name");
        std::fflush(stdout);
        return std::getchar();
    }
    QApplication application(argc, argv);
    TstSubsystems test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_subsystems.moc"
