#pragma once

#include "platform/Windowing.h"

#include <memory>

class QSocketNotifier;

namespace nc {

class DesktopActivation;

/// Modal forms run their own event loop; the program ends through the main event loop, so that
/// Qt can still hand the clipboard to the desktop's clipboard manager. SIGTERM, SIGHUP and
/// SIGINT (logout, a closed terminal, Ctrl+C) are turned into an end request on that loop.
class QtWindowing final : public Windowing {
public:
    /// \a activation brings windows forward with the desktop's leave (none: Qt's own way). The
    /// event loop has \a answerMs to answer a signal before the system ends the program: during
    /// start-up (a huge settings file, say) there is no loop to answer it yet.
    explicit QtWindowing(DesktopActivation* activation = nullptr, unsigned answerMs = 800);
    ~QtWindowing() override;

    void ShowModal(QDialog& form) override;
    void End() override;
    bool HasEnded() const override { return m_ended; }
    void BringToFront(QWidget& window, const QVariantMap& platformData) override;
    void OnEndRequest(std::function<void()> close) override;

private:
    DesktopActivation* m_activation;
    bool m_ended = false;
    std::function<void()> m_close;
    std::unique_ptr<QSocketNotifier> m_signals;
};

} // namespace nc
