// A running copy of Netcairn for the robustness tests: the real main window (offscreen) over
// the real settings store, file system and address source, in the configuration folder given.
//   writer_peer CONFIG FILE N     N rounds of Update and Apply, all writing FILE and the INI
//   writer_peer CONFIG FILE apply stores FILE as the path by Apply, says so, and waits

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "platform/desktop/LinuxAddressSource.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTextStream>

using namespace nc;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    TestPlatform fakes;
    IniSettingsStore settings(args.value(1));
    LinuxAddressSource winsock;
    Platform platform{fakes.app,          fakes.dialogs,   fakes.windowing, fakes.forms,
                      settings,           fakes.realFiles, winsock,         fakes.clipboard,
                      fakes.commonDialog, fakes.printer,   fakes.registry,  fakes.launcher,
                      fakes.instances};
    frmMain window(platform);
    window.Form_Load();
    auto* path = window.findChild<QLineEdit*>(QStringLiteral("txtAutoSaveDir"));
    auto* copy = window.findChild<QCheckBox*>(QStringLiteral("chkAutoCopy"));
    auto* save = window.findChild<QCheckBox*>(QStringLiteral("chkAutoSave"));
    QTextStream out(stdout);

    save->setChecked(true);
    path->setText(args.value(2));
    fakes.dialogs.answers = QList<int>(1000, vbYes);
    if (args.value(3) == QLatin1String("apply")) {
        window.cmdApply_Click();
        out << "applied " << args.value(2) << Qt::endl;
        return QApplication::exec(); // until killed
    }
    for (int i = 0, rounds = args.value(3).toInt(); i < rounds; ++i) {
        window.cmdUpdate_Click();
        copy->setChecked(!copy->isChecked());
        window.cmdApply_Click();
    }
    out << "reports " << fakes.dialogs.reports().size() << Qt::endl;
    return fakes.dialogs.reports().isEmpty() ? 0 : 1;
}
