#include "ModulePrinter.h"

#include "platform/Failure.h"

namespace nc {

ModulePrinter::~ModulePrinter() = default; // the module stays loaded: its code ends the printer

Printer& ModulePrinter::printer() {
    if (!m_printer) {
        using NewPrinter = Printer* (*)();
        const auto make = reinterpret_cast<NewPrinter>(m_module.resolve("NetcairnNewPrinter"));
        if (!make)
            throw Failure(errPrinter,
                          classicDescription(errPrinter) + QStringLiteral(": ") +
                              m_module.errorString(),
                          QStringLiteral("Printer"));
        m_printer.reset(make());
    }
    return *m_printer;
}

} // namespace nc
