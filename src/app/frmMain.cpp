#include "frmMain.h"

#include "ExitAnimation.h"
#include "about/frmAbout.h"
#include "address/LocalAddress.h"
#include "extras/FunDialogs.h"
#include "extras/TriggerWords.h"
#include "output/AddressFile.h"
#include "output/PathHelpers.h"
#include "platform/AddressSource.h"
#include "platform/ApplicationObject.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InstanceGuard.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"
#include "platform/Printer.h"
#include "platform/SettingsStore.h"
#include "platform/Windowing.h"
#include "ui/AppIcon.h"
#include "ui/Controls.h"
#include "ui/SendKeys.h"
#include "ui/modPublic.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace nc {

namespace {

/// Characters the user may type into the address box: the longest hidden word fits.
constexpr int kAddressBoxLimit = 28;

int value(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

/// The main window as the exit animation sees it: outer height in twips.
class WindowHeight final : public ShrinkingWindow {
public:
    WindowHeight(QWidget& window, const Windowing& windowing)
        : m_window(window), m_windowing(windowing) {}
    float Height() const override { return float(twips(m_window.frameGeometry().height())); }
    void SetHeight(float height) override {
        const int frame = m_window.frameGeometry().height() - m_window.height();
        m_window.setFixedHeight(qMax(1, qRound(height / kTwipsPerPixel) - frame));
    }
    void ProcessEvents() override { QCoreApplication::processEvents(); }
    bool ProgramEnded() const override { return m_windowing.HasEnded(); }

private:
    QWidget& m_window;
    const Windowing& m_windowing;
};

} // namespace

frmMain::frmMain(const Platform& platform) : Form(platform, "frmMain", nullptr) {
    BuildControls();
    ConnectHandlers();
    p.instanceGuard.ListenForActivation(
        [this](const QVariantMap& platformData) { return ActivateForOtherCopy(platformData); });
    // Logout, shutdown and termination signals close the window as its close box does.
    p.windowing.OnEndRequest([this] { close(); });
}

void frmMain::BuildControls() {
    setWindowTitle(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(DialogFont());
    setFixedSize(px(4290), px(4260));

    // Created in the order a person reads them. Every control belongs to the frame it is drawn
    // in, so that screen readers announce it in that group; those placed in window terms are
    // moved within their frame.
    constexpr TwipsRect addressFrame{240, 120, 3855, 1335}, optionsFrame{240, 1680, 3855, 1935};
    fraIPAddress = Frame(this, "fraIPAddress", QStringLiteral("IP-Address"), addressFrame);
    txtIPAddress = Place(new QLineEdit(QStringLiteral("txtIPAddress"), fraIPAddress),
                         "txtIPAddress", TwipsRect{480, 465, 3375, 405}.within(addressFrame),
                         QStringLiteral("This textbox shows your local IP-Address"));
    txtIPAddress->setFont(DialogFont(12));
    cmdCopy = Button(fraIPAddress, "cmdCopy", QStringLiteral("&Copy"), {240, 900, 1050, 315},
                     QStringLiteral("Copies the IP-Address above to the Windows Clipboard"));
    cmdPrint = Button(fraIPAddress, "cmdPrint", QStringLiteral("&Print..."),
                      TwipsRect{1650, 1020, 1050, 315}.within(addressFrame),
                      QStringLiteral("Prints your IP-Address"));
    cmdUpdate = Button(fraIPAddress, "cmdUpdate", QStringLiteral("&Update"),
                       TwipsRect{2835, 1020, 1050, 315}.within(addressFrame),
                       QStringLiteral("Update the IP-Address"));
    fraOptions = Frame(this, "fraOptions", QStringLiteral("Program Options"), optionsFrame);
    chkAutoCopy =
        Place(new CheckBox(QStringLiteral("Copy IP-address to the clipboard on launch and when "
                                          "you hit the \"Update\"-button."),
                           fraOptions),
              "chkAutoCopy", {240, 240, 3495, 600},
              QStringLiteral("Automatically copy the IP-Address to the Windows Clipboard"));
    chkAutoSave = Place(new CheckBox(QStringLiteral("Save IP-Address in:"), fraOptions),
                        "chkAutoSave", TwipsRect{480, 2490, 3495, 255}.within(optionsFrame),
                        QStringLiteral("Chech this if you want to save your IP in a textfile"));
    chkAutoSave->setChecked(true);
    txtAutoSaveDir =
        Place(new QLineEdit(QStringLiteral("txtAutoSaveDir"), fraOptions), "txtAutoSaveDir",
              {480, 1080, 2775, 285}, QStringLiteral("File Path to the IP-Address"));
    cmdBrowse = Button(fraOptions, "cmdBrowse", QStringLiteral(".."),
                       TwipsRect{3600, 2760, 255, 285}.within(optionsFrame),
                       QStringLiteral("Browse your computer - find a place to save your IP"));
    cmdApply = Button(fraOptions, "cmdApply", QStringLiteral("A&pply"),
                      TwipsRect{2280, 3165, 1575, 315}.within(optionsFrame),
                      QStringLiteral("Apply the new settings set above"));
    cmdAbout = Button(this, "cmdAbout", QStringLiteral("&About"), {480, 3720, 1575, 375},
                      QStringLiteral("Feedback, support, credits and your system's information"));
    cmdExit = Button(this, "cmdExit", QStringLiteral("E&xit"), {2280, 3720, 1575, 375},
                     QStringLiteral("Wanna get outa' here? Click me!"));
    // What a screen reader announces where the caption alone says too little.
    txtIPAddress->setAccessibleName(fraIPAddress->title());
    txtAutoSaveDir->setAccessibleName(chkAutoSave->text());
    cmdBrowse->setAccessibleName(QStringLiteral("Browse"));
    new KeepCentred(this);

    QWidget* const order[] = {txtIPAddress, cmdCopy,     cmdPrint,       cmdUpdate,
                              chkAutoCopy,  chkAutoSave, txtAutoSaveDir, cmdBrowse,
                              cmdApply,     cmdAbout,    cmdExit};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    cmdCopy->setDefault(true);
}

void frmMain::ConnectHandlers() {
    Handle(cmdCopy, &QPushButton::clicked, [this] { cmdCopy_Click(); });
    Handle(cmdPrint, &QPushButton::clicked, [this] { cmdPrint_Click(); });
    Handle(cmdUpdate, &QPushButton::clicked, [this] { cmdUpdate_Click(); });
    Handle(cmdBrowse, &QPushButton::clicked, [this] { cmdBrowse_Click(); });
    Handle(cmdApply, &QPushButton::clicked, [this] { cmdApply_Click(); });
    Handle(cmdAbout, &QPushButton::clicked, [this] { cmdAbout_Click(); });
    Handle(cmdExit, &QPushButton::clicked, [this] { cmdExit_Click(); });
    // These fire only on a real change, by the user or by the program, at the point of change.
    Handle(chkAutoCopy, &QCheckBox::toggled, [this] { chkAutoCopy_Click(); });
    Handle(chkAutoSave, &QCheckBox::toggled, [this] { chkAutoSave_Click(); });
    Handle(txtAutoSaveDir, &QLineEdit::textChanged, [this] { txtAutoSaveDir_Change(); });
    for (QWidget* option : {static_cast<QWidget*>(chkAutoCopy), static_cast<QWidget*>(chkAutoSave),
                            static_cast<QWidget*>(txtAutoSaveDir)})
        option->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    if (in || event->type() == QEvent::FocusOut) {
        // Only moves between controls count; a message box or another program taking the
        // window's activation away leaves the default button alone.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            FromToolkit([&] {
                if (watched == txtAutoSaveDir)
                    in ? txtAutoSaveDir_GotFocus() : txtAutoSaveDir_LostFocus();
                else if (watched == chkAutoSave)
                    in ? chkAutoSave_GotFocus() : chkAutoSave_LostFocus();
                else if (watched == chkAutoCopy)
                    in ? chkAutoCopy_GotFocus() : chkAutoCopy_LostFocus();
            });
        }
    }
    return Form::eventFilter(watched, event);
}

