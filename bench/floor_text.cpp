// A second floor: the same bare dialog with one line of text, which makes Qt load its fonts.

#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(286, 284);
    QLabel label(QStringLiteral("192.168.1.20"), &dialog);
    dialog.show();
    return QApplication::exec();
}
