#pragma once

#include "Service.h"

#include <QString>

#include <functional>

namespace nc {

/// Tells the first running copy of the program from later ones, and lets them talk.
class InstanceGuard : public Service {
public:
    /// True when another copy of the program was already running when this one started.
    virtual bool PrevInstance() = 0;
    /// Asks the first copy to bring its window titled \a title to the front; fails if none answers.
    virtual void ActivateFirstCopy(const QString& title) = 0;
    /// Lets later copies call \a activate (with the title they look for; true: done) on this one.
    virtual void ListenForActivation(std::function<bool(const QString& title)> activate) = 0;
};

} // namespace nc
