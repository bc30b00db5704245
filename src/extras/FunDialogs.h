#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

class QPushButton;

namespace nc {

/// What the two hidden dialogs share: their caption, the YES button that closes them (Enter
/// presses it; Esc does nothing, there is no cancel button) and their link labels.
class FunDialog : public Form {
public:
    /// The caption both dialogs show.
    static const QString Caption;

    void Form_Load();
    void cmdYes_Click();

protected:
    FunDialog(const Platform& platform, const char* name, QWidget* owner, int widthTwips,
              int heightTwips);
    /// The YES button at \a where, added last so that it is the only stop in the tab order.
    void AddYes(TwipsRect where);
    /// A link label at \a where whose click, reported as \a handler, opens \a address.
    void AddLink(QWidget* parent, const char* name, const char* handler, const QString& text,
                 TwipsRect where, double points, const QString& address);
    /// A centred label.
    void AddCentred(const char* name, const QString& text, TwipsRect where, double points,
                    bool bold = false);

    void reject() override {}

private:
    QPushButton* cmdYes = nullptr;
};

/// The hidden dialog about the author.
class frmFun final : public FunDialog {
public:
    frmFun(const Platform& platform, QWidget* owner);
};

/// The hidden thank-you dialog, with a web link for every credit.
class frmFunThanks final : public FunDialog {
public:
    frmFunThanks(const Platform& platform, QWidget* owner);

private:
    /// The page on Netcairn's own site that leads on to the credit named \a page.
    QString RedirectPage(const QString& page) const;
};

} // namespace nc
