// The windows as a person uses them. Each scenario below says what the machine holds at the
// start (+), how the person answers the windows that come up (<, one window each), what they
// do and then see (?: window contents, the clipboard, files and their modes, stored options,
// programs started), and every dialog that came up on the way (!, with its icon and buttons,
// * the default; 6x: six alike). Items on one line are separated by " ; " and run in order;
// {40p} is forty p. Then what every window shows, and what a screen reader finds there.

#include "TestPlatform.h"
#include "about/RegistryValue.h"
#include "about/frmAbout.h"
#include "app/ExitAnimation.h"
#include "app/frmMain.h"
#include "extras/FunDialogs.h"
#include "platform/linux/PosixFailure.h"
#include "platform/linux/RealPlatform.h"
#include "settings/Options.h"
#include "ui/AppIcon.h"
#include "ui/Controls.h"
#include "ui/modPublic.h"

#include <QAccessible>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace nc;
using namespace Qt::StringLiterals;

namespace {

/// Sets up one thing the machine holds: "options=COPY|SAVE|PATH", "file:REL=BYTES",
/// "mode:REL=OCTAL", "address=A", "installed", "previous" (another copy runs), "previous=mute"
/// (it never answers), "blind" (the guard sees no copies), "no=TOOL" (sysinfo or xdg-open gone).
void Give(TestPlatform& p, const QString& item) {
    const QString key = item.section(u'=', 0, 0), value = item.section(u'=', 1);
    if (key == "options"_L1) {
        p.storeOptions(value.section(u'|', 0, 0).toInt(), value.section(u'|', 1, 1).toInt(),
                       value.section(u'|', 2));
    } else if (key.startsWith("file:"_L1)) {
        p.writeFile(key.mid(5), value.toUtf8());
    } else if (key.startsWith("mode:"_L1)) {
        chmod(QFile::encodeName(p.path(key.mid(5))), value.toUInt(nullptr, 8));
    } else if (key == "address"_L1) {
        p.address.address = value;
    } else if (key == "installed"_L1 || key == "blind"_L1) {
        (key == "installed"_L1 ? p.app.installed : p.guard.blind) = true;
    } else if (key == "previous"_L1) {
        p.guard.previous = true;
        p.guard.firstCopyAnswers = value != "mute"_L1;
    } else if (key == "no"_L1) { // "no=TOOL": the tool is not installed
        QFile::remove(p.path("bin/" + value));
    } else if (key != "ending"_L1) { // "ending" is taken when the platform is made
        qFatal("unknown starting point %s", qPrintable(item));
    }
}

/// What the person sees of \a key: "caption", "clipboard", "file:REL" ("<none>" when absent),
/// "mode:REL", "stored" (COPY|SAVE|PATH), "PROPERTY:NAME" of a control ("text:txtIPAddress"),
/// "focus", "default" (the button Enter presses), "launched", "shown" (modal forms), "ended",
/// "forms", "activated", "height" (in pixels), "raised" (the tokens of each bring-to-front).
QString Observe(TestPlatform& p, frmMain& window, const QString& key) {
    const QString kind = key.section(u':', 0, 0), name = key.section(u':', 1);
    const QString file = p.path(name);
    struct stat info {};
    if (kind == "file"_L1)
        return QFile::exists(file) ? QString::fromUtf8(TestPlatform::readFile(file)) : u"<none>"_s;
    if (kind == "mode"_L1)
        return stat(QFile::encodeName(file), &info) ? u"<none>"_s
                                                    : QString::number(info.st_mode & 07777, 8);
    if (key.contains(u':'))
        return window.findChild<QWidget*>(name)->property(qPrintable(kind)).toString();
    const QWidget* focus = QApplication::focusWidget();
    const std::map<QString, std::function<QString()>> views{
        {u"caption"_s, [&] { return window.windowTitle(); }},
        {u"clipboard"_s, [] { return QApplication::clipboard()->text(); }},
        {u"focus"_s, [&] { return focus ? focus->objectName() : QString(); }},
        {u"launched"_s, [&] { return p.launched(); }},
        {u"shown"_s, [&] { return p.windowing.shown.join(u' '); }},
        {u"ended"_s, [&] { return QString::number(p.activeWindowing.HasEnded()); }},
        {u"forms"_s, [&] { return QString::number(p.forms.count()); }},
        {u"height"_s, [&] { return QString::number(window.height()); }},
        {u"activated"_s, [&] { return QString::number(p.guard.activated); }}};
    if (views.count(key))
        return views.at(key)();
    if (key == "stored"_L1)
        return p.stored(u"AutoCopy"_s) + u'|' + p.stored(u"AutoSave"_s) + u'|' +
               p.stored(u"AutoSaveDir"_s);
    if (key == "default"_L1) {
        for (QPushButton* button : window.findChildren<QPushButton*>())
            if (button->isDefault())
                return button->objectName();
        return {};
    }
    QStringList tokens; // "raised": the activation token of each bring-to-front
    for (const QVariantMap& leave : p.windowing.broughtToFront)
        tokens << leave.value(u"activation-token"_s).toString();
    if (key != "raised"_L1)
        qFatal("unknown observation %s", qPrintable(key));
    return tokens.join(u' ');
}

/// A window that will not get lower than \a floor twips.
struct FakeWindow final : ShrinkingWindow {
    FakeWindow(float height, float floor, int endAfter = -1)
        : height(height), floor(floor), endAfter(endAfter) {}
    float Height() const override { return height; }
    void SetHeight(float h) override { height = qMax(h, floor); }
    void ProcessEvents() override { ++steps; }
    bool ProgramEnded() const override { return steps == endAfter; }
    float height, floor;
    int endAfter, steps = 0;
};

const char* const kScenarios = R"(
first start, also beside a comment: defaults, the address saved and selected
  + address=10.0.0.7 ; file:config/Netcairn/Netcairn.ini=; mine\n
  ?caption=Netcairn 1.21 ; ?stored=0|1|{home}/bin/LocalIp.txt ; ?selectedText:txtIPAddress=10.0.0.7
  ?cursorPosition:txtIPAddress=0 ; ?file:bin/LocalIp.txt=10.0.0.7\r\n ; ?mode:bin/LocalIp.txt=644
  ?focus=txtIPAddress ; ?checked:chkAutoCopy=false ; ?checked:chkAutoSave=true
  ?enabled:cmdApply=false ; ?clipboard= ; ?text:txtAutoSaveDir={home}/bin/LocalIp.txt
options without the first-start marker are no first start, beside an empty marker section
  + file:config/Netcairn/Netcairn.ini=[Setup]\n[Options]\nAutoSave=0\n
  ?file:config/Netcairn/Netcairn.ini=[Setup]\nDefaultsWritten=1\n[Options]\nAutoSave=0\n
an installed copy's first start: the data folder, and private folders for the settings
  + installed
  ?stored=0|1|{home}/data/Netcairn/LocalIp.txt ; ?file:data/Netcairn/LocalIp.txt=192.168.1.20\r\n
  ?mode:config=700 ; ?mode:config/Netcairn=700
AutoSave off at start deletes the file and greys the path
  + options=0|0|{home}/ip.txt ; file:ip.txt=old
  ?file:ip.txt=<none> ; ?enabled:txtAutoSaveDir=false ; ?enabled:cmdBrowse=false
  ?enabled:cmdApply=false ; ?clipboard= ; ?checked:chkAutoSave=false
both on: copied, and the file left alone
  + options=1|1|{home}/ip.txt ; file:ip.txt=old
  ?clipboard=192.168.1.20 ; ?file:ip.txt=old ; ?checked:chkAutoCopy=true ; ?enabled:cmdApply=false
offline: shown tagged, handed out bare; a replaced file keeps its mode
  + address=127.0.0.1 ; options=0|1|{home}/ip.txt ; file:ip.txt=127.0.0.1\r\nx ; mode:ip.txt=640
  ?selectedText:txtIPAddress=127.0.0.1 (offline) ; ?file:ip.txt=127.0.0.1\r\n ; ?mode:ip.txt=640
  Return ; ?clipboard=127.0.0.1
a later copy asks; Yes runs it, where a stored flag of 2 is off and Apply is offered
  + previous ; options=2|1|{home}/ip.txt
  < Y
  ! {question}
  ?caption=Netcairn 1.21 ; ?ended=0 ; ?activated=0 ; ?file:ip.txt=192.168.1.20\r\n ; ?clipboard=
  ?enabled:cmdApply=true
No, the default, brings the first copy forward
  + previous
  < Return
  ! {question}
  ?ended=1 ; ?activated=1 ; ?caption=frmMain ; ?clipboard=
a first copy that never answers is a start-up failure
  + previous=mute
  < Return
  ! {question} ; report frmMain.Sub.Form_Load 5
  ?ended=0 ; ?caption=frmMain ; ?text:txtIPAddress=txtIPAddress
  ?text:txtAutoSaveDir=txtAutoSaveDir
a guard that cannot see other copies is reported, and start-up goes on
  + blind
  ! report frmMain.Sub.Form_Load 75
  ?caption=Netcairn 1.21 ; ?selectedText:txtIPAddress=192.168.1.20
  ?file:bin/LocalIp.txt=192.168.1.20\r\n
a stored flag of 300 is reported by each reading, and what was read before it is used
  + options=1|300|{home}/ip.txt ; file:ip.txt=old
  ! 6x report frmMain.Sub.OpenSettings 6
  ?file:ip.txt=old ; ?clipboard=192.168.1.20
Copy hands out what the box shows; Update restores the address and uses another copy's options
  + options=0|0|{home}/ip.txt
  type:my words ; Return ; ?clipboard=my words ; store:AutoCopy=1 ; Alt+U
  ?text:txtIPAddress=192.168.1.20 ; ?clipboard=192.168.1.20 ; click:txtIPAddress ; Ctrl+A
  type:127.0.0.1 (offline) ; Alt+C ; ?clipboard=127.0.0.1 ; click:txtIPAddress ; Ctrl+A
  type:10.0.0.7 (offline) ; Alt+C ; ?clipboard=10.0.0.7 (offline)
an address file that cannot be written is reported
  + options=0|1|{home}/dir ; file:dir/inside=x
  ! report frmMain.Sub.AutoSave 75
  ?file:dir/inside=x ; click:chkAutoSave ; ?file:dir/inside=x
a folder name that reaches past position 32766 is an overflow; one character less is too long
  + options=0|1|/{32765a}/x
  store:AutoSaveDir=/{32764a}/x ; Alt+U
  ! report frmMain.Sub.CreateNewDirectory 6 ; report frmMain.Sub.AutoSave 52
Apply follows the difference from the store, letter case included
  + options=0|1|{home}/ip.txt
  click:txtAutoSaveDir ; End ; type:x ; ?enabled:cmdApply=true ; Backspace ; ?enabled:cmdApply=false
  Home ; Shift+End ; type:{home}/IP.txt ; ?enabled:cmdApply=true ; click:chkAutoCopy
  click:chkAutoCopy ; ?enabled:cmdApply=true ; ?stored=0|1|{home}/ip.txt
ticking AutoSave writes the stored path at once, unticking deletes it; the box's text in UTF-8
  + options=0|0|{home}/ip.txt
  click:chkAutoSave@-1 ; ?file:ip.txt=192.168.1.20\r\n ; ?enabled:txtAutoSaveDir=true
  ?enabled:cmdBrowse=true ; ?enabled:cmdApply=true ; click:chkAutoSave ; ?file:ip.txt=<none>
  ?enabled:cmdBrowse=false ; ?enabled:cmdApply=false ; ?stored=0|0|{home}/ip.txt
  program:Joaquín ; click:chkAutoSave ; ?file:ip.txt=Joaquín\r\n
empty files count as absent
  + options=0|0|{home}/ip.txt ; file:ip.txt=
  ?file:ip.txt= ; click:chkAutoSave ; give:file:ip.txt= ; click:chkAutoSave ; ?file:ip.txt=
  click:chkAutoSave ; give:file:ip.txt= ; give:file:new.txt= ; click:txtAutoSaveDir ; Ctrl+A
  type:{home}/new.txt ; Return ; ?stored=0|1|{home}/new.txt ; ?file:ip.txt=
  ?file:new.txt=192.168.1.20\r\n
Apply with the path unchanged stores and refreshes
  + options=0|1|{home}/ip.txt
  click:chkAutoCopy@-1 ; click:cmdApply ; ?stored=1|1|{home}/ip.txt ; ?enabled:cmdApply=false
  ?clipboard=192.168.1.20 ; ?checked:chkAutoCopy=true
Apply to a new path: the old file goes, the new one is written
  + options=0|1|{home}/ip.txt
  click:txtAutoSaveDir ; Ctrl+A ; type:{home}/new.txt ; Return ; ?stored=0|1|{home}/new.txt
  ?file:ip.txt=<none> ; ?file:new.txt=192.168.1.20\r\n ; ?enabled:cmdApply=false
Apply over an existing file, Yes
  + options=0|1|{home}/ip.txt ; file:new.txt=n
  < Y
  click:txtAutoSaveDir ; Ctrl+A ; type:{home}/new.txt ; click:cmdApply
  ! {overwrite}
  ?stored=0|1|{home}/new.txt ; ?file:ip.txt=<none> ; ?file:new.txt=192.168.1.20\r\n
Apply over an existing file, No (Enter): flags stored, path and files kept
  + options=0|1|{home}/ip.txt ; file:new.txt=n
  < Return
  click:txtAutoSaveDir ; Ctrl+A ; type:{home}/new.txt ; click:chkAutoCopy ; click:cmdApply
  ! {overwrite}
  ?stored=1|1|{home}/ip.txt ; ?text:txtAutoSaveDir={home}/ip.txt ; ?file:new.txt=n
  ?file:ip.txt=192.168.1.20\r\n ; ?clipboard=192.168.1.20 ; ?enabled:cmdApply=false
the phrase in the path box greys Apply, and Update asks for a name
  + options=0|1|{home}/ip.txt
  < type:Ann;Return
  click:txtAutoSaveDir ; Ctrl+A ; type:NETCAIRN RULES ; ?enabled:cmdApply=true ; type:! ; Return
  ?enabled:cmdApply=false ; ?stored=0|1|{home}/ip.txt ; Alt+U
  ! {name} ; Information True stuff: Ann is really cool! [OK]
  ?text:txtAutoSaveDir={home}/ip.txt ; ?enabled:cmdApply=false
no name, or blanks
  + options=0|1|{home}/ip.txt
  < Escape ; Return ; type:  ;Return
  click:txtAutoSaveDir ; Ctrl+A ; type:netcairn rules! ; Alt+U ; ?text:txtAutoSaveDir={home}/ip.txt
  click:txtAutoSaveDir ; Ctrl+A ; type:netcairn rules! ; Alt+U ; ?text:txtAutoSaveDir={home}/ip.txt
  ! {name} ; Critical Netcairn: Enter something, stoopid! [OK] ; {name}
  ! Information True stuff:    is really cool! [OK]
a stored phrase asks at every start; a name is shown as typed
  + options=0|0|netcairn RULES!
  < type:<i>Bo;Return
  ! {name} ; Information True stuff: <i>Bo is really cool! [OK]
  ?text:txtAutoSaveDir=netcairn RULES! ; ?enabled:cmdApply=false
Enter presses Apply in the options and Copy elsewhere
  + options=0|1|{home}/ip.txt
  ?default=cmdCopy ; Tab ; Tab ; Tab ; Tab ; ?focus=chkAutoCopy ; ?default=cmdApply ; Return
  ?clipboard= ; click:txtIPAddress ; ?default=cmdCopy ; Tab ; Tab ; Tab ; Tab ; Tab
  ?focus=chkAutoSave ; ?default=cmdApply ; click:txtIPAddress ; ?default=cmdCopy
  click:txtAutoSaveDir ; ?default=cmdApply ; End ; type:.new ; Return ; ?default=cmdApply
  ?stored=0|1|{home}/ip.txt.new ; ?clipboard= ; click:txtIPAddress ; ?default=cmdCopy ; Return
  ?clipboard=192.168.1.20
Tab visits every control that is enabled, in order
  + options=0|0|{home}/ip.txt
  click:txtIPAddress ; Tab ; ?focus=cmdCopy ; Tab ; ?focus=cmdPrint ; Tab ; ?focus=cmdUpdate ; Tab
  ?focus=chkAutoCopy ; Tab ; ?focus=chkAutoSave ; Tab ; ?focus=cmdAbout ; Tab ; ?focus=cmdExit ; Tab
  ?focus=txtIPAddress
Browse starts at the stored file, as stored now, and fills the path box, an existing file unasked
  + options=0|1|{home}/ip.txt ; file:bin/old.rtf=mine
  < file:{home}/bin/old.rtf
  store:AutoSaveDir={home}/bin/LocalIp.txt ; click:cmdBrowse ; ?text:txtAutoSaveDir={home}/bin/old.rtf
  ?enabled:cmdApply=true ; ?file:bin/old.rtf=mine ; ?stored=0|1|{home}/bin/LocalIp.txt
  ! SaveAs Save IP to File: {home}/bin|LocalIp.txt|Text Document (*.txt)|txt
Browse with another extension, cancelled
  + options=0|1|{home}/x.d/ip.TXT
  click:txtAutoSaveDir ; End ; type:x ; click:cmdBrowse ; ?text:txtAutoSaveDir={home}/x.d/ip.TXTx
  store:AutoSaveDir={home}/x.d/ip ; click:cmdBrowse ; store:AutoSaveDir=/a.rtf ; click:cmdBrowse
  store:AutoSaveDir=/a.doc ; click:cmdBrowse
  ! SaveAs Save IP to File: {home}/x.d|ip.TXT|Other (*.*)|TXT ; SaveAs Save IP to File: {home}/x.d|ip|Other (*.*)|
  ! SaveAs Save IP to File: /|a.rtf|Rich Text Format (*.rtf)|rtf
  ! SaveAs Save IP to File: /|a.doc|Microsoft Word Document (*.doc)|doc
About also after a word with a blank or the offline text: links, Esc, OK; Enter: system info
  < click:lblHomepageLink;click:lblMailLink;click:lblMailLink;Escape ; Return;click:cmdOK
  type:quern  ; click:cmdAbout ; click:txtIPAddress ; Ctrl+A ; type:127.0.0.1 (offline) ; Alt+A
  ?shown=frmAbout frmAbout
  ?launched=sysinfo\nxdg-open http://nc.test/\nxdg-open mailto:me@nc.test\nxdg-open mailto:me@nc.test
  ! frmAbout About Netcairn 1.21 ; frmAbout About Netcairn 1.21
without the desktop's opener each link reports where it was pressed; System Info without a tool
  + no=xdg-open ; no=sysinfo
  < click:lblMailLink;click:lblHomepageLink;Return ; Return ; Return
  < click:lblHomepageLink;click:lblMailLink;Return;Escape ; Return ; Return ; Return
  < click:lblLinkProgram;click:lblLinkTester1;click:lblLinkTester2;click:lblLinkCoder;click:lblLinkCompany;Return
  type:about ; click:cmdAbout ; click:txtIPAddress ; Ctrl+A ; type:x ; click:cmdAbout
  click:txtIPAddress ; Ctrl+A ; type:inky ; click:cmdAbout
  ! frmFun What is this? An easter egg or somethin' ? ; report frmFun.Sub.lblMailLink_Click 53
  ! report frmFun.Sub.lblHomepageLink_Click 53 ; frmAbout About Netcairn 1.21
  ! report frmAbout.Sub.lblHomepageLink_Click 53 ; report frmAbout.Sub.lblMailLink_Click 53
  ! Information Can not launch Microsoft System Info!: System Information isn' t available on this computer [OK]
  ! frmFunThanks What is this? An easter egg or somethin' ?
  ! report frmFunThanks.Sub.lblLinkProgram_Click 53
  ! report frmFunThanks.Sub.lblLinkTester1_Click 53
  ! report frmFunThanks.Sub.lblLinkTester2_Click 53 ; report frmFunThanks.Sub.lblLinkCoder_Click 53
  ! report frmFunThanks.Sub.lblLinkCompany_Click 53
words of the first list open the fun dialog, not About (Esc does nothing), of the second thanks
  < Escape;click:lblMailLink@1;click:lblMailLink;click:lblHomepageLink;Return
  < click:lblLinkProgram;click:lblLinkTester1;click:lblLinkTester2;click:lblLinkCoder;click:lblLinkCompany;Return
  type:AbOuT ; click:cmdAbout ; ?clipboard= ; click:txtIPAddress ; Ctrl+A
  type:Harald Emil Ludvig Wrenfield ; click:cmdAbout ; ?shown=frmFun frmFunThanks
  ?launched=xdg-open http://nc.test/\nxdg-open http://nc.test/program/1.21/redirect/ines-okonkwo.html\nxdg-open http://nc.test/program/1.21/redirect/joaquin-ferreira.html\nxdg-open http://nc.test/program/1.21/redirect/piet-mol.html\nxdg-open http://nc.test/program/1.21/redirect/quern.html\nxdg-open http://nc.test/program/1.21/redirect/quillmoor.html\nxdg-open mailto:me@nc.test
  ! frmFun What is this? An easter egg or somethin' ?
  ! frmFunThanks What is this? An easter egg or somethin' ?
another copy's request during start-up (an empty stored path's report) waits for the window
  + options=0|1|
  < call:request;Escape
  ! report frmMain.Sub.AutoSave 52
  ?requests=1, 0 raised ; ?raised=t1 ; activate ; ?raised=t1 t2 ; ?requests=1, 0 raised 1, 2 raised
