#pragma once

#include "Service.h"

#include <QVariantMap>

#include <functional>

namespace nc {

/// Tells whether another copy of the program runs, and lets copies talk to the running one. The
/// desktop's leave for a window to come forward travels as org.freedesktop.Application platform
/// data ("activation-token" on Wayland, "desktop-startup-id" on X11).
class InstanceGuard : public Service {
public:
    /// True when another copy of the program was running as this one started.
    virtual bool PrevInstance() = 0;
    /// Asks the running copy to bring its window forward, with the leave of the user's answer.
    virtual void ActivateFirstCopy() = 0;
    /// Lets later copies call \a activate here, with the leave they hand on (false: refused).
    virtual void
    ListenForActivation(std::function<bool(const QVariantMap& platformData)> activate) = 0;
    /// Raises, on the first call only, what keeps the guard from seeing other copies at all.
    virtual void RaiseWatchFailure() = 0;
};

} // namespace nc
