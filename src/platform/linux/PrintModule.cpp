// Netcairn's printing as a module of its own: it brings Qt's print support, and CUPS behind it,
// which the program loads only when the user first prints.

#include "QtPrinter.h"

extern "C" Q_DECL_EXPORT nc::Printer* NetcairnNewPrinter() {
    return new nc::QtPrinter();
}
