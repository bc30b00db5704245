#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPolygonF>
#include <QString>

namespace nc {

/// The green of Netcairn's check mark.
inline constexpr QRgb kCheckGreen = 0xff1f9d3a;

/// The check mark's outline on a 32 by 32 grid.
QPolygonF CheckMarkOutline();
/// The check mark drawn in \a colour on a transparent square of \a size pixels.
QImage CheckMarkImage(int size, QColor colour);
/// The same, ready for a label.
QPixmap CheckMarkPixmap(int size, QColor colour);
/// The same check mark as a scalable image.
QString CheckMarkSvg(QColor colour);
/// The application icon: the green check mark at 16 and 32 pixels.
QIcon AppIcon();

} // namespace nc
