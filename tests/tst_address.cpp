// Where the local address comes from: the kernel's tables, chosen as a user expects on
// machines with many interfaces, and checked against real network stacks.

#include "NetworkNamespace.h"
#include "address/LocalAddress.h"

#include <QCoreApplication>
#include <QTest>

using namespace nc;
using namespace Qt::StringLiterals;

namespace {

/// /proc/net/route lines: a default route on \a dev through \a gateway (hex, as the kernel
/// writes it) at \a metric.
QByteArray v4Default(const char* dev, const char* gateway, int metric) {
    return QByteArray(dev) + "\t00000000\t" + gateway + "\t0003\t0\t0\t" +
           QByteArray::number(metric) + "\t00000000\n";
}
InterfaceAddress v4(const char* dev, quint32 address) {
    return {QString::fromLatin1(dev), address, 0xffffff00u, true, true, address == 0x7f000001};
}
/// An /proc/net/ipv6_route default route on \a dev, and an /proc/net/if_inet6 line.
QByteArray v6Default(const char* dev) {
    return QByteArray(32, '0') + " 00 " + QByteArray(32, '0') + " 00 " + QByteArray(32, '1') +
           " 00000400 00000001 00000000 00000003 " + dev + "\n";
}
QByteArray v6(const char* hex, const char* scopeAndFlags, const char* dev) {
    return QByteArray(hex) + " 02 40 " + scopeAndFlags + ' ' + dev + "\n";
}
const char* kGlobal = "20010db8000000000000000000000007";
const char* kTemporary = "20010db80000000012345678abcdef01";
const char* kLinkLocal = "fe800000000000000000000000000007";

} // namespace

class TstAddress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void localIp_data() {
        QTest::addColumn<QByteArray>("routes");
        QTest::addColumn<QList<InterfaceAddress>>("ipv4");
        QTest::addColumn<QByteArray>("ipv6");
        QTest::addColumn<QString>("chosen");
        const auto row = [](const char* name, const QByteArray& routes,
                            const QList<InterfaceAddress>& ipv4, const QByteArray& ipv6,
                            const char* chosen) {
            QTest::newRow(name) << "Iface\tDestination\tGateway\n" + routes << ipv4 << ipv6
                                << QString::fromLatin1(chosen);
        };
        const auto lo = v4("lo", 0x7f000001);
        const auto eth0 = v4("eth0", 0x0a030001);
        const auto v6Only = [](const QByteArray& lines) { return v6Default("v0") + "|" + lines; };
        row("the default route's interface, not the first", v4Default("eth1", "0100000A", 0),
            {lo, v4("docker0", 0xac110001), v4("eth1", 0x0a000007)}, {}, "10.0.0.7");
        row("lowest metric",
            v4Default("eth0", "0100000A", 600) + v4Default("wlan0", "0100090A", 100),
            {v4("eth0", 0x0a000007), v4("wlan0", 0x0a090005)}, {}, "10.9.0.5");
        row("the address in the gateway's subnet", v4Default("eth0", "0101A8C0", 0),
            {v4("eth0", 0x0a010101), v4("eth0", 0xc0a80114)}, {}, "192.168.1.20");
        row("no default route: the first up and not loopback", {},
            {lo, {"down0", 0x0a020001, 0, false, false, false}, eth0}, {}, "10.3.0.1");
        row("IPv4 wins", {}, {lo, eth0}, v6Only(v6(kGlobal, "00 80", "eth0")), "10.3.0.1");
        row("IPv6 only", {}, {lo},
            v6Only(v6(kLinkLocal, "20 80", "v0") + v6(kGlobal, "00 80", "v0")), "2001:db8::7");
        row("stable before temporary", {}, {lo},
            v6Only(v6(kTemporary, "00 01", "v0") + v6(kGlobal, "00 00", "v0")), "2001:db8::7");
        row("temporary alone", {}, {lo}, v6Only(v6(kTemporary, "00 01", "v0")),
            "2001:db8::1234:5678:abcd:ef01");
        row("link-local, deprecated, tentative or elsewhere", {}, {lo},
            v6Only(v6(kLinkLocal, "20 80", "v0") + v6(kGlobal, "00 20", "v0") +
                   v6(kGlobal, "00 40", "v0") + v6(kGlobal, "00 80", "v1")),
            "127.0.0.1");
        row("no IPv6 default route", {}, {lo}, "|" + v6(kGlobal, "00 80", "v0"), "127.0.0.1");
    }
    void localIp() {
        QFETCH(QByteArray, routes);
        QFETCH(QList<InterfaceAddress>, ipv4);
        QFETCH(QByteArray, ipv6);
        QFETCH(QString, chosen);
        const QList<QByteArray> tables = ipv6.split('|');
        QCOMPARE(LocalIP({routes, ipv4, tables.value(0), tables.value(1)}), chosen);
    }

    void ipv6TextIsCanonical() {
        QCOMPARE(Ipv6Text({0, 0, 0, 0, 0, 0, 0, 0}), u"::"_s);
        QCOMPARE(Ipv6Text({0x2001, 0xdb8, 0, 1, 1, 1, 1, 1}), u"2001:db8:0:1:1:1:1:1"_s);
        QCOMPARE(Ipv6Text({0x2001, 0, 0, 1, 0, 0, 1, 0xABC}), u"2001::1:0:0:1:abc"_s);
        QCOMPARE(Ipv6Text({1, 0, 0, 1, 0, 0, 0, 0}), u"1:0:0:1::"_s);
    }
};

/// The choice the real backend makes in network namespaces of the test's own; they need root
/// and iproute2, and exit code 77 tells CTest the test was skipped where none can be made.
int kernelTables() {
    NetworkNamespace v4("nc4"), v6("nc6");
    if (!v4.ok() || !v6.ok())
        return 77;
    QStringList seen{v4.output(NETCAIRN_LOCALIP_TOOL)}; // only loopback
    if (!v4.addVeth("x0", "192.168.77.5/24") || !v4.addVeth("v0", "10.0.0.7/24") ||
        !v6.addVeth("v0", "2001:db8::7/64"))
        return 77;
    seen << v4.output(NETCAIRN_LOCALIP_TOOL) << v6.output(NETCAIRN_LOCALIP_TOOL); // no routes
    v4.ip("route add default via 10.0.0.1 dev v0 metric 100");
    seen << v4.output(NETCAIRN_LOCALIP_TOOL);
    v4.ip("route add default via 192.168.77.1 dev x0 metric 50");
    v6.ip("-6 route add default via 2001:db8::1 dev v0");
    seen << v4.output(NETCAIRN_LOCALIP_TOOL) << v6.output(NETCAIRN_LOCALIP_TOOL);
    const QStringList expected{"127.0.0.1", "192.168.77.5", "127.0.0.1",
                               "10.0.0.7",  "192.168.77.5", "2001:db8::7"};
    if (seen != expected)
        qWarning("chosen: %s; expected: %s", qPrintable(seen.join(' ')),
                 qPrintable(expected.join(' ')));
    return seen == expected ? 0 : 1;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    TstAddress tables;
    return argc > 1 && argv[1] == "kernel"_L1 ? kernelTables() : QTest::qExec(&tables, argc, argv);
}

#include "tst_address.moc"
