#pragma once

#include "Service.h"

#include <QString>

#include <functional>

namespace nc {

/// Tells whether another copy of the program runs, and lets copies talk to the running one.
class InstanceGuard : public Service {
public:
    /// True when another copy of the program was running as this one started.
    virtual bool PrevInstance() = 0;
    /// Asks the running copy to bring its window titled \a title forward; fails if none answers.
    virtual void ActivateFirstCopy(const QString& title) = 0;
    /// Lets later copies call \a activate (with the title they look for; true: ours) on this one.
    virtual void ListenForActivation(std::function<bool(const QString& title)> activate) = 0;
    /// Raises, on the first call only, what keeps the guard from seeing other copies at all.
    virtual void RaiseWatchFailure() = 0;
};

} // namespace nc
