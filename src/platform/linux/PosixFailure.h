#pragma once

#include "platform/Failure.h"

namespace nc {

/// The classic failure that stands for the system error \a err (an errno value).
Failure failureFromErrno(int err, const QString& source = QStringLiteral("Netcairn"));

} // namespace nc
