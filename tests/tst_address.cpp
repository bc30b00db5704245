// Where the local address comes from: the kernel's tables, chosen as a user expects on
// machines with many interfaces, and checked against real network stacks.

#include "address/LocalAddress.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <unistd.h>

using namespace nc;
using namespace Qt::StringLiterals;

// A machine a line, besides its loopback interface: name | IPv4 default routes "DEV GATEWAY
// METRIC" (hex, as the kernel writes it) | IPv4 addresses "DEV ADDRESS [down]" | the interface
// of the IPv6 default route | IPv6 addresses "ADDRESS SCOPE FLAGS DEV" (G, T, L: a global, a
// temporary, a link-local one) | the address chosen.
const char* const kMachines = R"(
the default route's, not the first|eth1 0100000A 0|docker0 ac110001,eth1 0a000007|||10.0.0.7
lowest metric|eth0 0100000A 600,wlan0 0100090A 100|eth0 0a000007,wlan0 0a090005|||10.9.0.5
the one in the gateway's subnet|eth0 0101A8C0 0|eth0 0a010101,eth0 c0a80114|||192.168.1.20
no default route: first up, not loopback||down0 0a020001 down,eth0 0a030001|||10.3.0.1
IPv4 wins||eth0 0a030001|v0|G 00 80 eth0|10.3.0.1
IPv6 only|||v0|L 20 80 v0,G 00 80 v0|2001:db8::7
stable before temporary|||v0|T 00 01 v0,G 00 00 v0|2001:db8::7
temporary alone|||v0|T 00 01 v0|2001:db8::1234:5678:abcd:ef01
link-local or elsewhere|||v0|L 20 80 v0,G 00 80 v1|127.0.0.1
duplicate, deprecated or tentative|||v0|G 00 08 v0,G 00 20 v0,G 00 40 v0|127.0.0.1
no IPv6 default route||||G 00 80 v0|127.0.0.1
text: all zeros|||v0|00000000000000000000000000000000 00 80 v0|::
text: a single zero group stays|||v0|20010db8000000010001000100010001 00 80 v0|2001:db8:0:1:1:1:1:1
text: the first longest run|||v0|20010000000000010000000000010ABC 00 80 v0|2001::1:0:0:1:abc
text: a run at the end|||v0|00010000000000010000000000000000 00 80 v0|1:0:0:1::
)";

class TstAddress : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        for (const QStringList& f : entries(2)) {
            const bool up = f.size() == 2;
            tables.ipv4 << InterfaceAddress{f[0], f[1].toUInt(nullptr, 16), 0xffffff00, up, up};
        }
        if (!machine[3].isEmpty())
            tables.ipv6Routes = QByteArray(32, '0') + " 00 " + QByteArray(32, '0') + " 00 " +
                                QByteArray(32, '1') + " 00000400 00000001 00000000 00000003 " +
                                machine[3].toLatin1();
        const QMap<QString, QString> kinds{{u"G"_s, u"20010db8000000000000000000000007"_s},
                                           {u"T"_s, u"20010db80000000012345678abcdef01"_s},
                                           {u"L"_s, u"fe800000000000000000000000000007"_s}};
        for (const QStringList& f : entries(4))
            tables.ipv6Addresses +=
                (kinds.value(f[0], f[0]) + " 02 40 " + f.mid(1).join(u' ') + u'\n').toLatin1();
        QCOMPARE(LocalIP(tables), machine[5]);
    }

    /// The choice the real backend makes in network namespaces of the test's own; they need
    /// root and iproute2.
    void chosenInNetworkNamespaces() {
        const QString v4 = u"nc4-%1"_s.arg(getpid()), v6 = u"nc6-%1"_s.arg(getpid());
        const auto ip = [](const QString& args) {
            return QProcess::execute(u"ip"_s, args.split(u' ')) == 0;
        };
        const auto removed = qScopeGuard([&] {
            ip("netns del " + v4);
            ip("netns del " + v6);
        });
        // The veth pair DEV and DEV + "p", both up, with CIDR on DEV (IPv6 usable at once).
        const auto veth = [&](const QString& ns, const QString& dev, const QString& cidr) {
            return ip(u"-n %1 link add %2 type veth peer name %2p"_s.arg(ns, dev)) &&
                   ip(u"-n %1 addr add %3 dev %2%4"_s.arg(ns, dev, cidr,
                                                          cidr.contains(u':') ? " nodad" : "")) &&
                   ip(u"-n %1 link set %2 up"_s.arg(ns, dev)) &&
                   ip(u"-n %1 link set %2p up"_s.arg(ns, dev));
        };
        QStringList seen;
        const auto choose = [&seen](const QString& ns) {
            QProcess run;
            run.start(u"ip"_s, {u"netns"_s, u"exec"_s, ns, NETCAIRN_LOCALIP_TOOL});
            run.waitForFinished();
            seen << QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed();
        };
        if (geteuid() != 0 || !ip("netns add " + v4) || !ip("netns add " + v6) ||
            !ip("-n " + v4 + " link set lo up") || !ip("-n " + v6 + " link set lo up"))
            QSKIP("no network namespace can be made here");
        choose(v4); // only loopback
        if (!veth(v4, "x0", "192.168.77.5/24") || !veth(v4, "v0", "10.0.0.7/24") ||
            !veth(v6, "v0", "2001:db8::7/64"))
            QSKIP("no veth pair can be made here");
        choose(v4); // no routes
        choose(v6);
        ip("-n " + v4 + " route add default via 10.0.0.1 dev v0 metric 100");
        choose(v4);
        ip("-n " + v4 + " route add default via 192.168.77.1 dev x0 metric 50");
        ip("-n " + v6 + " -6 route add default via 2001:db8::1 dev v0");
        choose(v4);
        choose(v6);
        QCOMPARE(seen, QStringList({"127.0.0.1", "192.168.77.5", "127.0.0.1", "10.0.0.7",
                                    "192.168.77.5", "2001:db8::7"}));
    }
};

QTEST_GUILESS_MAIN(TstAddress)
#include "tst_address.moc"
