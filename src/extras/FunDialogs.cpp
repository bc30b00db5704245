#include "FunDialogs.h"

#include "platform/ApplicationObject.h"
#include "platform/Platform.h"
#include "ui/AppIcon.h"
#include "ui/Credits.h"

#include <QGroupBox>
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
    new KeepCentred(this, owner);
    setFont(DialogFont());
    setFixedSize(px(widthTwips), px(heightTwips));
}

void FunDialog::AddYes(TwipsRect where) {
    cmdYes = Button(this, "cmdYes", QStringLiteral("&YES"), where);
    cmdYes->setFont(DialogFont(12, true));
    cmdYes->setDefault(true);
    cmdYes->setFocus();
    Handle(cmdYes, &QPushButton::clicked, [this] { cmdYes_Click(); });
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
    Sub(__func__, [&] { setWindowTitle(Caption); });
}

void FunDialog::cmdYes_Click() {
    Sub(__func__, [&] { close(); });
}

frmFun::frmFun(const Platform& platform, QWidget* owner)
    : FunDialog(platform, "frmFun", owner, 4605, 2880) {
    const QString feedback = p.applicationObject.FeedbackAddress();
    const QString homepage = p.applicationObject.HomepageAddress();
    AddCentred("lblMadeBy", QStringLiteral("Netcairn is proudly made by"), {0, 240, 4575, 375},
               9.75);
    AddCentred("lblMadeByName", Credits::Author, {0, 600, 4575, 495}, 13.5, true);
    AddLink(this, "lblMailLink", "lblMailLink_Click", feedback, {1560, 1080, 1425, 240}, 9.75,
            QStringLiteral("mailto:") + feedback);
    AddLink(this, "lblHomepageLink", "lblHomepageLink_Click", homepage, {600, 1320, 3375, 240},
            9.75, homepage);
    AddCentred("lblPressYes", QStringLiteral("Press YES if you think I'm great!"),
               {0, 1800, 4575, 255}, 9.75);
    AddYes({1200, 2280, 2175, 495});
    Form_Load();
}

QString frmFunThanks::RedirectPage(const QString& page) const {
    return p.applicationObject.HomepageAddress() + QStringLiteral("program/1.21/redirect/") + page +
           QStringLiteral(".html");
}

frmFunThanks::frmFunThanks(const Platform& platform, QWidget* owner)
    : FunDialog(platform, "frmFunThanks", owner, 6135, 5310) {
    QGroupBox* thanks =
        Frame(this, "fraThankYou", QStringLiteral("Thank you-list"), {360, 240, 5415, 2295});
    Label(thanks, "lblThanksCode", QStringLiteral("Program Code:"), {120, 360, 1335, 1095}, 8.25,
          true);
    Label(thanks, "lblThanksCodeHelp",
          QStringLiteral("Thanks to %1, creator of %2, and to %3 for their help with the coding.")
              .arg(Credits::ProgramCreator, Credits::Program, Credits::CodeHelper),
          {1560, 360, 3735, 735})
        ->setWordWrap(true);
    Label(thanks, "lblThanksCodeBook",
          QStringLiteral("Thanks to my father and to %1 for the programming book.")
              .arg(Credits::Company),
          {1560, 1080, 3735, 495})
        ->setWordWrap(true);
    Label(thanks, "lblThanksBetaTesting", QStringLiteral("Beta Testers:"), {120, 1680, 1455, 495},
          8.25, true);
    Label(thanks, "lblThanksBetaTesters", Credits::BetaTesters, {1560, 1680, 3705, 495})
        ->setWordWrap(true);

    QGroupBox* links =
        Frame(this, "fraWebLinks", QStringLiteral("Related Web-links"), {360, 2760, 5415, 1335});
    AddLink(links, "lblLinkProgram", "lblLinkProgram_Click", Credits::Program, {720, 360, 615, 195},
            8.25, RedirectPage(QStringLiteral("quern")));
    AddLink(links, "lblLinkTester1", "lblLinkTester1_Click", Credits::Tester1,
            {2160, 240, 1275, 195}, 8.25, RedirectPage(QStringLiteral("ines-okonkwo")));
    AddLink(links, "lblLinkTester2", "lblLinkTester2_Click", Credits::Tester2,
            {3840, 480, 870, 195}, 8.25, RedirectPage(QStringLiteral("piet-mol")));
    AddLink(links, "lblLinkCoder", "lblLinkCoder_Click", Credits::CodeHelper, {720, 840, 1965, 195},
            8.25, RedirectPage(QStringLiteral("joaquin-ferreira")));
    AddLink(links, "lblLinkCompany", "lblLinkCompany_Click", Credits::Company,
            {3360, 840, 1050, 195}, 8.25, RedirectPage(QStringLiteral("quillmoor")));

    AddCentred("lblPressYes", QStringLiteral("Press YES if you think they're great!"),
               {0, 4320, 6135, 255}, 9.75);
    AddYes({1920, 4680, 2175, 495});
    Form_Load();
}

} // namespace nc
