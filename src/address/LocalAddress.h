#pragma once

#include "platform/AddressSource.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace nc {

/// The loopback address, which the program takes as the sign of a machine without network.
inline const QString LoopbackAddress = QStringLiteral("127.0.0.1");
/// How the loopback address is shown.
inline const QString OfflineAddress = QStringLiteral("127.0.0.1 (offline)");

/// The text to show for \a localIp: the loopback address tagged as offline, any other unchanged.
QString TagOffline(const QString& localIp);
/// The address to hand out for the address box's \a text: exactly the offline text loses its tag.
QString UntagOffline(const QString& text);

/// The address the machine is known by, as the socket component reports it: the IPv4 choice
/// below, or where that ends in the loopback address, the IPv6 choice; else the loopback address.
QString LocalIP(const AddressTables& tables);
/// The same from the tables \a source reads now; the IPv6 ones only where they are needed.
QString LocalIP(AddressSource& source);

/// One line of the kernel's IPv4 routing table.
struct Route {
    QString interface;
    quint32 destination = 0; ///< host byte order
    quint32 gateway = 0;
    quint32 mask = 0;
    quint32 flags = 0;
    quint32 metric = 0;
};

/// The routes of /proc/net/route text; malformed lines are skipped.
QList<Route> ParseRouteTable(const QByteArray& text);

/// The IPv4 choice: the address of the interface carrying the default route with the lowest
/// metric (the one in the gateway's subnet when it has several); else the first interface that
/// is up, running and not loopback; else the loopback address.
QString ChooseLocalAddress(const QList<Route>& routes, const QList<InterfaceAddress>& addresses);

/// The IPv6 choice, from /proc/net/ipv6_route and /proc/net/if_inet6 text: a global address of
/// the interface carrying the default route with the lowest metric, stable before temporary,
/// never deprecated or tentative; empty text when there is none.
QString ChooseIpv6Address(const QByteArray& routes, const QByteArray& addresses);

/// Dotted-decimal text of a host-order IPv4 address.
QString DottedQuad(quint32 address);
/// The canonical text of an IPv6 address (RFC 5952): lower case, no leading zeros, the first
/// longest run of two or more zero groups written as "::".
QString Ipv6Text(const std::array<quint16, 8>& groups);

} // namespace nc
