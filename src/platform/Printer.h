#pragma once

#include "Service.h"

#include <QString>

namespace nc {

/// Unit of measure of the printer's positions.
enum ScaleMode : int { vbTwips = 1, vbCentimeters = 7 };

/// The current printer, its page settings and its print dialog.
class Printer : public Service {
public:
    /// Sets the font family of the lines printed from now on.
    virtual void SetFontName(const QString& name) = 0;
    /// Sets the font size in points.
    virtual void SetFontSize(double points) = 0;
    /// Sets the unit of measure of the print position.
    virtual void SetScaleMode(int mode) = 0;
    /// Sets the horizontal print position, in the current unit, from the printable area's left
    /// edge.
    virtual void SetCurrentX(double x) = 0;
    /// Sets the vertical print position, in the current unit, from the printable area's top edge.
    virtual void SetCurrentY(double y) = 0;
    /// Shows the print dialog titled \a title; fails with 32755 when the user cancels.
    virtual void ShowPrinter(const QString& title) = 0;
    /// Prints \a text as one line at the print position and moves to the next line.
    virtual void PrintLine(const QString& text) = 0;
    /// Ends the document and sends the page to the printer.
    virtual void EndDoc() = 0;
};

} // namespace nc
