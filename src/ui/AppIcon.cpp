#include "AppIcon.h"

#include <QPainter>
#include <QStringList>

namespace nc {

QPolygonF CheckMarkOutline() {
    return QPolygonF({{3, 17}, {8, 12}, {13, 17}, {25, 4}, {30, 9}, {13, 27}});
}

QImage CheckMarkImage(int size, QColor colour) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(QPen(colour.darker(160), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPolygon(CheckMarkOutline());
    painter.end();
    return image;
}

QPixmap CheckMarkPixmap(int size, QColor colour) {
    return QPixmap::fromImage(CheckMarkImage(size, colour));
}

QString CheckMarkSvg(QColor colour) {
    QStringList points;
    for (const QPointF& point : CheckMarkOutline())
        points << QStringLiteral("%1,%2").arg(point.x()).arg(point.y());
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
               "viewBox=\"0 0 32 32\">\n  <polygon points=\"%1\" fill=\"%2\" "
               "stroke=\"%3\" stroke-width=\"1.2\" stroke-linejoin=\"round\"/>\n</svg>\n")
        .arg(points.join(u' '), colour.name(), colour.darker(160).name());
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(CheckMarkPixmap(size, QColor::fromRgb(kCheckGreen)));
    return icon;
}

} // namespace nc
