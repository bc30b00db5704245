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

QPrinter& QtPrinter::printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void QtPrinter::ShowPrinter(const QString& title) {
    if (!m_chooser(printer(), title))
        throw Failure(errCancel, classicDescription(errCancel), QStringLiteral("CommonDialog"));
}

double QtPrinter::toDevice(double units) {
    const double inches = m_scaleMode == vbCentimeters ? units / 2.54 : units / 1440.0;
    return inches * printer().resolution();
}

void QtPrinter::fail() {
    if (m_painter.isActive())
        m_painter.end();
    throw Failure(errPrinter, classicDescription(errPrinter), QStringLiteral("Printer"));
}

void QtPrinter::PrintLine(const QString& text) {
    if (!m_painter.isActive() && !m_painter.begin(&printer()))
        fail();
    QFont font(m_fontName);
    font.setPointSizeF(m_fontSize);
    m_painter.setFont(font);
    const QFontMetricsF metrics(font, &printer());
    // The print position is the top left corner of the line, as on any page description.
    m_painter.drawText(QPointF(toDevice(m_x), toDevice(m_y) + metrics.ascent()), text);
    m_y += metrics.height() / toDevice(1.0); // the next line goes below this one
}

void QtPrinter::EndDoc() {
    if (!m_painter.isActive() && !m_painter.begin(&printer()))
        fail();
    if (!m_painter.end())
        fail();
}

} // namespace nc
