#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// The desktop clipboard.
class Clipboard : public Service {
public:
    /// Empties the clipboard of every format.
    virtual void Clear() = 0;
    /// Puts \a text on the clipboard as plain text.
    virtual void SetText(const QString& text) = 0;
    /// Leaves what Netcairn copied last with the desktop as the program ends, if it still holds it.
    virtual void KeepAfterExit() = 0;
};

} // namespace nc
