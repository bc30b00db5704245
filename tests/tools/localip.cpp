// Prints the local address as Netcairn reads it; run inside network namespaces by the tests.

#include "platform/desktop/LinuxAddressSource.h"

#include <QTextStream>

int main() {
    nc::LinuxAddressSource source;
    QTextStream(stdout) << source.LocalIP() << '\n';
    return 0;
}
