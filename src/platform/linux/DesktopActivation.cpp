#include "DesktopActivation.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <xcb/xcb.h>

namespace nc {

namespace {

const QString kToken = QStringLiteral("activation-token");
const QString kStartupId = QStringLiteral("desktop-startup-id");

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QPlatformNativeInterface& native() {
    return *QGuiApplication::platformNativeInterface();
}

/// The X server time of the last event this program took from the user.
quint32 x11UserTime(QScreen* screen) {
    return quint32(quintptr(native().nativeResourceForScreen("apptime", screen)));
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, qstrlen(name), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

/// Takes the startup id as the startup-notification convention has it: the window names it in
/// _NET_STARTUP_ID, and the time after "_TIME" becomes this program's latest user time, which
/// Qt's activation request carries, so that focus-stealing prevention sees the user's answer.
void useStartupId(QWidget& window, const QString& id) {
    QScreen* screen = window.screen();
    const QRegularExpressionMatch time =
        QRegularExpression(QStringLiteral("_TIME(\\d+)$")).match(id);
    if (time.hasMatch()) {
        using SetTime = void (*)(QScreen*, quint32);
        for (const char* name : {"setapptime", "setappusertime"}) {
            const auto function = native().nativeResourceFunctionForScreen(name);
            if (auto set = reinterpret_cast<SetTime>(reinterpret_cast<void (*)()>(function)))
                set(screen, time.captured(1).toUInt());
        }
    }
    auto* connection =
        static_cast<xcb_connection_t*>(native().nativeResourceForIntegration("connection"));
    if (!connection)
        return;
    const QByteArray bytes = id.toUtf8();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()),
                        atom(connection, "_NET_STARTUP_ID"), atom(connection, "UTF8_STRING"), 8,
                        quint32(bytes.size()), bytes.constData());
    xcb_flush(connection);
}

} // namespace

DesktopActivation::DesktopActivation(QString appId, QString waylandModule)
    : m_appId(std::move(appId)), m_module(waylandModule) {
    // Qt completes an X11 launch (DESKTOP_STARTUP_ID) when the first window shows; on Wayland
    // the launcher's token is used here, once, on the first window that is on screen.
    if (onWayland() && qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")) {
        m_launchToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
        qunsetenv("XDG_ACTIVATION_TOKEN"); // not for the programs Netcairn starts
        QCoreApplication::instance()->installEventFilter(this);
    }
}

DesktopActivation::~DesktopActivation() =
    default; // the module stays loaded: its code ends m_wayland

WaylandActivation* DesktopActivation::wayland() {
    if (!m_wayland) {
        using Make = WaylandActivation* (*)();
        if (const auto make = reinterpret_cast<Make>(m_module.resolve("NetcairnNewWayland")))
            m_wayland.reset(make());
        else
            qWarning("Netcairn cannot hand on the desktop's leave: %s",
                     qPrintable(m_module.errorString()));
    }
    return m_wayland.get();
}

void DesktopActivation::NoteAnswer(QWidget& answered) {
    m_platformData.clear();
    QWindow* box = answered.windowHandle();
    if (!box)
        return;
    if (onWayland()) {
        if (WaylandActivation* activation = wayland()) {
            if (const QString token = activation->RequestToken(*box, m_appId); !token.isEmpty())
                m_platformData.insert(kToken, token);
        }
    } else if (onX11()) {
        m_platformData.insert(kStartupId, QStringLiteral("%1-%2_TIME%3")
                                              .arg(m_appId)
                                              .arg(QCoreApplication::applicationPid())
                                              .arg(x11UserTime(box->screen())));
    }
}

QVariantMap DesktopActivation::HandOver() {
    // A box still on screen when the other window takes the front would hand the front, as it
    // closes, to whatever window was behind it; so the desktop must have seen it go first.
    if (onWayland() && m_platformData.contains(kToken)) {
        if (WaylandActivation* activation = wayland())
            activation->Sync();
    } else if (auto* connection = static_cast<xcb_connection_t*>(
                   onX11() ? native().nativeResourceForIntegration("connection") : nullptr)) {
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
    return m_platformData;
}

void DesktopActivation::BringForward(QWidget& window, const QVariantMap& platformData) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    const QString token = platformData.value(kToken).toString();
    if (onWayland() && !token.isEmpty() && window.windowHandle()) {
        if (WaylandActivation* activation = wayland())
            return activation->Activate(*window.windowHandle(), token);
    }
    if (onX11() && platformData.contains(kStartupId))
        useStartupId(window, platformData.value(kStartupId).toString());
    window.activateWindow();
}

bool DesktopActivation::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWindow*>(watched);
    if (event->type() == QEvent::Expose && window && window->isTopLevel() && window->isExposed()) {
        QCoreApplication::instance()->removeEventFilter(this);
        // After the expose the window has drawn its first frame, so the compositor has mapped it.
        QMetaObject::invokeMethod(
            window,
            [this, window] {
                if (WaylandActivation* activation = wayland())
                    activation->Activate(*window, std::exchange(m_launchToken, {}));
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace nc
