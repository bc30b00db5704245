// Writes the application icon files that get installed: 16 and 32 pixel PNGs and the SVG,
// all from the one outline the program draws its window icon from.

#include "ui/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QDir out(QCoreApplication::arguments().value(1));
    const QColor green = QColor::fromRgb(nc::kCheckGreen);
    bool ok = true;
    for (int size : {16, 32})
        ok = nc::CheckMarkImage(size, green)
                 .save(out.filePath(QStringLiteral("netcairn-%1.png").arg(size))) &&
             ok;
    QFile svg(out.filePath(QStringLiteral("netcairn.svg")));
    ok = svg.open(QIODevice::WriteOnly) && svg.write(nc::CheckMarkSvg(green).toUtf8()) > 0 && ok;
    return ok ? 0 : 1;
}
