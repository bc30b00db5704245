#include "FunDialog.h"

#include "about/LinkLabel.h"
#include "app/AppIcon.h"
#include "app/Controls.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QPushButton>

namespace nc {

const QString FunDialog::Caption = QStringLiteral("What is this? An easter egg or somethin' ?");

FunDialog::FunDialog(const Platform& platform, const char* name, QWidget* owner, int widthTwips,
                     int heightTwips)
    : Form(platform, name, owner) {
    setWindowTitle(QString::fromLatin1(name));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(DialogFont());
    setFixedSize(px(widthTwips), px(heightTwips));
}

void FunDialog::AddYes(TwipsRect where) {
    cmdYes = Button(this, "cmdYes", QStringLiteral("&YES"), where);
    cmdYes->setFont(DialogFont(12, true));
    cmdYes->setDefault(true);
    cmdYes->setFocus();
    connect(cmdYes, &QPushButton::clicked, this, [this] { cmdYes_Click(); });
}

void FunDialog::AddLink(QWidget* parent, const char* name, const char* handler, const QString& text,
                        TwipsRect where, double points, const QString& address) {
    auto* link = new LinkLabel(parent, name, text, where, points, {}, [this, handler, address] {
        Sub(handler, [&] { LaunchAddress(p.launcher, address); });
    });
    link->setAlignment(Qt::AlignCenter);
}

void FunDialog::AddCentred(const char* name, const QString& text, TwipsRect where, double points,
                           bool bold) {
    Label(this, name, text, where, points, bold)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void FunDialog::Form_Load() {
    Sub("Form_Load", [&] { setWindowTitle(Caption); });
}

void FunDialog::cmdYes_Click() {
    Sub("cmdYes_Click", [&] { close(); });
}

} // namespace nc
