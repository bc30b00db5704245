// The second-copy guard: over a private session bus, and by a lock file where there is none.

#include "platform/Failure.h"
#include "platform/linux/InstanceGuards.h"
#include "platform/linux/LockFileGuard.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
        QStringList calls;
        const auto listen = [&](InstanceGuard& guard, const QString& name) {
            guard.ListenForActivation([&calls, name](const QString& title) {
                calls << name + ' ' + title;
                return title == "Netcairn"_L1;
            });
        };
        auto first = std::make_unique<DBusInstanceGuard>(connection(), "example.nc.T");
        listen(*first, "first");
        QVERIFY(!first->PrevInstance());
        const QString firstConnection = QString::number(connections);
        QDBusConnection secondBus = connection();
        DBusInstanceGuard second(secondBus, "example.nc.T"); // answered Yes: it keeps running
        listen(second, "second");
        QVERIFY(second.PrevInstance());
        second.ActivateFirstCopy("Netcairn");
        QVERIFY_THROWS_EXCEPTION(Failure, second.ActivateFirstCopy("Other"));

        first.reset(); // the first copy ends; the second is the running one now
        QDBusConnection::disconnectFromBus(firstConnection);
        QTRY_COMPARE(secondBus.interface()->serviceOwner("example.nc.T").value(),
                     secondBus.baseService());
        DBusInstanceGuard third(connection(), "example.nc.T");
        QVERIFY(third.PrevInstance());
        third.ActivateFirstCopy("Netcairn");
        QCOMPARE(calls, QStringList({"first Netcairn", "first Other", "second Netcairn"}));
    }

    void aRunningCopyThatDoesNotAnswerIsAFailure() {
        DBusInstanceGuard mute(connection(), "example.nc.Mute");
        QVERIFY(!mute.PrevInstance()); // holds the name, but listens for nothing
        DBusInstanceGuard later(connection(), "example.nc.Mute");
        QVERIFY(later.PrevInstance());
        QVERIFY_THROWS_EXCEPTION(Failure, later.ActivateFirstCopy("Netcairn"));
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
            QVERIFY_THROWS_EXCEPTION(Failure, guard.ActivateFirstCopy("Netcairn"));
        }
    }
};

QTEST_GUILESS_MAIN(TstGuard)
#include "tst_guard.moc"
