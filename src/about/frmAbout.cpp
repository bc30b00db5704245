#include "frmAbout.h"

#include "RegistryValue.h"
#include "platform/ApplicationObject.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "ui/AppIcon.h"
#include "ui/Controls.h"
#include "ui/Credits.h"
#include "ui/modPublic.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace nc {

namespace {

QLabel* BlackLabel(QWidget* parent, const char* name, const QString& text, TwipsRect where) {
    QLabel* label = Label(parent, name, text, where, 9.75);
    SetTextColour(label, Qt::black);
    return label;
}

} // namespace

frmAbout::frmAbout(const Platform& platform, QWidget* owner) : Form(platform, "frmAbout", owner) {
    setWindowTitle(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    new KeepCentred(this, owner);
    setFont(DialogFont());
    setFixedSize(px(6135), px(7050));

    auto* picture = Place(new QLabel(this), "Picture1", {480, 240, 540, 540});
    picture->setPixmap(CheckMarkPixmap(32, Qt::black));
    picture->setAccessibleName(p.applicationObject.Title() + QStringLiteral(" logo"));
    lblTitleVersion =
        BlackLabel(this, "lblTitleVersion", QStringLiteral("lblTitle"), {1320, 240, 4485, 345});
    lblCopyright =
        BlackLabel(this, "lblCopyright", QStringLiteral("lblCopyright"), {1320, 480, 4365, 345});
    BlackLabel(this, "lblDescription",
               QStringLiteral("Netcairn is a simple freeware program - only made for showing your "
                              "local IP-Address with some small, but handy functions. Nothing "
                              "big. But that's hopefully the way you want it! Take a look at the "
                              "Netcairn homepage for more information and the latest version:"),
               {480, 960, 5325, 1290})
        ->setWordWrap(true);
    new LinkLabel(this, "lblHomepageLink", p.applicationObject.HomepageAddress(),
                  {480, 2280, 3345, 240}, 9.75,
                  QStringLiteral("Press here to visit the Netcairn homepage"),
                  [this] { lblHomepageLink_Click(); });
    BlackLabel(this, "lblMailMe",
               QStringLiteral("Comments, questions, bug reports etc.? Do not hesitate contacting "
                              "me on:"),
               {480, 2640, 5325, 570})
        ->setWordWrap(true);
    new LinkLabel(
        this, "lblMailLink", p.applicationObject.FeedbackAddress(), {480, 3240, 1395, 240}, 9.75,
        QStringLiteral("Press here to fire up your mail progrm and send feedback to the author"),
        [this] { lblMailLink_Click(); });

    QGroupBox* thanks =
        Frame(this, "fraThankYou", QStringLiteral("Thank you-list"), {480, 3720, 5415, 2535});
    Label(thanks, "lblThanksCode", QStringLiteral("Program Code:"), {120, 360, 1335, 1095}, 8.25,
          true);
    lblThanksCode1 =
        Label(thanks, "lblThanksCode1", QStringLiteral("lblThanksCode1"), {1560, 360, 3735, 1575});
    lblThanksCode1->setWordWrap(true);
    Label(thanks, "lblThanksBetaTesting", QStringLiteral("Beta Testers:"), {120, 1920, 1455, 495},
          8.25, true);
    Label(thanks, "lblThanksBetaTesters", Credits::BetaTesters, {1560, 1920, 3735, 495})
        ->setWordWrap(true);

    cmdSysInfo =
        Button(this, "cmdSysInfo", QStringLiteral("&System Info..."), {480, 6480, 1605, 345},
               QStringLiteral("Handy Information about your system"));
    cmdOK = Button(this, "cmdOK", QStringLiteral("OK"), {4200, 6480, 1740, 345});
    setTabOrder(cmdSysInfo, cmdOK);
    cmdSysInfo->setDefault(true);
    cmdSysInfo->setFocus();

    Handle(cmdSysInfo, &QPushButton::clicked, [this] { cmdSysInfo_Click(); });
    Handle(cmdOK, &QPushButton::clicked, [this] { cmdOK_Click(); });
    Form_Load();
}

void frmAbout::Form_Load() {
    Sub(__func__, [&] {
        const ApplicationObject& app = p.applicationObject;
        const QString version = VersionText(app);
        setWindowTitle(QStringLiteral("About ") + app.Title() + u' ' + version);
        lblTitleVersion->setText(app.Title() + QStringLiteral(" v") + version);
        lblCopyright->setText(QStringLiteral("Copyright ") + app.LegalCopyright());
        SetLabelText(
            lblThanksCode1,
            QStringLiteral("Thanks to %1, creator of %2, and to %3 for their help with the "
                           "program code and design.")
                    .arg(Credits::ProgramCreator, Credits::Program, Credits::CodeHelper) +
                QStringLiteral("\r\n\r\n") +
                QStringLiteral(
                    "Also, thanks to my father %1 and to %2 for the book on programming.")
                    .arg(Credits::FatherFirstNames, Credits::Company));
    });
}

void frmAbout::reject() {
    if (cmdOK->isEnabled())
        cmdOK->click();
}

void frmAbout::cmdOK_Click() {
    Sub(__func__, [&] { close(); });
}

void frmAbout::cmdSysInfo_Click() {
    Sub(__func__, [&] { StartSysInfo(); });
}

void frmAbout::lblHomepageLink_Click() {
    Sub(__func__, [&] { LaunchAddress(p.launcher, p.applicationObject.HomepageAddress()); });
}

void frmAbout::lblMailLink_Click() {
    Sub(__func__, [&] {
        LaunchAddress(p.launcher,
                      QStringLiteral("mailto:") + p.applicationObject.FeedbackAddress());
    });
}

void frmAbout::StartSysInfo() {
    Sub(__func__, [&] {
        QString SysInfoPath;
        const QString tool = QDir::separator() + QStringLiteral("MSINFO32.EXE");
        if (GetKeyValue(HKEY_LOCAL_MACHINE,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        QStringLiteral("PATH"), SysInfoPath)) {
            // the first place names the program itself and is trusted as it stands
        } else if (GetKeyValue(HKEY_LOCAL_MACHINE,
                               QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                               QStringLiteral("MSINFO"), SysInfoPath) &&
                   p.fileSystem.IsOrdinaryFile(SysInfoPath + tool)) {
            SysInfoPath += tool;
        } else {
            p.dialogs.MsgBox(QStringLiteral("System Information isn' t available on this computer"),
                             vbOKOnly | vbInformation,
                             QStringLiteral("Can not launch Microsoft System Info!"));
            return;
        }
        p.launcher.Shell(SysInfoPath, vbNormalFocus);
    });
}

bool frmAbout::GetKeyValue(HKey KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal) {
    bool result = false;
    Function(__func__,
             [&] { result = ReadKeyValue(p.registry, KeyRoot, KeyName, SubKeyRef, KeyVal); });
    return result;
}

} // namespace nc
