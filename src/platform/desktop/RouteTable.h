#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace nc {

/// One line of the kernel's IPv4 routing table.
struct Route {
    QString interface;
    quint32 destination = 0; ///< host byte order
    quint32 gateway = 0;
    quint32 mask = 0;
    quint32 flags = 0;
    quint32 metric = 0;
};

/// One IPv4 address of a network interface, in the order the system lists them.
struct InterfaceAddress {
    QString interface;
    quint32 address = 0; ///< host byte order
    quint32 netmask = 0;
    bool up = false;
    bool running = false;
    bool loopback = false;
};

/// The routes of /proc/net/route text; malformed lines are skipped.
QList<Route> ParseRouteTable(const QByteArray& text);

/// The machine's own address: that of the interface carrying the default route with the lowest
/// metric (the one in the gateway's subnet when it has several); else the first interface that
/// is up, running and not loopback; else the loopback address.
QString ChooseLocalAddress(const QList<Route>& routes, const QList<InterfaceAddress>& addresses);

/// Dotted-decimal text of a host-order IPv4 address.
QString DottedQuad(quint32 address);

} // namespace nc
