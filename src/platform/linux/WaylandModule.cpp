// Wayland's xdg-activation for Netcairn, in a module that only a Wayland session loads: the
// program itself does not link the Wayland client library, which an X11 start would map for
// nothing. Qt 6.4 has no public way to ask for a token or to use one that another program hands
// over, so this module speaks the protocol on Qt's own display connection.

#include "DesktopActivation.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>

extern "C" {
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-activation-v1-protocol.c"
}

namespace nc {

namespace {

void* nativeResource(const char* name, QWindow* window = nullptr) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return window ? native->nativeResourceForWindow(name, window)
                  : native->nativeResourceForIntegration(name);
}

/// The globals this module needs, bound on an event queue of its own: Qt reads its own queue
/// on other threads, and must never see these objects' events.
class Session {
public:
    Session() : m_display(static_cast<wl_display*>(nativeResource("wl_display"))) {
        if (!m_display)
            return;
        m_queue = wl_display_create_queue(m_display);
        m_wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(m_display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(m_wrapper), m_queue);
        m_registry = wl_display_get_registry(m_wrapper);
        wl_registry_add_listener(m_registry, &kRegistry, this);
        roundtrip();
    }
    ~Session() {
        if (activation)
            xdg_activation_v1_destroy(activation);
        if (seat)
            wl_seat_destroy(seat);
        if (m_registry)
            wl_registry_destroy(m_registry);
        if (m_wrapper)
            wl_proxy_wrapper_destroy(m_wrapper);
        if (m_queue)
            wl_event_queue_destroy(m_queue);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// Sends what is asked and takes the answers on this session's queue; false once the
    /// connection has failed.
    bool roundtrip() { return wl_display_roundtrip_queue(m_display, m_queue) >= 0; }

    xdg_activation_v1* activation = nullptr;
    wl_seat* seat = nullptr; ///< null on a compositor without an input seat

private:
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t) {
        auto* self = static_cast<Session*>(data);
        if (!self->activation && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
            self->activation = static_cast<xdg_activation_v1*>(
                wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
        else if (!self->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
            self->seat =
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}
    static constexpr wl_registry_listener kRegistry{&global, &globalRemove};

    wl_display* m_display;
    wl_event_queue* m_queue = nullptr;
    wl_display* m_wrapper = nullptr;
    wl_registry* m_registry = nullptr;
};

class XdgActivation final : public WaylandActivation {
public:
    QString RequestToken(QWindow& focused, const QString& appId) override {
        Session session;
        if (!session.activation)
            return {};
        xdg_activation_token_v1* request =
            xdg_activation_v1_get_activation_token(session.activation);
        QString token;
        xdg_activation_token_v1_add_listener(request, &kDone, &token);
        // Qt hands out the serial of the last input only where there is a seat to have had it.
        if (const auto serial =
                quint32(quintptr(session.seat ? nativeResource("serial") : nullptr)))
            xdg_activation_token_v1_set_serial(request, serial, session.seat);
        if (auto* surface = static_cast<wl_surface*>(nativeResource("surface", &focused)))
            xdg_activation_token_v1_set_surface(request, surface);
        xdg_activation_token_v1_set_app_id(request, appId.toUtf8().constData());
        xdg_activation_token_v1_commit(request);
        for (int round = 0; token.isEmpty() && round < 3 && session.roundtrip(); ++round) {
        }
        xdg_activation_token_v1_destroy(request);
        return token;
    }

    void Activate(QWindow& window, const QString& token) override {
        Session session;
        auto* surface = static_cast<wl_surface*>(nativeResource("surface", &window));
        if (!session.activation || !surface || token.isEmpty())
            return;
        xdg_activation_v1_activate(session.activation, token.toUtf8().constData(), surface);
        session.roundtrip(); // on its way before the objects go
    }

    void Sync() override {
        Session session; // its first roundtrip follows everything sent before
    }

private:
    static void done(void* data, xdg_activation_token_v1*, const char* token) {
        *static_cast<QString*>(data) = QString::fromUtf8(token);
    }
    static constexpr xdg_activation_token_v1_listener kDone{&done};
};

} // namespace

} // namespace nc

extern "C" Q_DECL_EXPORT nc::WaylandActivation* NetcairnNewWayland() {
    return new nc::XdgActivation();
}
