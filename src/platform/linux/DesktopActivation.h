#pragma once

#include <QLibrary>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

class QWidget;
class QWindow;

namespace nc {

/// Wayland's xdg-activation as the Wayland module does it.
class WaylandActivation {
public:
    virtual ~WaylandActivation() = default;
    /// A token asked for from \a focused with the user's last input ("" if the compositor has
    /// none).
    virtual QString RequestToken(QWindow& focused, const QString& appId) = 0;
    /// Asks the compositor to activate \a window, with the leave that \a token gives.
    virtual void Activate(QWindow& window, const QString& token) = 0;
    /// Returns once the compositor has taken every request this program sent so far.
    virtual void Sync() = 0;
};

/// A desktop lets a window take the front from another program only with its leave, which one
/// copy of Netcairn hands to the other as org.freedesktop.Application platform data: on Wayland
/// an xdg-activation token ("activation-token"), on X11 a startup id that carries the X server
/// time of the user's answer ("desktop-startup-id").
class DesktopActivation final : public QObject {
public:
    /// \a appId names Netcairn to the desktop; \a waylandModule is the path of the Wayland module.
    DesktopActivation(QString appId, QString waylandModule);
    ~DesktopActivation() override;

    /// Asks for leave on behalf of \a answered, a box still up and focused as the user answers it.
    void NoteAnswer(QWidget& answered);
    /// The leave the last answer gave, as platform data (empty where there was none), once the
    /// box it came from is off the screen.
    QVariantMap HandOver();
    /// Restores \a window, raises and activates it with the leave in \a platformData.
    void BringForward(QWidget& window, const QVariantMap& platformData);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WaylandActivation* wayland();

    QString m_appId;
    QLibrary m_module;
    std::unique_ptr<WaylandActivation> m_wayland;
    QVariantMap m_platformData;
    QString m_launchToken; ///< what launched this program on Wayland, for its first window
};

} // namespace nc
