#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// Button and icon codes of a message box, added together.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbCritical = 16,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};

/// The button that closed a message box.
enum MsgBoxResult : int { vbOK = 1, vbYes = 6, vbNo = 7 };

/// Modal message and input boxes; a box that closes because the program ends throws
/// ProgramEnding instead of answering.
class Dialogs : public Service {
public:
    /// Shows a modal message box (empty title: the application title); returns the button pressed.
    virtual int MsgBox(const QString& prompt, int style, const QString& title) = 0;
    /// Shows a modal input box; returns the text typed, or empty text when cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
};

} // namespace nc
