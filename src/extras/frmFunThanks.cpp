#include "frmFunThanks.h"

#include "about/Credits.h"
#include "app/Controls.h"
#include "app/modPublic.h"

#include <QGroupBox>
#include <QLabel>

namespace nc {

QString frmFunThanks::RedirectPage(const QString& page) {
    return HomepageAddress + QStringLiteral("program/1.21/redirect/") + page +
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
