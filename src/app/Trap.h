#pragma once

#include "modPublic.h"

#include <QString>

#include <functional>

namespace nc {

struct Platform;

/// Where a trapped procedure lives: its form's run-time name, its kind and its own name.
struct TrapSite {
    QString ObjectName;
    ProcKind Kind;
    const char* ProcedureName;
};

/// Runs \a body as one trapped procedure. A failure ends the body; it is reported once under
/// \a site through \a reportTo, or passed over silently when \a reportTo is null. Either way the
/// caller goes on as if the procedure had ended normally, and no exception leaves this function.
void RunTrapped(const Platform* reportTo, const TrapSite& site, const std::function<void()>& body);

} // namespace nc
