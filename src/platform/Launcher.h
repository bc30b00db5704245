#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// Window style of a launched program.
enum WindowStyle : int { vbHide = 0, vbNormalFocus = 1 };

/// Starts other programs.
class Launcher : public Service {
public:
    /// Starts \a commandLine detached, without a shell; fails with 53 when it cannot be started.
    virtual void Shell(const QString& commandLine, int windowStyle) = 0;
};

} // namespace nc
