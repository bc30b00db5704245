// The second-copy guard: over a private session bus, and by a lock file where there is none.

#include "platform/Failure.h"
#include "platform/linux/InstanceGuards.h"
#include "platform/linux/LockFileGuard.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nc;
using namespace Qt::StringLiterals;

class TstGuard : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QProcess bus;
    QString address;
    int connections = 0;

    static bool writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    /// A connection of its own to the private bus, as each copy of Netcairn has.
    QDBusConnection connection() {
        return QDBusConnection::connectToBus(address, QString::number(++connections));
    }
    /// Where the failure of asking the running copy came from ("" for no failure).
    static QString sourceOfFailure(InstanceGuard& later) {
        try {
            later.ActivateFirstCopy();
        } catch (const Failure& failure) {
            return failure.Source;
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
        QCOMPARE(sourceOfFailure(second), "Netcairn");          // no such window: refused at once
        QDBusMessage launcher = QDBusMessage::createMethodCall( // as a desktop calls it
            "example.nc.T", "/example/nc/T", "org.freedesktop.Application", "Activate");
        launcher << QVariantMap{{"desktop-startup-id", "x_TIME9"}};
        QCOMPARE(connection().call(launcher, QDBus::BlockWithGui).type(),
                 QDBusMessage::ReplyMessage);
        const QDBusMessage action = connection().call(
            QDBusMessage::createMethodCall("example.nc.T", "/example/nc/T",
                                           "org.freedesktop.Application", "ActivateAction")
                << u"x"_s << QVariantList() << QVariantMap(),
            QDBus::BlockWithGui);
        QCOMPARE(action.errorName() + ": " + action.errorMessage(),
                 "org.freedesktop.DBus.Error.NotSupported: Netcairn has no actions");

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
                              "first desktop-startup-id=x_TIME9", "second activation-token=t3"}));
    }

    void aRunningCopyThatDoesNotAnswerIsAFailure() {
        QProcess mute; // owns the name, but its thread never takes a call
        mute.start(QCoreApplication::applicationFilePath(), {"mute", address, "example.nc.Mute"});
        QVERIFY(mute.waitForReadyRead(10000));
        DBusInstanceGuard later(connection(), "example.nc.Mute");
        QVERIFY(later.PrevInstance());
        QCOMPARE(sourceOfFailure(later), "org.freedesktop.DBus.Error.NoReply"); // waited for
        mute.kill();
        mute.waitForFinished();
    }

    void everyRunningCopyCountsWhereverTheLockLies() {
        const QString name = QFileInfo(dir.path()).fileName() + ".lock";
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
            const auto start = [&] {
                return std::make_unique<LockFileGuard>(runtime, fallback, name);
            };
            QVERIFY(QDir().mkpath(run) && writeFile(home + "/file", kind));
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
                QVERIFY(kind == "shared"
                            ? QFile::setPermissions(run, QFileDevice::Permissions(0x7777))
                            : QDir(run).removeRecursively());
            else
                QVERIFY(writeFile(lock, kind));
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
        // A copy stopped between its two requests holds the lock alone: it runs, so it counts.
        QFile stopped(dir.filePath("lock0/run/" + name));
        struct flock alone = {F_WRLCK, SEEK_SET, 0, 0, 0};
        QVERIFY(stopped.open(QIODevice::ReadWrite) &&
                !fcntl(stopped.handle(), F_OFD_SETLK, &alone));
        QVERIFY(LockFileGuard(dir.filePath("lock0/run"), {}, name).PrevInstance());
        // Without a session bus the lock file guards.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.filePath("no-bus").toUtf8());
        const auto guard = MakeInstanceGuard("example.nc.T", [&] { // the bus socket is no folder
            return std::make_unique<LockFileGuard>(QString(), dir.filePath("bus/x"), "N.lock");
        });
        QVERIFY_THROWS_EXCEPTION(Failure, guard->RaiseWatchFailure());
    }
};

int main(int argc, char* argv[]) {
    if (argc == 4 && argv[1] == "mute"_L1) { // a copy that hangs: its thread sits in a read
        QCoreApplication application(argc, argv);
        DBusInstanceGuard mute(QDBusConnection::connectToBus(argv[2], "mute"), argv[3]);
        std::puts("owns the name");
        std::fflush(stdout);
        return std::getchar();
    }
    QCoreApplication application(argc, argv);
    TstGuard test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_guard.moc"
