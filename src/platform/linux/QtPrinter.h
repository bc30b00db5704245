#pragma once

#include "platform/Printer.h"

#include <QPainter>
#include <QPrinter>

#include <functional>
#include <memory>

namespace nc {

/// The current printer through QPrinter; a page is started by the first line printed and sent
/// by EndDoc. The printer itself is set up only when first needed: that loads the system's
/// print support, which every start would otherwise pay for.
class QtPrinter final : public Printer {
public:
    /// Lets the user set up \a printer in a dialog titled by the string; false when cancelled.
    using Chooser = std::function<bool(QPrinter& printer, const QString& title)>;

    /// \a chooser defaults to Qt's print dialog.
    explicit QtPrinter(Chooser chooser = {});
    ~QtPrinter() override;

    void SetFontName(const QString& name) override { m_fontName = name; }
    void SetFontSize(double points) override { m_fontSize = points; }
    void SetScaleMode(int mode) override { m_scaleMode = mode; }
    void SetCurrentX(double x) override { m_x = x; }
    void SetCurrentY(double y) override { m_y = y; }
    void ShowPrinter(const QString& title) override;
    void PrintLine(const QString& text) override;
    void EndDoc() override;

private:
    QPrinter& printer();
    double toDevice(double units);
    void fail();

    Chooser m_chooser;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QString m_fontName;
    double m_fontSize = 10.0;
    int m_scaleMode = vbTwips;
    double m_x = 0.0;
    double m_y = 0.0;
};

} // namespace nc
