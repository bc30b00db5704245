#pragma once

#include <QProcess>

#include <unistd.h>

namespace nc {

/// A network namespace of the test's own, made with iproute2 and removed again; needs root.
class NetworkNamespace {
public:
    explicit NetworkNamespace(const QString& name)
        : m_name(name + QString::number(getpid())),
          m_ok(geteuid() == 0 && ip("netns add " + m_name, false) && ip("link set lo up")) {}
    ~NetworkNamespace() { ip("netns del " + m_name, false); }

    bool ok() const { return m_ok; }
    /// Runs "ip [-n NAME] \a args"; true when it succeeded.
    bool ip(const QString& args, bool inside = true) const {
        const QStringList in = inside ? QStringList{"-n", m_name} : QStringList();
        return QProcess::execute("ip", in + args.split(u' ')) == 0;
    }
    /// Adds the veth pair \a dev / \a dev + "p", both up, with \a cidr on \a dev (an IPv6 one
    /// usable at once, without duplicate detection).
    bool addVeth(const QString& dev, const QString& cidr) const {
        return ip(QString("link add %1 type veth peer name %1p").arg(dev)) &&
               ip(QString("addr add %1 dev %2").arg(cidr, dev) +
                  (cidr.contains(':') ? " nodad" : "")) &&
               ip(QString("link set %1 up").arg(dev)) && ip(QString("link set %1p up").arg(dev));
    }
    /// What \a program prints when run inside the namespace.
    QString output(const QString& program) const {
        QProcess run;
        run.start("ip", {"netns", "exec", m_name, program});
        run.waitForFinished();
        return QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed();
    }

private:
    QString m_name;
    bool m_ok;
};

} // namespace nc
