#include "QtPrinter.h"

#include "platform/Failure.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPrintDialog>

namespace nc {

QtPrinter::QtPrinter(Chooser chooser) : m_chooser(std::move(chooser)) {
    if (!m_chooser) {
        m_chooser = [](QPrinter& printer, const QString& title) {
            QPrintDialog dialog(&printer, QApplication::activeWindow());
            dialog.setWindowTitle(title);
            return dialog.exec() == QDialog::Accepted;
        };
    }
}

QtPrinter::~QtPrinter() {
    if (m_painter.isActive())
        m_painter.end();
}

void QtPrinter::ShowPrinter(const QString& title) {
    if (!m_chooser(m_printer, title))
        throw Failure(errCancel, classicDescription(errCancel), QStringLiteral("CommonDialog"));
}

double QtPrinter::toDevice(double units) const {
    const double inches = m_scaleMode == vbCentimeters ? units / 2.54 : units / 1440.0;
    return inches * m_printer.resolution();
}

void QtPrinter::fail() {
    if (m_painter.isActive())
        m_painter.end();
    throw Failure(errPrinter, classicDescription(errPrinter), QStringLiteral("Printer"));
}

void QtPrinter::PrintLine(const QString& text) {
    if (!m_painter.isActive() && !m_painter.begin(&m_printer))
        fail();
    QFont font(m_fontName);
    font.setPointSizeF(m_fontSize);
    m_painter.setFont(font);
    const QFontMetricsF metrics(font, &m_printer);
    // The print position is the top left corner of the line, as on any page description.
    m_painter.drawText(QPointF(toDevice(m_x), toDevice(m_y) + metrics.ascent()), text);
    m_y += (metrics.height() / m_printer.resolution()) *
           (m_scaleMode == vbCentimeters ? 2.54 : 1440.0);
}

void QtPrinter::EndDoc() {
    if (!m_painter.isActive() && !m_painter.begin(&m_printer))
        fail();
    if (!m_painter.end())
        fail();
}

} // namespace nc