// --- start-up and shutdown ---------------------------------------------------------------

void frmMain::Form_Load() {
    // A guard that cannot see other copies is reported on its own, so that start-up goes on as
    // it would for the only copy.
    Sub(__func__, [&] { p.instanceGuard.RaiseWatchFailure(); });
    Sub(__func__, [&] {
        if (p.instanceGuard.PrevInstance()) {
            const int answer = p.dialogs.MsgBox(
                QStringLiteral("Netcairn is already running. ") +
                    QStringLiteral(
                        "Running it twice (or more) may cause your computer to crash. ") +
                    QStringLiteral("Are you sure you want to start another Netcairn session?"),
                vbYesNo | vbDefaultButton2, QStringLiteral("Netcairn already running!"));
            if (answer != vbYes) {
                // The first copy only comes to the front: typing into it would replace the
                // address selected there.
                p.instanceGuard.ActivateFirstCopy();
                p.windowing.End();
                return;
            }
        }
        setWindowTitle(p.applicationObject.Title() + u' ' + VersionText(p.applicationObject));
        OpenSettings();
        if (p.settingsStore.IsFirstStart(p.applicationObject.Title()))
            WriteDefaultSettings();
        chkAutoCopy->setChecked(Settings.AutoCopy == 1);
        chkAutoSave->setChecked(Settings.AutoSave == 1);
        txtAutoSaveDir->setText(Settings.AutoSaveDir);
        new TypedLengthLimit(txtIPAddress, kAddressBoxLimit);
        cmdUpdate_Click();
        txtIPAddress->setFocus();
        SendKeys(this, QStringLiteral("{End}+{Home}"));
    });
}

