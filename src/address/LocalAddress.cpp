#include "LocalAddress.h"

#include <QtEndian>

#include <optional>

namespace nc {

namespace {

constexpr quint32 kRouteUp = 0x0001;
constexpr quint32 kRouteReject = 0x0200;
// Address flags of /proc/net/if_inet6 that make an address unfit to hand out.
constexpr quint32 kTemporary = 0x01;
constexpr quint32 kUnusable = 0x08 | 0x20 | 0x40; // duplicate found, deprecated, tentative
constexpr int kGlobalScope = 0x00;

/// /proc/net/route writes addresses as the hex of their in-memory (network order) bytes.
std::optional<quint32> routeAddress(const QByteArray& hex) {
    bool ok = false;
    const quint32 raw = hex.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return qFromBigEndian(raw);
}

std::optional<quint32> hexField(const QByteArray& field) {
    bool ok = false;
    const quint32 value = field.toUInt(&ok, 16);
    return ok ? std::optional(value) : std::nullopt;
}

/// The columns of each line of a /proc table, split at blanks.
QList<QList<QByteArray>> rows(const QByteArray& text) {
    QList<QList<QByteArray>> result;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.trimmed().isEmpty())
            result.append(line.simplified().split(' '));
    }
    return result;
}

/// The interface carrying the IPv6 default route with the lowest metric, or empty text.
QString ipv6DefaultInterface(const QByteArray& routes) {
    QString best;
    quint32 bestMetric = 0;
    for (const QList<QByteArray>& f : rows(routes)) {
        if (f.size() < 10 || f[1] != "00")
            continue;
        const auto metric = hexField(f[5]);
        const auto flags = hexField(f[8]);
        if (!metric || !flags || !(*flags & kRouteUp) || (*flags & kRouteReject) || f[9] == "lo")
            continue;
        if (best.isEmpty() || *metric < bestMetric) {
            best = QString::fromLocal8Bit(f[9]);
            bestMetric = *metric;
        }
    }
    return best;
}

} // namespace

QString TagOffline(const QString& localIp) {
    return localIp == LoopbackAddress ? OfflineAddress : localIp;
}

QString UntagOffline(const QString& text) {
    return text == OfflineAddress ? LoopbackAddress : text;
}

QString LocalIP(const AddressTables& tables) {
    const QString ipv4 = ChooseLocalAddress(ParseRouteTable(tables.ipv4Routes), tables.ipv4);
    if (ipv4 != LoopbackAddress)
        return ipv4;
    const QString ipv6 = ChooseIpv6Address(tables.ipv6Routes, tables.ipv6Addresses);
    return ipv6.isEmpty() ? ipv4 : ipv6;
}

QString LocalIP(AddressSource& source) {
    // Most refreshes never need the IPv6 tables: only a machine that would be offline does.
    const QString ipv4 = LocalIP(source.ReadTables(false));
    return ipv4 != LoopbackAddress ? ipv4 : LocalIP(source.ReadTables(true));
}

QList<Route> ParseRouteTable(const QByteArray& text) {
    QList<Route> routes;
    const QList<QList<QByteArray>> lines = rows(text);
    for (qsizetype i = 1; i < lines.size(); ++i) { // the first line names the columns
        const QList<QByteArray>& f = lines[i];
        if (f.size() < 8)
            continue;
        const auto destination = routeAddress(f[1]);
        const auto gateway = routeAddress(f[2]);
        const auto mask = routeAddress(f[7]);
        const auto flags = hexField(f[3]);
        bool metricOk = false;
        const quint32 metric = f[6].toUInt(&metricOk, 10);
        if (!destination || !gateway || !mask || !flags || !metricOk)
            continue;
        routes.append(
            {QString::fromLocal8Bit(f[0]), *destination, *gateway, *mask, *flags, metric});
    }
    return routes;
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
    return LoopbackAddress;
}

QString ChooseIpv6Address(const QByteArray& routes, const QByteArray& addresses) {
    const QString interface = ipv6DefaultInterface(routes);
    if (interface.isEmpty())
        return {};
    QString temporary;
    for (const QList<QByteArray>& f : rows(addresses)) {
        const auto scope = f.size() >= 6 ? hexField(f[3]) : std::nullopt;
        const auto flags = f.size() >= 6 ? hexField(f[4]) : std::nullopt;
        if (!scope || !flags || f[0].size() != 32 || QString::fromLocal8Bit(f[5]) != interface ||
            *scope != kGlobalScope || (*flags & kUnusable))
            continue;
        std::array<quint16, 8> groups{};
        bool ok = true;
        for (int g = 0; g < 8 && ok; ++g)
            groups[g] = quint16(f[0].mid(g * 4, 4).toUShort(&ok, 16));
        if (!ok)
            continue;
        if (!(*flags & kTemporary))
            return Ipv6Text(groups);
        if (temporary.isEmpty())
            temporary = Ipv6Text(groups);
    }
    return temporary;
}

QString DottedQuad(quint32 address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

QString Ipv6Text(const std::array<quint16, 8>& groups) {
    int runStart = -1;
    int runLength = 1; // a single zero group is written out, never shortened
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[j] == 0)
            ++j;
        if (j - i > runLength) {
            runStart = i;
            runLength = j - i;
        }
        i = j == i ? i + 1 : j;
    }
    QString text;
    for (int i = 0; i < 8; ++i) {
        if (i == runStart) {
            text += QLatin1String("::");
            i += runLength - 1;
            continue;
        }
        if (!text.isEmpty() && !text.endsWith(u':'))
            text += u':';
        text += QString::number(groups[i], 16);
    }
    return text;
}

} // namespace nc
