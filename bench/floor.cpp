// The floor for Netcairn's start-up: the same window, with the same controls, texts and fonts,
// built in plain Qt and nothing else: no settings, no address, no second-copy guard.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <class W> W* at(W* widget, int left, int top, int width, int height, const char* tip) {
    widget->setGeometry(left / 15, top / 15, width / 15, height / 15);
    widget->setToolTip(QString::fromLatin1(tip));
    return widget;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QDialog w;
    w.setWindowTitle(QStringLiteral("Netcairn 1.21"));
    w.setFixedSize(286, 284);
    w.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    auto* address = at(new QGroupBox(QStringLiteral("IP-Address"), &w), 240, 120, 3855, 1335, "");
    auto* options =
        at(new QGroupBox(QStringLiteral("Program Options"), &w), 240, 1680, 3855, 1935, "");
    auto* box = at(new QLineEdit(QStringLiteral("192.168.1.20"), &w), 480, 465, 3375, 405,
                   "This textbox shows your local IP-Address");
    box->setFont(QFont(QStringLiteral("MS Sans Serif"), 12));
    at(new QPushButton(QStringLiteral("&Copy"), address), 240, 900, 1050, 315,
       "Copies the IP-Address above to the Windows Clipboard")
        ->setDefault(true);
    at(new QPushButton(QStringLiteral("&Print..."), &w), 1650, 1020, 1050, 315,
       "Prints your IP-Address");
    at(new QPushButton(QStringLiteral("&Update"), &w), 2835, 1020, 1050, 315,
       "Update the IP-Address");
    at(new QCheckBox(
           QStringLiteral("Copy IP-address to the clipboard on launch and when you hit the "
                          "\"Update\"-button."),
           options),
       240, 240, 3495, 600, "Automatically copy the IP-Address to the Windows Clipboard");
    at(new QCheckBox(QStringLiteral("Save IP-Address in:"), &w), 480, 2490, 3495, 255,
       "Chech this if you want to save your IP in a textfile")
        ->setChecked(true);
    at(new QLineEdit(QStringLiteral("/home/user/.local/share/Netcairn/LocalIp.txt"), options), 480,
       1080, 2775, 285, "File Path to the IP-Address");
    at(new QPushButton(QStringLiteral(".."), &w), 3600, 2760, 255, 285,
       "Browse your computer - find a place to save your IP");
    at(new QPushButton(QStringLiteral("A&pply"), &w), 2280, 3165, 1575, 315,
       "Apply the new settings set above")
        ->setEnabled(false);
    at(new QPushButton(QStringLiteral("&About"), &w), 480, 3720, 1575, 375,
       "Feedback, support, credits and your system's information");
    at(new QPushButton(QStringLiteral("E&xit"), &w), 2280, 3720, 1575, 375,
       "Wanna get outa' here? Click me!");
    address->lower();
    options->lower();
    box->setFocus();
    box->selectAll();
    w.show();
    return QApplication::exec();
}
