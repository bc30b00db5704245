#include "BuildFacts.h"
#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/Windowing.h"
#include "platform/linux/RealPlatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(nc::build::Title));
    QApplication::setApplicationVersion(QString::fromUtf8(nc::build::Version));
    QGuiApplication::setDesktopFileName(QStringLiteral("netcairn"));

    nc::RealPlatform platform(QApplication::applicationDirPath() + u'/' +
                              QString::fromUtf8(nc::build::PrintModule));
    const nc::Platform& p = platform.bundle();
    nc::frmMain window(p);
    nc::FromToolkit([&] { window.Form_Load(); });
    int status = 0;
    if (!p.windowing.HasEnded()) {
        window.show();
        status = QApplication::exec();
    }
    p.clipboard.KeepAfterExit();
    return status;
}