the address box takes 28 typed characters; a paste is cut to fit; the program's text never is
  Ctrl+A ; type:{30x} ; ?text:txtIPAddress={28x} ; program:ab ; Home ; Right ; clipboard:{40p}
  Ctrl+V ; ?text:txtIPAddress=a{26p}b ; program:{38y} ; Ctrl+A ; Ctrl+V ; ?text:txtIPAddress={28p}
  program:{32y} ; End ; Shift+Left ; Shift+Left ; Ctrl+V ; ?text:txtIPAddress={30y} ; program:{40y}
  End ; type:z ; ?text:txtIPAddress={40y} ; Backspace ; ?text:txtIPAddress={39y} ; Home
  Shift+Right ; type:z ; ?text:txtIPAddress={38y}
Esc anywhere shrinks the window and ends the program
  ?forms=1 ; click:txtAutoSaveDir ; Escape ; ?ended=1 ; ?height=14
a signal that comes as Esc is pressed ends the program before the window shrinks
  + ending
  signal:15;Escape ; ?ended=1 ; ?height=284
a signal at Apply's question ends the program, and Apply goes no further
  + ending ; options=0|1|{home}/ip.txt ; file:new.txt=n
  < signal:15
  click:txtAutoSaveDir ; Ctrl+A ; type:{home}/new.txt ; click:chkAutoCopy ; click:cmdApply
  ! {overwrite}
  ?ended=1 ; ?forms=0 ; ?stored=0|1|{home}/ip.txt ; ?file:ip.txt=192.168.1.20\r\n ; ?clipboard=
