// The second-copy guard: over a private session bus, and by a lock file where there is none.

#include "platform/Failure.h"
#include "platform/linux/InstanceGuards.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace nc;
using namespace Qt::StringLiterals;

class TstGuard : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QProcess bus;
    QString address;
    int connections = 0;

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

    void lockFileWithoutABus() {
        for (const QString kind :
             {"held", "left by a copy that died", "", "\x01\xff 12x", "folder"}) {
            const QString lock = dir.filePath(u"%1.lock"_s.arg(qHash(kind)));
            std::optional<LockFileGuard> other;
            if (kind == "held"_L1 || kind.startsWith("left"_L1))
                QVERIFY(!other.emplace(lock).PrevInstance());
            if (kind.startsWith("left"_L1))
                other.reset(); // the kernel lets its lock go
            else if (kind == "folder"_L1)
                QVERIFY(QDir().mkpath(lock));
            else if (!other) {
                QFile file(lock);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kind.toLatin1()) >= 0);
            }
            LockFileGuard guard(lock);
            QCOMPARE(guard.PrevInstance(), kind == "held"_L1);
            QVERIFY_THROWS_EXCEPTION(Failure, guard.ActivateFirstCopy());
        }
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc == 4 && argv[1] == "mute"_L1) { // a copy that hangs: its thread sits in a read
        DBusInstanceGuard mute(QDBusConnection::connectToBus(argv[2], "mute"), argv[3]);
        std::puts("owns the name");
        std::fflush(stdout);
        return std::getchar();
    }
    TstGuard test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_guard.moc"
