#pragma once

#include "Service.h"

#include <QVariantMap>

#include <functional>

class QDialog;
class QWidget;

namespace nc {

/// What the windowing toolkit does for the program as a whole.
class Windowing : public Service {
public:
    /// Shows \a form modally and returns once it has been closed; throws ProgramEnding when it
    /// closed because the program ended.
    virtual void ShowModal(QDialog& form) = 0;
    /// Ends the program at once: every window goes away and no further handler runs.
    virtual void End() = 0;
    /// Whether End has been called.
    virtual bool HasEnded() const = 0;
    /// Restores \a window and brings it to the front, with the leave that \a platformData hands on.
    virtual void BringToFront(QWidget& window, const QVariantMap& platformData) = 0;
    /// Runs \a close, then ends, when the session or the system asks the program to stop.
    virtual void OnEndRequest(std::function<void()> close) = 0;
};

} // namespace nc
