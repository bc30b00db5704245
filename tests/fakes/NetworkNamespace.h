#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <unistd.h>

namespace nc {

/// A network namespace of the test's own, made with iproute2 and removed again; needs root.
class NetworkNamespace {
public:
    explicit NetworkNamespace(const QString& prefix)
        : m_name(prefix + QString::number(getpid())),
          m_ok(geteuid() == 0 && run({QStringLiteral("netns"), QStringLiteral("add"), m_name}) &&
               ip(QStringLiteral("link set lo up"))) {}
    ~NetworkNamespace() { run({QStringLiteral("netns"), QStringLiteral("del"), m_name}); }
    NetworkNamespace(const NetworkNamespace&) = delete;
    NetworkNamespace& operator=(const NetworkNamespace&) = delete;

    /// Whether the namespace could be made.
    bool ok() const { return m_ok; }
    /// Runs "ip -n NAME \a args"; true when it succeeded.
    bool ip(const QString& args) const {
        return run(QStringList{QStringLiteral("-n"), m_name} + args.split(u' '));
    }
    /// Adds the veth pair \a dev / \a dev + "p", both up, with \a cidr on \a dev.
    bool addVeth(const QString& dev, const QString& cidr) const {
        return ip(QStringLiteral("link add %1 type veth peer name %1p").arg(dev)) &&
               ip(QStringLiteral("addr add %1 dev %2").arg(cidr, dev)) &&
               ip(QStringLiteral("link set %1 up").arg(dev)) &&
               ip(QStringLiteral("link set %1p up").arg(dev));
    }
    /// The command that runs a program inside the namespace.
    QStringList exec() const {
        return {QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), m_name};
    }

private:
    static bool run(const QStringList& args) {
        return QProcess::execute(QStringLiteral("ip"), args) == 0;
    }
    QString m_name;
    bool m_ok;
};

/// Runs \a always, or, with "namespaces" as the first argument, \a namespaced, reporting
/// "skipped" to CTest (exit code 77) when \a unavailable says no namespace could be made.
inline int RunSuites(int argc, char* argv[], QObject& always, QObject& namespaced,
                     const bool& unavailable) {
    if (argc > 1 && QByteArray(argv[1]) == "namespaces") {
        const int failed = QTest::qExec(&namespaced, argc - 1, argv + 1);
        return failed == 0 && unavailable ? 77 : failed;
    }
    return QTest::qExec(&always, argc, argv);
}

} // namespace nc
