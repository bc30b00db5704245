#include "frmFun.h"

#include "about/Credits.h"
#include "app/modPublic.h"

namespace nc {

frmFun::frmFun(const Platform& platform, QWidget* owner)
    : FunDialog(platform, "frmFun", owner, 4605, 2880) {
    AddCentred("lblMadeBy", QStringLiteral("Netcairn is proudly made by"), {0, 240, 4575, 375},
               9.75);
    AddCentred("lblMadeByName", Credits::Author, {0, 600, 4575, 495}, 13.5, true);
    AddLink(this, "lblMailLink", "lblMailLink_Click", FeedbackAddress, {1560, 1080, 1425, 240},
            9.75, QStringLiteral("mailto:") + FeedbackAddress);
    AddLink(this, "lblHomepageLink", "lblHomepageLink_Click", HomepageAddress,
            {600, 1320, 3375, 240}, 9.75, HomepageAddress);
    AddCentred("lblPressYes", QStringLiteral("Press YES if you think I'm great!"),
               {0, 1800, 4575, 255}, 9.75);
    AddYes({1200, 2280, 2175, 495});
    Form_Load();
}

} // namespace nc
