// Prints the local address as Netcairn reads it; run inside network namespaces by the tests.

#include "address/LocalAddress.h"
#include "platform/linux/LinuxAddressSource.h"

#include <QTextStream>

int main() {
    nc::LinuxAddressSource source;
    QTextStream(stdout) << nc::LocalIP(source) << '\n';
    return 0;
}