bool frmMain::ActivateForOtherCopy(const QVariantMap& platformData) {
    if (!windowTitle().startsWith(p.applicationObject.Title()))
        return false;
    // A request during start-up must not show a half-loaded window; it is answered at once and
    // carried out when start-up shows the window.
    if (isVisible())
        p.windowing.BringToFront(*this, platformData);
    else
        comeForwardWhenShown = platformData;
    return true;
}

void frmMain::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (comeForwardWhenShown)
        p.windowing.BringToFront(*this, *std::exchange(comeForwardWhenShown, std::nullopt));
}

void frmMain::cmdExit_Click() {
    Sub(__func__, [&] {
        WindowHeight window(*this, p.windowing);
        ShrinkWindow(window);
        if (!p.windowing.HasEnded())
            p.windowing.End();
    });
}

void frmMain::reject() {
    if (cmdExit->isEnabled())
        cmdExit->click();
}

void frmMain::Form_Unload() {
    Sub(__func__, [&] {
        // From the last form down, so that the lower indexes stay valid as forms leave.
        for (int i = p.openForms.count() - 1; i >= 0; --i) {
            if (i < p.openForms.count())
                p.openForms.at(i)->close();
        }
    });
}

// --- the refresh ---------------------------------------------------------------------------

void frmMain::cmdUpdate_Click() {
    Sub(__func__, [&] {
        OpenSettings();
        DisplayedAddress = TagOffline(LocalIP(p.addressSource));
        txtIPAddress->setText(DisplayedAddress);
        if (Settings.AutoCopy == 1)
            AutoCopy();
        else if (Settings.AutoSave == 1)
            AutoSave();
        EasterEgg3();
    });
}

void frmMain::SetPlainAddress() {
    PlainAddress = UntagOffline(txtIPAddress->text());
}

// --- settings ------------------------------------------------------------------------------

void frmMain::OpenSettings() {
    Sub(__func__, [&] { ReadSettings(p.settingsStore, p.applicationObject.Title(), Settings); });
}

void frmMain::WriteDefaultSettings() {
    Sub(__func__, [&] {
        StoreOptions(p.settingsStore, p.applicationObject.Title(), 0, 1,
                     DefaultAddressFilePath(p.applicationObject));
        p.settingsStore.RecordFirstStart(p.applicationObject.Title());
        OpenSettings();
    });
}

void frmMain::CheckPendingChanges() {
    OpenSettings();
    cmdApply->setEnabled(HasPendingChanges(value(chkAutoCopy), value(chkAutoSave),
                                           txtAutoSaveDir->text(), Settings));
}

void frmMain::txtAutoSaveDir_Change() {
    Sub(__func__, [&] {
        CheckPendingChanges();
        // The phrase is answered by the next refresh, never stored as a path by accident.
        if (IsNameDialoguePhrase(txtAutoSaveDir->text()))
            cmdApply->setEnabled(false);
    });
}

void frmMain::chkAutoCopy_Click() {
    Sub(__func__, [&] { CheckPendingChanges(); });
}

void frmMain::chkAutoSave_Click() {
    Sub(__func__, [&] {
        OpenSettings();
        const bool ticked = value(chkAutoSave) == 1;
        txtAutoSaveDir->setEnabled(ticked);
        cmdBrowse->setEnabled(ticked);
        if (ticked)
            AutoSave();
        else if (FileExists(p.fileSystem, Settings.AutoSaveDir))
            p.fileSystem.Kill(Settings.AutoSaveDir);
        CheckPendingChanges();
    });
}

void frmMain::cmdApply_Click() {
    Sub(__func__, [&] {
        const QString title = p.applicationObject.Title();
        OpenSettings();
        if (txtAutoSaveDir->text() != Settings.AutoSaveDir) {
            bool takeOver = true;
            if (FileExists(p.fileSystem, txtAutoSaveDir->text())) {
                const int answer = p.dialogs.MsgBox(
                    QStringLiteral("The file ") + txtAutoSaveDir->text() +
                        QStringLiteral(" already exists. All contents of the file will be "
                                       "overwritten!") +
                        QStringLiteral("  Are you sure you want to overwrite the file?"),
                    vbYesNo | vbExclamation | vbDefaultButton2, title);
                if (answer != vbYes) {
                    txtAutoSaveDir->setText(Settings.AutoSaveDir);
                    takeOver = false;
                }
            }
            if (takeOver && FileExists(p.fileSystem, Settings.AutoSaveDir))
                p.fileSystem.Kill(Settings.AutoSaveDir);
        }
        StoreOptions(p.settingsStore, title, value(chkAutoCopy), value(chkAutoSave),
                     txtAutoSaveDir->text());
        const auto stored = [&](const char* key) {
            return p.settingsStore.GetSetting(title, OptionsSection, QString::fromLatin1(key));
        };
        chkAutoCopy->setChecked(FlagValue(stored("AutoCopy")) == 1);
        chkAutoSave->setChecked(FlagValue(stored("AutoSave")) == 1);
        txtAutoSaveDir->setText(stored("AutoSaveDir"));
        OpenSettings();
        cmdApply->setEnabled(false);
        cmdUpdate_Click();
    });
}

