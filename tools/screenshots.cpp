// Writes PNG pictures of Netcairn's four windows, as the desktop draws them, into the folder
// given. Run inside an X server with a window manager (make screenshots does).

#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "extras/FunDialogs.h"
#include "platform/linux/RealPlatform.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

namespace {

bool shoot(QWidget& window, const QString& file) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QTest::qWait(400); // let the window manager draw its frame
    const QRect frame = window.frameGeometry();
    return window.screen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(file);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QDir out(QApplication::arguments().value(1, QStringLiteral(".")));
    out.mkpath(QStringLiteral("."));
    nc::RealPlatform platform({}, {}, {}); // these pictures print nothing and ask no question
    nc::frmMain main(platform.bundle());
    main.Form_Load();
    bool ok = shoot(main, out.filePath(QStringLiteral("main-window.png")));
    nc::frmAbout about(platform.bundle(), &main);
    ok = shoot(about, out.filePath(QStringLiteral("about.png"))) && ok;
    about.close();
    nc::frmFun fun(platform.bundle(), &main);
    ok = shoot(fun, out.filePath(QStringLiteral("fun.png"))) && ok;
    fun.close();
    nc::frmFunThanks thanks(platform.bundle(), &main);
    ok = shoot(thanks, out.filePath(QStringLiteral("fun-thanks.png"))) && ok;
    return ok ? 0 : 1;
}
