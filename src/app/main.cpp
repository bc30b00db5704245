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
    // The desktop matches windows to the entry by this id (the Wayland app id).
    const QString appId = QString::fromUtf8(nc::build::AppId);
    QGuiApplication::setDesktopFileName(appId);

    const QString folder = QApplication::applicationDirPath() + u'/';
    nc::RealPlatform platform(folder + QString::fromUtf8(nc::build::PrintModule),
                              folder + QString::fromUtf8(nc::build::WaylandModule), appId);
    const nc::Platform& p = platform.bundle();
    nc::frmMain window(p);
    window.Form_Load();
    int status = 0;
    if (!p.windowing.HasEnded()) {
        window.show();
        status = QApplication::exec();
    }
    p.clipboard.KeepAfterExit();
    return status;
}
