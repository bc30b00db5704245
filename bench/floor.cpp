// The floor for Netcairn's start-up: the least a Qt 6 dialog program does before its window
// is on screen.

#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(286, 284);
    dialog.show();
    return QApplication::exec();
}
