#pragma once

#include "app/Twips.h"

#include <QLabel>

#include <functional>

namespace nc {

class Launcher;

/// A label in the link style: pure blue, underlined, a pointing hand over it, and a click that
/// runs its handler.
class LinkLabel : public QLabel {
public:
    LinkLabel(QWidget* parent, const char* name, const QString& text, TwipsRect where,
              double points, const QString& toolTip, std::function<void()> onClick);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> m_onClick;
};

/// Opens a web or mail address with the desktop's own program, as a link click does.
void LaunchAddress(Launcher& launcher, const QString& address);

} // namespace nc
