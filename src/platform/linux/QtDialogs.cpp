#include "QtDialogs.h"

#include "platform/Failure.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace nc {

namespace {

QWidget* windowInUse() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtDialogs::MsgBox(const QString& prompt, int style, const QString& title) {
    QMessageBox box(windowInUse());
    box.setWindowTitle(title.isEmpty() ? m_title : title);
    // Prompts carry paths and whatever the user typed: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString(prompt).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box.setIcon(iconFor(style));
    // The box is still focused here: the desktop's leave for a window to come forward is
    // asked for on its behalf, for a copy that answers No to hand on.
    if (m_onAnswer)
        QObject::connect(&box, &QMessageBox::buttonClicked, &box, [&] { m_onAnswer(box); });
    if ((style & 0x7) == vbYesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton((style & vbDefaultButton2) ? no : yes);
        box.exec();
        EndIfEnded();
        return box.clickedButton() == yes ? vbYes : vbNo;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    EndIfEnded();
    return vbOK;
}

QString QtDialogs::InputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(windowInUse(), title.isEmpty() ? m_title : title,
                                                 prompt, QLineEdit::Normal, defaultText, &ok);
    EndIfEnded();
    return ok ? answer : QString();
}

void QtDialogs::EndIfEnded() const {
    if (m_windowing.HasEnded())
        throw ProgramEnding();
}

} // namespace nc
