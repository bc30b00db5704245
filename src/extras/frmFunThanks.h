#pragma once

#include "FunDialog.h"

namespace nc {

/// The hidden thank-you dialog, with a web link for every credit.
class frmFunThanks final : public FunDialog {
public:
    frmFunThanks(const Platform& platform, QWidget* owner);

    /// The page on Netcairn's own site that leads on to the credit named \a page.
    static QString RedirectPage(const QString& page);
};

} // namespace nc
