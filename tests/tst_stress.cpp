// Robustness: thousands of random user actions on the real main window against real files,
// and two real copies writing the same files at once.

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "extras/TriggerWords.h"
#include "platform/desktop/LinuxAddressSource.h"
#include "platform/desktop/QtClipboard.h"
#include "settings/SettingsIo.h"
#include "settings/SettingsNumber.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

using namespace nc;

namespace {

const QRegularExpression kOneLine(QStringLiteral("^[^\\r\\n]*\\r\\n$"));

bool isOneLineOrEmpty(const QByteArray& bytes) {
    return bytes.isEmpty() || kOneLine.match(QString::fromLocal8Bit(bytes)).hasMatch();
}

bool iniIsWhole(const QString& file) {
    if (!QFile::exists(file))
        return true;
    return !IniTextIsDamaged(TestPlatform::readFile(file)) &&
           QSettings(file, QSettings::IniFormat).status() == QSettings::NoError;
}

} // namespace

class TstStress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomUserActions_data() {
        QTest::addColumn<quint32>("seed");
        const QByteArray chosen = qgetenv("NETCAIRN_STRESS_SEED");
        if (!chosen.isEmpty()) {
            QTest::newRow(chosen.constData()) << chosen.toUInt();
            return;
        }
        for (quint32 seed : {1u, 2u, 3u})
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }
    void randomUserActions() {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        TestPlatform p;
        LinuxAddressSource winsock;
        QtClipboard clipboard;
        Platform real{p.app,       p.dialogs,  p.windowing, p.forms,        p.realSettings,
                      p.realFiles, winsock,    clipboard,   p.commonDialog, p.printer,
                      p.registry,  p.launcher, p.instances};
        const QStringList paths{p.path(QStringLiteral("a.txt")),
                                p.path(QStringLiteral("sub/b.txt")),
                                p.path(QStringLiteral("deep/x/y/c.txt")),
                                p.path(QStringLiteral("A.TXT")),
                                p.writeFile(QStringLiteral("zero.txt"), ""),
                                p.home.path(),
                                QString(),
                                QStringLiteral("/proc/nowhere/ip.txt"),
                                QStringLiteral("NetCairn Rules!")};
        const QStringList words{QStringLiteral("10.0.0.1"), QStringLiteral("About"),
                                QStringLiteral("QUERN"), QStringLiteral("127.0.0.1 (offline)"),
                                QStringLiteral("x y")};
        frmMain window(real);
        window.Form_Load();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* address = window.findChild<QLineEdit*>(QStringLiteral("txtIPAddress"));
        auto* path = window.findChild<QLineEdit*>(QStringLiteral("txtAutoSaveDir"));
        auto* copy = window.findChild<QCheckBox*>(QStringLiteral("chkAutoCopy"));
        auto* save = window.findChild<QCheckBox*>(QStringLiteral("chkAutoSave"));
        auto* apply = window.findChild<QPushButton*>(QStringLiteral("cmdApply"));
        const QList<QWidget*> focusable = window.findChildren<QWidget*>();
        const QString ini = p.realSettings.fileFor(p.app.title);

        for (int action = 0; action < 1000; ++action) {
            const auto context = [&](const char* what) {
                return qPrintable(QStringLiteral("seed %1, action %2: %3")
                                      .arg(seed)
                                      .arg(action)
                                      .arg(QLatin1String(what)));
            };
            p.dialogs.answers = {random.bounded(2) ? int(vbYes) : int(vbNo)};
            p.dialogs.inputs = {random.bounded(2) ? QStringLiteral("Ada") : QString()};
            p.commonDialog.answer = paths.value(random.bounded(paths.size() + 2)); // or cancel
            const int reportsBefore = p.dialogs.reports().size();
            QWidget* target = nullptr;
            switch (random.bounded(12)) {
            case 0:
                address->setFocus(Qt::MouseFocusReason);
                address->selectAll();
                QTest::keyClicks(address, words[random.bounded(words.size())]);
                break;
            case 1:
                if (path->isEnabled()) {
                    path->setFocus(Qt::MouseFocusReason);
                    path->selectAll();
                    QTest::keyClicks(path, paths[random.bounded(paths.size())]);
                }
                break;
            case 2:
                target = copy;
                break;
            case 3:
                target = save;
                break;
            case 4:
                target = apply;
                break;
            case 5:
                target = window.findChild<QWidget*>(QStringLiteral("cmdCopy"));
                break;
            case 6:
                target = window.findChild<QWidget*>(QStringLiteral("cmdUpdate"));
                break;
            case 7:
                target = window.findChild<QWidget*>(QStringLiteral("cmdBrowse"));
                break;
            case 8:
                target = window.findChild<QWidget*>(QStringLiteral("cmdAbout"));
                break;
            case 9:
                target = window.findChild<QWidget*>(QStringLiteral("cmdPrint"));
                break;
            case 10:
                focusable[random.bounded(focusable.size())]->setFocus(Qt::TabFocusReason);
                break;
            case 11: // Enter, wherever the focus is, unless on Exit
                if (QWidget* focus = QApplication::focusWidget();
                    focus && focus->objectName() != QLatin1String("cmdExit"))
                    QTest::keyClick(focus, Qt::Key_Return);
                break;
            }
            if (target && target->isEnabled())
                QTest::mouseClick(target, Qt::LeftButton);

            QVERIFY2(p.dialogs.reports().size() - reportsBefore <= 1,
                     context("one report per failure"));
            QVERIFY2(iniIsWhole(ini), context("the settings file stays whole"));
            for (const QString& file : paths) {
                if (QFileInfo(file).isFile())
                    QVERIFY2(isOneLineOrEmpty(TestPlatform::readFile(file)),
                             context("one whole line"));
            }
            if (!IsNameDialoguePhrase(path->text())) {
                const bool differs =
                    path->text() != p.stored(QStringLiteral("AutoSaveDir")) ||
                    int(copy->isChecked()) != FlagValue(p.stored(QStringLiteral("AutoCopy"))) ||
                    int(save->isChecked()) != FlagValue(p.stored(QStringLiteral("AutoSave")));
                QVERIFY2(apply->isEnabled() == differs, context("Apply shows pending edits"));
            }
        }
    }

    void twoCopiesWriteTheSameFiles() {
        TestPlatform p;
        const QString file = p.path(QStringLiteral("shared/LocalIp.txt"));
        const QString config = p.path(QStringLiteral("config"));
        QProcess first, second;
        for (QProcess* copy : {&first, &second})
            copy->start(QStringLiteral(NETCAIRN_WRITER_PEER),
                        {config, file, QStringLiteral("300")});
        int checks = 0;
        while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
            QVERIFY(isOneLineOrEmpty(TestPlatform::readFile(file)));
            QVERIFY(iniIsWhole(p.realSettings.fileFor(p.app.title)));
            ++checks;
            QTest::qWait(2);
        }
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(checks > 10);
        QVERIFY(kOneLine.match(QString::fromLocal8Bit(TestPlatform::readFile(file))).hasMatch());
    }

    void copyKilledRightAfterApplyKeepsWhatItStored() {
        TestPlatform p;
        const QString file = p.path(QStringLiteral("killed/LocalIp.txt"));
        QProcess copy;
        copy.start(QStringLiteral(NETCAIRN_WRITER_PEER),
                   {p.path(QStringLiteral("config")), file, QStringLiteral("apply")});
        QVERIFY(copy.waitForReadyRead(10000));
        QCOMPARE(copy.readLine().trimmed(), ("applied " + file).toUtf8());
        copy.kill();
        QVERIFY(copy.waitForFinished());
        QCOMPARE(p.stored(QStringLiteral("AutoSaveDir")), file);
        QCOMPARE(p.stored(QStringLiteral("AutoSave")), QStringLiteral("1"));
        QVERIFY(iniIsWhole(p.realSettings.fileFor(p.app.title)));
    }
};

QTEST_MAIN(TstStress)
#include "tst_stress.moc"
