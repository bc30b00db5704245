#include "LinuxAddressSource.h"

#include "PosixFailure.h"
#include "RouteTable.h"

#include <QFile>

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace nc {

namespace {

QList<InterfaceAddress> interfaceAddresses() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        throw failureFromErrno(errno, QStringLiteral("Winsock"));
    QList<InterfaceAddress> result;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        InterfaceAddress a;
        a.interface = QString::fromLocal8Bit(i->ifa_name);
        a.address = ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
        if (i->ifa_netmask)
            a.netmask =
                ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_netmask)->sin_addr.s_addr);
        a.up = i->ifa_flags & IFF_UP;
        a.running = i->ifa_flags & IFF_RUNNING;
        a.loopback = i->ifa_flags & IFF_LOOPBACK;
        result.append(a);
    }
    freeifaddrs(list);
    return result;
}

} // namespace

QString LinuxAddressSource::LocalIP() {
    QFile table(QStringLiteral("/proc/net/route"));
    // Without a readable routing table the interface list alone still finds an address.
    const QByteArray routes = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    return ChooseLocalAddress(ParseRouteTable(routes), interfaceAddresses());
}

} // namespace nc
