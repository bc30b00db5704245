// The single-copy guard between real processes: a lock file and a local socket.

#include "platform/Failure.h"
#include "platform/desktop/LocalInstanceGuard.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace nc;

class TstGuard : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> peers;

    /// Starts another copy and returns it once it has said whether it came first.
    QProcess& peer(const QString& expected, const QStringList& extra = {}) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(NETCAIRN_GUARD_PEER), QStringList{dir.path()} + extra);
        if (!process->waitForReadyRead(5000) ||
            process->readLine().trimmed() != expected.toLatin1())
            qFatal("peer did not start as the %s copy", qPrintable(expected));
        peers.push_back(std::move(process));
        return *peers.back();
    }
    static QString waitForLine(QProcess& process) {
        if (!process.canReadLine())
            process.waitForReadyRead(5000);
        return QString::fromLatin1(process.readLine().trimmed());
    }

private Q_SLOTS:
    void cleanup() {
        for (auto& p : peers) {
            p->kill();
            p->waitForFinished();
        }
        peers.clear();
    }

    void laterCopyAsksTheFirstToComeForward() {
        QProcess& first = peer(QStringLiteral("first"));
        LocalInstanceGuard later(dir.path(), QStringLiteral("Netcairn-test"));
        QVERIFY(later.PrevInstance());
        later.ActivateFirstCopy(QStringLiteral("Netcairn"));
        QCOMPARE(waitForLine(first), QStringLiteral("activated Netcairn"));
        QVERIFY_THROWS_EXCEPTION(Failure, later.ActivateFirstCopy(QStringLiteral("Another")));
        QCOMPARE(waitForLine(first), QStringLiteral("activated Another"));
    }

    void copiesRunSideBySide() {
        QProcess& first = peer(QStringLiteral("first"));
        peer(QStringLiteral("second"));
        peer(QStringLiteral("second"));
        QCOMPARE(first.state(), QProcess::Running);
    }

    void deadFirstCopysLockIsTakenOver() {
        QProcess& first = peer(QStringLiteral("first"));
        first.kill(); // SIGKILL: the lock file and socket stay behind
        first.waitForFinished();
        LocalInstanceGuard next(dir.path(), QStringLiteral("Netcairn-test"));
        QVERIFY(!next.PrevInstance());
        next.ListenForActivation([](const QString&) { return true; });
        peer(QStringLiteral("second"));
    }

    void firstCopyThatDoesNotAnswerIsAFailure() {
        peer(QStringLiteral("first"), {QStringLiteral("--no-answer")});
        LocalInstanceGuard later(dir.path(), QStringLiteral("Netcairn-test"));
        QVERIFY(later.PrevInstance());
        QVERIFY_THROWS_EXCEPTION(Failure, later.ActivateFirstCopy(QStringLiteral("Netcairn")));
    }
};

QTEST_GUILESS_MAIN(TstGuard)
#include "tst_guard.moc"