a signal at the second copy's question ends it without reaching the first
  + ending ; previous
  < signal:1
  ! {question}
  ?ended=1 ; ?activated=0 ; ?caption=frmMain
Ctrl+C closes every form as the close box does
  + ending
  < signal:2
  click:cmdAbout ; ?ended=1 ; ?forms=0
  ! frmAbout About Netcairn 1.21
)";

/// Texts the scenarios name by {name}.
const std::pair<const char*, const char*> kQuoted[] = {
    {"{question}", "None Netcairn already running!: Netcairn is already running. Running it twice "
                   "(or more) may cause your computer to crash. Are you sure you want to start "
                   "another Netcairn session? [Yes No*]"},
    {"{overwrite}", "Warning Netcairn: The file {home}/new.txt already exists. All contents of the "
                    "file will be overwritten!  Are you sure you want to overwrite the file? "
                    "[Yes No*]"},
    {"{name}", "Input What is this? An easter egg or somethin' ?: Please enter your name"},
};

// Form and control ("" the form itself), the text it shows (* the author's own words; ~ a pattern
// where the sentence is given and the names are the author's), its tooltip, its look: the size in
// points, bold, underlined, wrapped, centred (a window's: its size).
const char* const kTexts = R"(
frmMain||frmMain||8.25 286x284
frmMain|fraIPAddress|IP-Address||8.25
frmMain|txtIPAddress|txtIPAddress|This textbox shows your local IP-Address|12
frmMain|cmdCopy|&Copy|Copies the IP-Address above to the Windows Clipboard|8.25
frmMain|cmdPrint|&Print...|Prints your IP-Address|8.25
frmMain|cmdUpdate|&Update|Update the IP-Address|8.25
frmMain|fraOptions|Program Options||8.25
frmMain|chkAutoCopy|Copy IP-address to the clipboard on launch and when you hit the "Update"-button.|Automatically copy the IP-Address to the Windows Clipboard|8.25
frmMain|chkAutoSave|Save IP-Address in:|Chech this if you want to save your IP in a textfile|8.25
frmMain|txtAutoSaveDir|txtAutoSaveDir|File Path to the IP-Address|8.25
frmMain|cmdBrowse|..|Browse your computer - find a place to save your IP|8.25
frmMain|cmdApply|A&pply|Apply the new settings set above|8.25
frmMain|cmdExit|E&xit|Wanna get outa' here? Click me!|8.25
frmAbout||About Netcairn 1.21||8.25 409x470
frmAbout|lblTitleVersion|Netcairn v1.21||9.75
frmAbout|lblCopyright|Copyright A 2026||9.75
frmAbout|lblDescription|Netcairn is a simple freeware program - only made for showing your local IP-Address with some small, but handy functions. Nothing big. But that's hopefully the way you want it! Take a look at the Netcairn homepage for more information and the latest version:||9.75 wrapped
frmAbout|lblHomepageLink|http://nc.test/|Press here to visit the Netcairn homepage|9.75 underlined
frmAbout|lblMailMe|Comments, questions, bug reports etc.? Do not hesitate contacting me on:||9.75 wrapped
frmAbout|lblMailLink|me@nc.test|Press here to fire up your mail progrm and send feedback to the author|9.75 underlined
frmAbout|fraThankYou|Thank you-list||8.25
frmAbout|lblThanksCode|Program Code:||8.25 bold
frmAbout|lblThanksBetaTesting|Beta Testers:||8.25 bold
frmAbout|lblThanksCode1|~Thanks to .+, creator of .+, and to .+ for their help with the program code and design\.\r\n\r\nAlso, thanks to my father .+ and to .+ for the book on programming\.||8.25 wrapped
frmAbout|lblThanksBetaTesters|~.+ and .+ tested the beta \(and alpha\) versions for me\.||8.25 wrapped
frmAbout|cmdSysInfo|&System Info...|Handy Information about your system|8.25
frmAbout|cmdOK|OK||8.25
frmFun||What is this? An easter egg or somethin' ?||8.25 307x192
frmFun|lblMadeByName|*||13.5 bold centred
frmFun|lblMadeBy|Netcairn is proudly made by||9.75 centred
frmFun|lblMailLink|me@nc.test||9.75 underlined centred
frmFun|lblHomepageLink|http://nc.test/||9.75 underlined centred
frmFun|lblPressYes|Press YES if you think I'm great!||9.75 centred
frmFun|cmdYes|&YES||12 bold
frmFunThanks||What is this? An easter egg or somethin' ?||8.25 409x354
frmFunThanks|fraThankYou|Thank you-list||8.25
frmFunThanks|lblThanksCode|Program Code:||8.25 bold
frmFunThanks|lblThanksBetaTesting|Beta Testers:||8.25 bold
frmFunThanks|lblThanksCodeHelp|~Thanks to .+, creator of .+, and to .+ for their help with the coding\.||8.25 wrapped
frmFunThanks|lblThanksCodeBook|~Thanks to my father and to .+ for the programming book\.||8.25 wrapped
frmFunThanks|lblThanksBetaTesters|~.+ and .+ tested the beta \(and alpha\) versions for me\.||8.25 wrapped
frmFunThanks|lblLinkProgram|*||8.25 underlined centred
frmFunThanks|lblLinkTester1|*||8.25 underlined centred
frmFunThanks|lblLinkTester2|*||8.25 underlined centred
frmFunThanks|lblLinkCoder|*||8.25 underlined centred
frmFunThanks|lblLinkCompany|*||8.25 underlined centred
frmFunThanks|fraWebLinks|Related Web-links||8.25
frmFunThanks|lblPressYes|Press YES if you think they're great!||9.75 centred
frmFunThanks|cmdYes|&YES||12 bold
)";