// --- the default button follows the focus ------------------------------------------------

void frmMain::txtAutoSaveDir_GotFocus() {
    Sub(__func__, [&] { cmdApply->setDefault(true); });
}
void frmMain::txtAutoSaveDir_LostFocus() {
    Sub(__func__, [&] { cmdCopy->setDefault(true); });
}
void frmMain::chkAutoSave_GotFocus() {
    Sub(__func__, [&] { cmdApply->setDefault(true); });
}
void frmMain::chkAutoSave_LostFocus() {
    Sub(__func__, [&] { cmdCopy->setDefault(true); });
}
void frmMain::chkAutoCopy_GotFocus() {
    Sub(__func__, [&] { cmdApply->setDefault(true); });
}
void frmMain::chkAutoCopy_LostFocus() {
    Sub(__func__, [&] { cmdCopy->setDefault(true); });
}

// --- handing the address out --------------------------------------------------------------

void frmMain::AutoCopy() {
    Sub(__func__, [&] {
        p.clipboard.Clear();
        SetPlainAddress();
        p.clipboard.SetText(PlainAddress);
    });
}

void frmMain::cmdCopy_Click() {
    Sub(__func__, [&] { AutoCopy(); });
}

void frmMain::AutoSave() {
    Sub(__func__, [&] {
        OpenSettings();
        CreateNewDirectory(GetDir(Settings.AutoSaveDir));
        SetPlainAddress();
        p.fileSystem.ReplaceFile(Settings.AutoSaveDir, AddressFileBytes(PlainAddress));
    });
}

void frmMain::CreateNewDirectory(const QString& NewDirectory) {
    Sub(__func__, [&] { nc::CreateNewDirectory(p.fileSystem, NewDirectory); });
}

void frmMain::cmdBrowse_Click() {
    Silently([&] {
        OpenSettings();
        txtAutoSaveDir->setText(p.commonDialog.ShowSave(SaveAsRequestFor(Settings.AutoSaveDir)));
    });
}

void frmMain::cmdPrint_Click() {
    Silently([&] {
        const QString dialogTitle = QStringLiteral("Print IP-Address");
        p.printer.SetFontName(QStringLiteral("MS Sans Serif"));
        p.printer.SetFontSize(18);
        p.printer.SetScaleMode(vbCentimeters);
        p.printer.SetCurrentX(2);
        p.printer.SetCurrentY(2);
        p.printer.ShowPrinter(dialogTitle);
        SetPlainAddress();
        p.printer.PrintLine(PlainAddress);
        p.printer.EndDoc();
    });
}

// --- About and the hidden words ------------------------------------------------------------

void frmMain::cmdAbout_Click() {
    Sub(__func__, [&] {
        EasterEgg1();
        EasterEgg2();
        if (FunShown || FunThanksShown)
            return;
        frmAbout about(p, this);
        p.windowing.ShowModal(about);
    });
}

void frmMain::EasterEgg1() {
    Sub(__func__, [&] {
        FunShown = MatchesTrigger(txtIPAddress->text(), FunWords());
        if (FunShown) {
            frmFun fun(p, this);
            p.windowing.ShowModal(fun);
        }
    });
}

void frmMain::EasterEgg2() {
    Sub(__func__, [&] {
        FunThanksShown = MatchesTrigger(txtIPAddress->text(), FunThanksWords());
        if (FunThanksShown) {
            frmFunThanks thanks(p, this);
            p.windowing.ShowModal(thanks);
        }
    });
}

void frmMain::EasterEgg3() {
    Sub(__func__, [&] {
        if (!IsNameDialoguePhrase(txtAutoSaveDir->text()))
            return;
        const QString name = p.dialogs.InputBox(QStringLiteral("Please enter your name"),
                                                FunDialog::Caption, QString());
        if (!name.isEmpty())
            p.dialogs.MsgBox(name + QStringLiteral(" is really cool!"), vbOKOnly | vbInformation,
                             QStringLiteral("True stuff"));
        else
            p.dialogs.MsgBox(QStringLiteral("Enter something, stoopid!"), vbOKOnly | vbCritical,
                             QString());
        txtAutoSaveDir->setText(Settings.AutoSaveDir);
    });
}

} // namespace nc
