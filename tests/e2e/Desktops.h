#pragma once

// What a desktop says is in front, for the cases where one copy brings another forward: the
// focused window of sway, from its own IPC, and the active window of an X11 window manager.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

/// The title and process id of the window that sway has focused ("" for none).
inline QString swayFocused(const QJsonObject& node = {}) {
    if (node.isEmpty()) {
        QProcess swaymsg;
        swaymsg.start(QStringLiteral("swaymsg"),
                      {QStringLiteral("-t"), QStringLiteral("get_tree")});
        swaymsg.waitForFinished(20000);
        return swayFocused(QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object());
    }
    if (node[QLatin1String("focused")].toBool())
        return node[QLatin1String("name")].toString() + u' ' +
               QString::number(node[QLatin1String("pid")].toInt());
    for (const char* list : {"nodes", "floating_nodes"}) {
        for (const QJsonValue child : node[QLatin1String(list)].toArray()) {
            if (const QString focused = swayFocused(child.toObject()); !focused.isEmpty())
                return focused;
        }
    }
    return {};
}

/// The window that the X11 window manager calls active, numbered as xdotool numbers windows.
inline QString x11Active() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    xprop.waitForFinished(20000);
    const QString id =
        QString::fromLatin1(xprop.readAllStandardOutput()).section(u'#', 1).trimmed();
    return QString::number(id.toULongLong(nullptr, 16));
}

/// Starts a copy through \a start with \a name=\a value in its environment, as a launcher does.
template <class Start> QProcess& startWith(const char* name, const QByteArray& value, Start start) {
    qputenv(name, value);
    QProcess& copy = start();
    qunsetenv(name);
    return copy;
}
