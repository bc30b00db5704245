#pragma once

#include "settings/Options.h"
#include "ui/Form.h"

#include <QVariantMap>

#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace nc {

/// The main window: shows the local address and hands it out, edits the three options, and
/// owns all of the program's state.
class frmMain final : public Form {
public:
    explicit frmMain(const Platform& platform);

    /// Start-up, before the window is first shown.
    void Form_Load();
    /// Brings this window to the front for a later copy, with the desktop's leave in
    /// \a platformData, if its caption begins with the title; during start-up, once it shows.
    bool ActivateForOtherCopy(const QVariantMap& platformData);

    // The buttons.
    void cmdUpdate_Click();
    void cmdCopy_Click();
    void cmdPrint_Click();
    void cmdBrowse_Click();
    void cmdApply_Click();
    void cmdAbout_Click();
    void cmdExit_Click();

    // The option controls' reactions to a changed value and to the focus.
    void txtAutoSaveDir_Change();
    void chkAutoCopy_Click();
    void chkAutoSave_Click();
    void txtAutoSaveDir_GotFocus();
    void txtAutoSaveDir_LostFocus();
    void chkAutoSave_GotFocus();
    void chkAutoSave_LostFocus();
    void chkAutoCopy_GotFocus();
    void chkAutoCopy_LostFocus();

    // The procedures behind them.
    void OpenSettings();
    void WriteDefaultSettings();
    void CheckPendingChanges();
    void SetPlainAddress();
    void AutoCopy();
    void AutoSave();
    void CreateNewDirectory(const QString& NewDirectory);
    void EasterEgg1();
    void EasterEgg2();
    void EasterEgg3();

protected:
    void Form_Unload() override;
    void reject() override; // Esc presses Exit
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();

    SettingsRecord Settings;
    QString DisplayedAddress;
    QString PlainAddress;
    bool FunShown = false;
    bool FunThanksShown = false;
    std::optional<QVariantMap> comeForwardWhenShown; ///< a request that came during start-up

    QGroupBox* fraIPAddress;
    QLineEdit* txtIPAddress;
    QPushButton* cmdCopy;
    QPushButton* cmdPrint;
    QPushButton* cmdUpdate;
    QGroupBox* fraOptions;
    QCheckBox* chkAutoCopy;
    QCheckBox* chkAutoSave;
    QLineEdit* txtAutoSaveDir;
    QPushButton* cmdBrowse;
    QPushButton* cmdApply;
    QPushButton* cmdAbout;
    QPushButton* cmdExit;
};

} // namespace nc
