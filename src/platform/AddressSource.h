#pragma once

#include "Service.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace nc {

/// One IPv4 address of a network interface, in the order the system lists them.
struct InterfaceAddress {
    QString interface;
    quint32 address = 0; ///< host byte order
    quint32 netmask = 0;
    bool up = false;
    bool running = false;
    bool loopback = false;
};

/// What the kernel says about the machine's own addresses and routes.
struct AddressTables {
    QByteArray ipv4Routes;        ///< the text of /proc/net/route
    QList<InterfaceAddress> ipv4; ///< every interface's IPv4 addresses
    QByteArray ipv6Routes;        ///< the text of /proc/net/ipv6_route
    QByteArray ipv6Addresses;     ///< the text of /proc/net/if_inet6
};

/// The machine's network tables, read without sending anything.
class AddressSource : public Service {
public:
    /// The IPv4 routing table and interface addresses as they are now, and with \a ipv6 the IPv6
    /// ones too.
    virtual AddressTables ReadTables(bool ipv6) = 0;
};

} // namespace nc
