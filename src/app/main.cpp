#include "app/frmMain.h"
#include "platform/Windowing.h"
#include "platform/desktop/RealPlatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral(NETCAIRN_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(NETCAIRN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("netcairn"));

    nc::RealPlatform platform;
    nc::frmMain window(platform.bundle());
    window.Form_Load();
    if (platform.bundle().windowing.HasEnded())
        return 0;
    window.show();
    return QApplication::exec();
}
