#include "RouteTable.h"

#include <QtEndian>

#include <optional>

namespace nc {

namespace {

constexpr quint32 kRouteUp = 0x0001;

/// /proc/net/route writes addresses as the hex of their in-memory (network order) bytes.
std::optional<quint32> routeAddress(const QByteArray& hex) {
    bool ok = false;
    const quint32 raw = hex.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return qFromBigEndian(raw);
}

} // namespace

QList<Route> ParseRouteTable(const QByteArray& text) {
    QList<Route> routes;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) { // the first line names the columns
        const QList<QByteArray> f = lines[i].simplified().split(' ');
        if (f.size() < 8)
            continue;
        const auto destination = routeAddress(f[1]);
        const auto gateway = routeAddress(f[2]);
        const auto mask = routeAddress(f[7]);
        bool flagsOk = false;
        bool metricOk = false;
        const quint32 flags = f[3].toUInt(&flagsOk, 16);
        const quint32 metric = f[6].toUInt(&metricOk, 10);
        if (!destination || !gateway || !mask || !flagsOk || !metricOk)
            continue;
        routes.append({QString::fromLocal8Bit(f[0]), *destination, *gateway, *mask, flags, metric});
    }
    return routes;
}

QString DottedQuad(quint32 address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

QString ChooseLocalAddress(const QList<Route>& routes, const QList<InterfaceAddress>& addresses) {
    const Route* best = nullptr;
    for (const Route& route : routes) {
        const bool isDefault =
            route.destination == 0 && route.mask == 0 && (route.flags & kRouteUp);
        if (isDefault && (!best || route.metric < best->metric))
            best = &route;
    }
    if (best) {
        const InterfaceAddress* first = nullptr;
        for (const InterfaceAddress& a : addresses) {
            if (a.interface != best->interface)
                continue;
            if ((a.address & a.netmask) == (best->gateway & a.netmask) && best->gateway != 0)
                return DottedQuad(a.address);
            if (!first)
                first = &a;
        }
        if (first)
            return DottedQuad(first->address);
    }
    for (const InterfaceAddress& a : addresses) {
        if (a.up && a.running && !a.loopback)
            return DottedQuad(a.address);
    }
    return QStringLiteral("127.0.0.1");
}

} // namespace nc
