#include "LinuxAddressSource.h"

#include "PosixFailure.h"

#include <QFile>

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace nc {

namespace {

quint32 ipv4Of(const sockaddr* address) {
    return address ? ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr) : 0;
}

/// A table of /proc; one that cannot be read (no IPv6 in this kernel) is simply empty.
QByteArray procTable(const char* path) {
    QFile table(QString::fromLatin1(path));
    return table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
}

} // namespace

AddressTables LinuxAddressSource::ReadTables(bool ipv6) {
    AddressTables tables;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        throw failureFromErrno(errno, QStringLiteral("Winsock"));
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        tables.ipv4.append({QString::fromLocal8Bit(i->ifa_name), ipv4Of(i->ifa_addr),
                            ipv4Of(i->ifa_netmask), bool(i->ifa_flags & IFF_UP),
                            bool(i->ifa_flags & IFF_RUNNING), bool(i->ifa_flags & IFF_LOOPBACK)});
    }
    freeifaddrs(list);
    tables.ipv4Routes = procTable("/proc/net/route");
    if (ipv6) {
        tables.ipv6Routes = procTable("/proc/net/ipv6_route");
        tables.ipv6Addresses = procTable("/proc/net/if_inet6");
    }
    return tables;
}

} // namespace nc
