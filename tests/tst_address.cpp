// Where the local address comes from: the routing table and interface list, chosen as a user
// expects on machines with many interfaces, and checked against real network stacks.

#include "NetworkNamespace.h"
#include "platform/desktop/RouteTable.h"

#include <QProcess>
#include <QTest>

#include <optional>

using namespace nc;

namespace {

constexpr quint32 ip(int a, int b, int c, int d) {
    return quint32(a << 24 | b << 16 | c << 8 | d);
}
constexpr quint32 kMask24 = 0xffffff00u;

Route defaultVia(const char* dev, quint32 gateway, quint32 metric) {
    return {QString::fromLatin1(dev), 0, gateway, 0, 0x3, metric};
}
InterfaceAddress addr(const char* dev, quint32 address, bool loopback = false) {
    return {
        QString::fromLatin1(dev), address, loopback ? 0xff000000u : kMask24, true, true, loopback};
}

} // namespace

class TstAddress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parsesTheKernelsTable() {
        const QList<Route> routes = ParseRouteTable(
            "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
            "eth0\t00000000\t010200C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
            "broken line\n"
            "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n");
        QCOMPARE(routes.size(), 2);
        QCOMPARE(routes[0].interface, QStringLiteral("eth0"));
        QCOMPARE(routes[0].gateway, ip(192, 0, 2, 1));
        QCOMPARE(routes[0].metric, 100u);
        QCOMPARE(routes[1].destination, ip(192, 0, 2, 0));
        QCOMPARE(routes[1].mask, kMask24);
    }

    void choosesTheAddressAUserMeans_data() {
        QTest::addColumn<QList<Route>>("routes");
        QTest::addColumn<QList<InterfaceAddress>>("addresses");
        QTest::addColumn<QString>("chosen");
        const auto lo = addr("lo", ip(127, 0, 0, 1), true);
        QTest::newRow("default route's interface, not the one listed first")
            << QList<Route>{defaultVia("eth1", ip(10, 0, 0, 1), 0)}
            << QList<InterfaceAddress>{lo, addr("docker0", ip(172, 17, 0, 1)),
                                       addr("eth1", ip(10, 0, 0, 7))}
            << "10.0.0.7";
        QTest::newRow("lowest metric wins")
            << QList<Route>{defaultVia("eth0", ip(10, 0, 0, 1), 600),
                            defaultVia("wlan0", ip(10, 9, 0, 1), 100)}
            << QList<InterfaceAddress>{addr("eth0", ip(10, 0, 0, 7)),
                                       addr("wlan0", ip(10, 9, 0, 5))}
            << "10.9.0.5";
        QTest::newRow("several addresses: the one in the gateway's subnet")
            << QList<Route>{defaultVia("eth0", ip(192, 168, 1, 1), 0)}
            << QList<InterfaceAddress>{addr("eth0", ip(10, 1, 1, 1)),
                                       addr("eth0", ip(192, 168, 1, 20))}
            << "192.168.1.20";
        QTest::newRow("no default route: first up, running, not loopback")
            << QList<Route>{}
            << QList<InterfaceAddress>{lo,
                                       {"down0", ip(10, 2, 0, 1), kMask24, false, false, false},
                                       addr("eth0", ip(10, 3, 0, 1))}
            << "10.3.0.1";
        QTest::newRow("default route's interface has no IPv4 address")
            << QList<Route>{defaultVia("ppp0", 0, 0)}
            << QList<InterfaceAddress>{lo, addr("eth0", ip(10, 4, 0, 4))} << "10.4.0.4";
        QTest::newRow("nothing but loopback")
            << QList<Route>{} << QList<InterfaceAddress>{lo} << "127.0.0.1";
    }
    void choosesTheAddressAUserMeans() {
        QFETCH(QList<Route>, routes);
        QFETCH(QList<InterfaceAddress>, addresses);
        QFETCH(QString, chosen);
        QCOMPARE(ChooseLocalAddress(routes, addresses), chosen);
    }
};

/// The same choice made by the real backend inside real network namespaces; needs root and
/// iproute2, and says "skipped" (exit code 77) where a namespace cannot be made.
class TstAddressNamespaces : public QObject {
    Q_OBJECT

public:
    bool unavailable = false;

private:
    std::optional<NetworkNamespace> ns;

    QString localIp() {
        QProcess run;
        const QStringList command = ns->exec() << QStringLiteral(NETCAIRN_LOCALIP_TOOL);
        run.start(command.first(), command.mid(1));
        run.waitForFinished();
        return QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed();
    }

private Q_SLOTS:
    void init() {
        ns.emplace(QStringLiteral("nctest"));
        if (!ns->ok()) {
            unavailable = true;
            QSKIP("network namespaces need root and iproute2");
        }
    }
    void cleanup() { ns.reset(); }

    void onlyLoopbackIsOffline() { QCOMPARE(localIp(), QStringLiteral("127.0.0.1")); }

    void defaultRouteDecides() {
        // An interface listed before the one with the default route must not be chosen.
        if (!ns->addVeth(QStringLiteral("x0"), QStringLiteral("192.168.77.5/24")) ||
            !ns->addVeth(QStringLiteral("v0"), QStringLiteral("10.0.0.7/24"))) {
            unavailable = true;
            QSKIP("this kernel offers no veth interfaces");
        }
        QCOMPARE(localIp(), QStringLiteral("192.168.77.5")); // no default route yet
        QVERIFY(ns->ip(QStringLiteral("route add default via 10.0.0.1 dev v0 metric 100")));
        QCOMPARE(localIp(), QStringLiteral("10.0.0.7"));
        QVERIFY(ns->ip(QStringLiteral("route add default via 192.168.77.1 dev x0 metric 50")));
        QCOMPARE(localIp(), QStringLiteral("192.168.77.5"));
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    TstAddress logic;
    TstAddressNamespaces namespaces;
    return RunSuites(argc, argv, logic, namespaces, namespaces.unavailable);
}

#include "tst_address.moc"
