#include "QtWindowing.h"

#include <QApplication>
#include <QDialog>

namespace nc {

void QtWindowing::ShowModal(QDialog& form) {
    form.exec();
}

void QtWindowing::End() {
    m_ended = true;
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    // Outside the event loop (during start-up) main() sees HasEnded() and does not enter it.
    QCoreApplication::exit(0);
}

} // namespace nc
