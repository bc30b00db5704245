#pragma once

#include "platform/Printer.h"

#include <QLibrary>

#include <memory>

namespace nc {

/// The printer of the print module, loaded at the first use; until then no start pays for Qt's
/// print support.
class ModulePrinter final : public Printer {
public:
    /// \a module is the path of the print module.
    explicit ModulePrinter(const QString& module) : m_module(module) {}
    ~ModulePrinter() override;

    void SetFontName(const QString& name) override { printer().SetFontName(name); }
    void SetFontSize(double points) override { printer().SetFontSize(points); }
    void SetScaleMode(int mode) override { printer().SetScaleMode(mode); }
    void SetCurrentX(double x) override { printer().SetCurrentX(x); }
    void SetCurrentY(double y) override { printer().SetCurrentY(y); }
    void ShowPrinter(const QString& title) override { printer().ShowPrinter(title); }
    void PrintLine(const QString& text) override { printer().PrintLine(text); }
    void EndDoc() override { printer().EndDoc(); }

private:
    Printer& printer();

    QLibrary m_module;
    std::unique_ptr<Printer> m_printer;
};

} // namespace nc
