#include "LinkLabel.h"

#include "app/Controls.h"
#include "platform/Launcher.h"

#include <QMouseEvent>

namespace nc {

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text, TwipsRect where,
                     double points, const QString& toolTip, std::function<void()> onClick)
    : QLabel(text, parent), m_onClick(std::move(onClick)) {
    Place(this, name, where, toolTip);
    QFont font = DialogFont(points);
    font.setUnderline(true);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(palette);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        m_onClick)
        m_onClick();
    QLabel::mouseReleaseEvent(event);
}

void LaunchAddress(Launcher& launcher, const QString& address) {
    launcher.Shell(QStringLiteral("start.exe ") + address, vbHide);
}

} // namespace nc