struct Windows {
    TestPlatform p;
    frmMain main{p.bundle};
    frmAbout about{p.bundle, &main};
    frmFun fun{p.bundle, &main};
    frmFunThanks thanks{p.bundle, &main};
    QList<QWidget*> all() { return {&main, &about, &fun, &thanks}; }
};

} // namespace

class TstWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ::umask(022); }

    void scenario_data() {
        QTest::addColumn<QStringList>("lines");
        // A scenario is its name, then its lines, each indented.
        const QRegularExpression start(u"\n(?! )"_s);
        for (const QString& scenario : QString::fromUtf8(kScenarios).trimmed().split(start)) {
            QStringList lines = scenario.split(u"\n  "_s);
            QTest::newRow(qPrintable(lines.takeFirst())) << lines;
        }
    }
    void scenario() {
        QFETCH(QStringList, lines);
        // "+ ending": the real windowing, with its signals and its end of the program.
        TestPlatform p(lines.value(0).startsWith("+ ending"_L1) ? unsigned(RealWindowing) : 0u);
        const auto restart = qScopeGuard([&] {
            if (p.realWindowing) { // Qt starts no further event loop once the program has ended
                QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(); });
                QCoreApplication::exec();
            }
        });
        const auto expanded = [&](QString text) {
            for (const auto& [name, quoted] : kQuoted)
                text.replace(QLatin1String(name), QLatin1String(quoted));
            for (QRegularExpressionMatch m;
                 (m = QRegularExpression(u"{(\\d+)(.)}"_s).match(text)).hasMatch();)
                text.replace(m.capturedStart(), m.capturedLength(),
                             QString(m.captured(1).toInt(), m.captured(2)[0]));
            return text.replace("{home}"_L1, p.root)
                .replace("\\r"_L1, "\r"_L1)
                .replace("\\n"_L1, "\n"_L1);
        };
        QStringList dialogs, requests; // "request": a later copy asks, with the next token
        p.dialogs.calls[u"request"_s] = [&] {
            const bool answered =
                p.guard.listener({{u"activation-token"_s, u"t%1"_s.arg(requests.size() + 1)}});
            requests << u"%1, %2 raised"_s.arg(answered).arg(p.windowing.broughtToFront.size());
        };
        for (const QString& line : lines) { // the machine, the answers and the dialogs first
            for (const QString& item : line.mid(2).split(u" ; "_s)) {
                const auto times = QRegularExpression(u"^(\\d+)x "_s).match(item); // six alike
                for (int i = 0; line[0] == u'!' && i < qMax(1, times.captured(1).toInt()); ++i)
                    dialogs << expanded(item.mid(qMax(0, times.capturedEnd())));
                if (line.startsWith(u'+'))
                    Give(p, expanded(item));
                else if (line.startsWith(u'<'))
                    p.dialogs.answers << expanded(item);
            }
        }
        auto window = p.loadedWindow();
        for (const QString& line : lines) {
            for (const QString& item : line.split(u" ; "_s)) {
                const QString step = expanded(item), value = step.section(u'=', 1);
                if (QStringLiteral("+<!").contains(line[0]))
                    break;
                const QString key = step.mid(1).section(u'=', 0, 0);
                if (step.startsWith(u'?'))
                    QTRY_COMPARE(key == "requests"_L1 ? requests.join(u' ')
                                                      : Observe(p, *window, key),
                                 value);
                else if (step.startsWith("give:"_L1))
                    Give(p, step.mid(5));
                else if (step.startsWith("program:"_L1)) // text the program sets
                    window->findChild<QLineEdit*>(u"txtIPAddress"_s)->setText(step.mid(8));
                else if (step.startsWith("clipboard:"_L1))
                    QApplication::clipboard()->setText(step.mid(10));
                else if (step == "activate"_L1)
                    p.dialogs.calls[u"request"_s]();
                else if (step.startsWith("store:"_L1))
                    IniSettingsStore(p.path(u"config"_s))
                        .SaveSetting(u"Netcairn"_s, OptionsSection, step.mid(6).section(u'=', 0, 0),
                                     value);
                else
                    User::Perform(step);
            }
        }
        QCOMPARE(p.dialogs.seen, dialogs);
    }

    void exitAnimation() {
        const float heights[][4] = {
            {4710, 0, 11, 310},    {750, 0, 1, 350},   {1000, 500, 500, 500}, {1001, 600, 500, 600},
            {1003, 600, 502, 600}, {0.9f, 0, 0, 0.9f}, {751, 0, 2, 0}};
        for (const auto& [height, floor, steps, last] : heights) {
            FakeWindow window(height, floor); // a half step count goes to the even side
            ShrinkWindow(window);
            QCOMPARE(window.steps, int(steps));
            QCOMPARE(window.height, last);
        }
        FakeWindow huge(65536, 0); // 32768 steps do not fit
        QVERIFY_THROWS_EXCEPTION(Failure, ShrinkWindow(huge));
        FakeWindow endedMeanwhile(4000, 4000, 3);
        ShrinkWindow(endedMeanwhile);
        QCOMPARE(endedMeanwhile.steps, 3);
    }

    void everyTextAWindowShowsAndHowAScreenReaderReadsIt() {
        Windows w;
        for (const QString& line : QString::fromUtf8(kTexts).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(u'|');
            const QList<QWidget*> all = w.all();
            QWidget* form = *std::find_if(all.begin(), all.end(),
                                          [&](QWidget* x) { return x->objectName() == f[0]; });
            QWidget* control = f[1].isEmpty() ? form : form->findChild<QWidget*>(f[1]);
            QCOMPARE(form->windowIcon().availableSizes(), QList<QSize>({{16, 16}, {32, 32}}));
            const char* property = control->isWindow()                 ? "windowTitle"
                                   : qobject_cast<QGroupBox*>(control) ? "title"
                                                                       : "text";
            const QFont font = control->font();
            const auto* label = qobject_cast<QLabel*>(control);
            QString look = QString::number(font.pointSizeF()); // and a window's fixed size
            if (control->isWindow())
                look += u" %1x%2"_s.arg(control->minimumWidth()).arg(control->maximumHeight());
            for (const auto& [on, word] :
                 {std::pair{font.bold(), " bold"},
                  {font.underline(), " underlined"},
                  {label && label->wordWrap(), " wrapped"},
                  {label && label->alignment() & Qt::AlignHCenter, " centred"}})
                look += on ? QLatin1String(word) : QLatin1String();
            const QString text = control->property(property).toString(); // "*": the author's own
            const QRegularExpression sentence(u"^(%1)$"_s.arg(f[2].mid(1))); // after "~"
            const bool shaped =
                f[2] == u'*' || (f[2].startsWith(u'~') && sentence.match(text).hasMatch());
            QCOMPARE(text + u'|' + control->toolTip() + u'|' + look,
                     (shaped ? text : f[2]) + u'|' + f[3] + u'|' + f[4]);
        }
        QVERIFY(!w.main.findChild<QWidget*>(u"cmdAbout"_s)->toolTip().isEmpty());
        const QImage icon = w.main.windowIcon().pixmap(16).toImage(); // a green mark, smoothed
        QVERIFY(icon.pixel(6, 11) == kCheckGreen && qAlpha(icon.pixel(13, 2)) % 255);
        QCOMPARE(QFontInfo(w.main.font()).family(), u"Liberation Sans"_s); // the classic's twin
        // Every control has a name, lies in its group and no other, and comes after the one
        // before as a person reads (lower, or further right on its row); a link opens its address.
        const std::function<void(QAccessibleInterface*)> check = [&](QAccessibleInterface* group) {
            QRect before;
            for (int i = 0; i < group->childCount(); ++i) {
                QAccessibleInterface* control = group->child(i);
                const QRect at = control->rect();
                const QByteArray name = control->object()->objectName().toLatin1();
                const QString said = control->text(QAccessible::Name); // its paragraphs apart
                const QString shown = control->object()->property("text").toString();
                QVERIFY2(group->rect().contains(at) && !said.isEmpty() && !said.contains(u'\r') &&
                             said.count(u'\n') == shown.count(u'\n'),
                         name);
                QVERIFY2(before.isNull() || at.top() >= before.center().y() ||
                             (at.left() > before.left() && at.top() < before.bottom()),
                         name);
                for (int j = 0; j < group->childCount(); ++j)
                    QVERIFY2(j == i || group->child(j)->role() != QAccessible::Grouping ||
                                 !group->child(j)->rect().contains(at),
                             name);
                if (control->object()->inherits("nc::LinkLabel")) {
                    QCOMPARE(control->role(), QAccessible::Link);
                    control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                }
                before = at;
                check(control);
            }
        };
        for (QWidget* window : w.all()) {
            window->show();
            check(QAccessible::queryAccessibleInterface(window));
        }
        QTRY_COMPARE(w.p.launched().count(u'\n'), 8); // nine links, pressed once each
    }

    void errorReport() { // the number and description of each failure, the system's and ours
        for (const auto& [errors, shown] :
             {std::pair{QList<int>{ENOENT, ENOTDIR}, "76 Path not found"},
              {{EACCES, EPERM, EROFS, ETXTBSY}, "70 Permission denied"},
              {{ENOSPC, EDQUOT, EFBIG}, "61 Disk full"},
              {{EIO}, "57 Device I/O error"},
              {{ENAMETOOLONG, EINVAL}, "52 Bad file name or number"},
              {{EBUSY, ELOOP}, "75 Path/File access error"}})
            for (const int error : errors)
                QCOMPARE(failureFromErrno(error).what(), shown);
        for (const char* shown :
             {"5 Invalid procedure call or argument", "6 Overflow", "7 Out of memory",
              "51 Internal error", "53 File not found", "482 Printer error",
              "521 Can't open Clipboard", "32755 Cancel was selected."})
            QCOMPARE(Failure::of(atoi(shown)).what(), shown);
        QCOMPARE(ErrorReportText("1.21", "frmMain", "Sub", "Go",
                                 Failure::from(std::range_error("x")), "me@x"),
                 u"A runtime error occured!\r\n\r\nVersion:   1.21\r\n"
                 "Initial Error-Tracking Code:   frmMain.Sub.Go\r\nRuntime Error Code:   51\r\n"
                 "Runtime Error Description:   x\r\nRuntime Error Source:   Netcairn\r\n"
                 "Runtime Error Help Context:   0\r\n\r\nIf possible, mail a bug report, including "
                 "the information provided above to the following mail-address: \r\n\r\nme@x"_s);
    }

    void registryValues() { // how the system information tool's place is read
        for (const auto& [type, bytes, decoded] : {std::tuple{REG_SZ, "/x"_ba, u"/x"_s},
                                                   {REG_SZ, "ab\0\0"_ba, u"ab\0"_s},
                                                   {REG_DWORD, "\xd2\x04\0\0"_ba, u"1234"_s},
                                                   {REG_EXPAND_SZ, "%x%\0"_ba, u"-"_s}}) {
            QString text = u"-"_s;
            QCOMPARE(DecodeRegistryValue(bytes, quint32(bytes.size()), type, text), decoded != "-");
            QCOMPARE(text, decoded);
        }
        TestPlatform p; // the desktop's tool, found on PATH: the ones added later come first
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        qputenv("PATH", QFile::encodeName(p.path(u"bin"_s)));
        for (const QString& tool : {u"kinfocenter"_s, u"hardinfo"_s, u"hardinfo2"_s}) {
            LinuxRegistry found;
            QString at;
            QVERIFY(QFile::link(p.path(u"bin/sysinfo"_s), p.path("bin/" + tool)) &&
                    ReadKeyValue(found, HKEY_LOCAL_MACHINE,
                                 u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s, u"PATH"_s, at));
            QCOMPARE(at, p.path("bin/" + tool));
        }
        DetachedLauncher().Shell(u"start.exe http://nc.test/"_s, 0); // the desktop's opener too
        QTRY_COMPARE(p.launched(), u"xdg-open http://nc.test/"_s);
    }

    void readableOnLightAndDarkPalettes() {
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
        const QStringList black{"lblTitleVersion", "lblCopyright", "lblDescription", "lblMailMe"};
        for (const bool isLight : {true, false}) {
            const QPalette palette = isLight ? light : dark;
            QApplication::setPalette(palette);
            Windows w;
            for (QLabel* label : w.about.findChildren<QLabel*>() + w.fun.findChildren<QLabel*>() +
                                     w.thanks.findChildren<QLabel*>()) {
                const QColor text = label->palette().color(QPalette::WindowText);
                QVERIFY2(label->text().isEmpty() ||
                             ContrastRatio(text, palette.color(QPalette::Window)) >= 4.5,
                         qPrintable(label->objectName()));
                if (isLight && label->inherits("nc::LinkLabel")) // the classic colours
                    QCOMPARE(text, QColor(0, 0, 255));
                else if (isLight && black.contains(label->objectName()))
                    QCOMPARE(text, QColor(Qt::black));
            }
        }
        QApplication::setPalette(light);
        for (const auto& [a, b, ratio] : // as the accessibility guidelines reckon them
             {std::tuple{QColor(Qt::black), QColor(Qt::white), 21.0},
              {QColor(0x76, 0x76, 0x76), QColor(Qt::white), 4.5422},
              {QColor(10, 10, 10), QColor(Qt::black), 1.0607}})
            QVERIFY2(qAbs(ContrastRatio(a, b) - ratio) < 0.001, qPrintable(a.name()));
    }
};

QTEST_MAIN(TstWindows)
#include "tst_windows.moc"
