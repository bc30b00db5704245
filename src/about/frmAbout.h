#pragma once

#include "platform/Registry.h"
#include "ui/Form.h"

class QLabel;
class QPushButton;

namespace nc {

/// The About dialog: title, version, copyright, credits, two links and the system information
/// tool. Built anew at each opening.
class frmAbout final : public Form {
public:
    frmAbout(const Platform& platform, QWidget* owner);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblHomepageLink_Click();
    void lblMailLink_Click();
    void StartSysInfo();
    bool GetKeyValue(HKey KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);

protected:
    void reject() override; // Esc presses OK

private:
    QLabel* lblTitleVersion;
    QLabel* lblCopyright;
    QLabel* lblThanksCode1;
    QPushButton* cmdSysInfo;
    QPushButton* cmdOK;
};

} // namespace nc
