#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// What the Save As dialog starts with.
struct SaveAsRequest {
    QString DialogTitle;
    QString Filter; ///< "description|pattern" pairs joined by "|"
    int FilterIndex = 1;
    QString InitDir;
    QString FileName;
    QString DefaultExt;
    qint32 Flags = 0;

    bool operator==(const SaveAsRequest&) const = default;
};

/// The common file dialog.
class CommonDialog : public Service {
public:
    /// Shows a Save As dialog set up by \a request; returns the chosen path, fails with 32755 on
    /// cancel.
    virtual QString ShowSave(const SaveAsRequest& request) = 0;
};

} // namespace nc
