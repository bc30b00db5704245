// The main window: start-up, the refresh, options and Apply, the default button, the address
// box, the hidden words, the ways out, and the runtime error report.

#include "TestPlatform.h"
#include "app/ExitAnimation.h"
#include "app/frmMain.h"
#include "extras/FunDialogs.h"
#include "ui/modPublic.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <csignal>

using namespace nc;
using namespace Qt::StringLiterals;

namespace {

QWidget* const focused = nullptr; // QTest sends keys to the focused control through this

template <class W = QWidget> W* child(QWidget& window, const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
}

/// A window that will not get lower than \a floor twips.
struct FakeWindow final : ShrinkingWindow {
    FakeWindow(float height, float floor) : height(height), floor(floor) {}
    float Height() const override { return height; }
    void SetHeight(float h) override { height = qMax(h, floor); }
    void ProcessEvents() override { ++steps; }
    bool ProgramEnded() const override { return steps == endAfter; }
    float height, floor;
    int steps = 0, endAfter = -1;
};

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUp_data() {
        QTest::addColumn<int>("autoCopy"); // -1: the first start
        QTest::addColumn<int>("autoSave");
        QTest::addColumn<QString>("address");
        QTest::newRow("first start") << -1 << 1 << "10.0.0.7";
        QTest::newRow("both off") << 0 << 0 << "10.0.0.7";
        QTest::newRow("save") << 0 << 1 << "10.0.0.7";
        QTest::newRow("save offline") << 0 << 1 << "127.0.0.1";
        QTest::newRow("copy") << 1 << 0 << "10.0.0.7";
        QTest::newRow("copy offline") << 1 << 1 << "127.0.0.1";
        QTest::newRow("both on: copying wins") << 1 << 1 << "10.0.0.7";
        QTest::newRow("a flag of 2 is off") << 2 << 1 << "10.0.0.7";
    }
    void startUp() {
        QFETCH(int, autoCopy);
        QFETCH(int, autoSave);
        QFETCH(QString, address);
        TestPlatform p;
        p.address.address = address;
        QString file = p.writeFile("old/ip.txt", "old\r\n");
        if (autoCopy < 0)
            file = p.path("bin/LocalIp.txt");
        else
            p.storeOptions(autoCopy, autoSave, file);
        auto window = p.loadedWindow();
        const bool copies = autoCopy == 1;
        QCOMPARE(window->windowTitle(), u"Netcairn 1.21"_s);
        QCOMPARE(p.stored("AutoSaveDir"), file);
        QCOMPARE(child<QCheckBox>(*window, "chkAutoCopy")->isChecked(), copies);
        QCOMPARE(child<QCheckBox>(*window, "chkAutoSave")->isChecked(), autoSave == 1);
        QCOMPARE(child(*window, "txtAutoSaveDir")->isEnabled(), autoSave == 1);
        QCOMPARE(child<QLineEdit>(*window, "txtAutoSaveDir")->text(), file);
        QCOMPARE(child(*window, "cmdApply")->isEnabled(), autoCopy == 2);
        QCOMPARE(p.clipboardText(), copies ? address : QString());
        const QByteArray written = copies ? "old\r\n" : (address + "\r\n").toLatin1();
        QCOMPARE(TestPlatform::readFile(file), autoSave ? written : QByteArray());
        auto* box = child<QLineEdit>(*window, "txtIPAddress");
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->selectedText(), address == "127.0.0.1"_L1 ? "127.0.0.1 (offline)" : address);
        QVERIFY(p.dialogs.boxes.isEmpty());
    }

    void secondCopy() {
        for (const auto& [answer, answers] :
             {std::pair{vbYes, true}, {vbNo, true}, {vbNo, false}}) {
            TestPlatform p;
            p.guard.previous = true;
            p.guard.firstCopyAnswers = answers;
            p.dialogs.answers = {answer};
            frmMain window(p.bundle);
            window.Form_Load();
            QCOMPARE(p.dialogs.boxes.value(0).prompt + '|' + p.dialogs.boxes[0].title,
                     u"Netcairn is already running. Running it twice (or more) may cause your "
                     "computer to crash. Are you sure you want to start another Netcairn "
                     "session?|Netcairn already running!"_s);
            QCOMPARE(p.dialogs.boxes[0].style, vbYesNo | vbDefaultButton2); // No, unless chosen
            const bool backsOut = answer == vbNo && answers;
            QCOMPARE(p.windowing.ended, backsOut);
            QCOMPARE(p.guard.activated, backsOut ? 1 : 0);
            QCOMPARE(p.dialogs.reports().size(), answers ? 0 : 1);
            QCOMPARE(window.windowTitle(), answer == vbYes ? u"Netcairn 1.21"_s : u"frmMain"_s);
        }
    }

    void laterCopysRequestWaitsForTheWindow() {
        TestPlatform p;
        p.storeOptions(0, 0, "/x");
        p.settings.SaveSetting("Netcairn", "Options", "AutoSave", "300"); // a report at start-up
        frmMain window(p.bundle);
        const QVariantMap leave{{"activation-token", "t1"}};
        QVERIFY(!p.guard.listener(leave)); // no caption yet: not the window asked for
        bool answered = false;
        p.dialogs.whileShown = [&] { answered = p.guard.listener(leave); };
        window.Form_Load();
        QVERIFY(answered && p.windowing.broughtToFront.isEmpty()); // never half-loaded
        window.show();
        QCOMPARE(p.windowing.broughtToFront, QList{leave});
        QVERIFY(p.guard.listener({{"desktop-startup-id", "s_TIME2"}})); // shown: at once
        QCOMPARE(p.windowing.broughtToFront.value(1).value("desktop-startup-id"), "s_TIME2");
    }

    void applyStoresAndRefreshes_data() {
        QTest::addColumn<QString>("newPath");  // "" keeps the stored path
        QTest::addColumn<QByteArray>("there"); // what the new path holds already
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("takesOver");
        QTest::newRow("unchanged") << "" << QByteArray() << 0 << false;
        QTest::newRow("new, nothing there") << "new.txt" << QByteArray() << 0 << true;
        QTest::newRow("new, an empty file") << "new.txt" << QByteArray("") << 0 << true;
        QTest::newRow("new, a file, Yes") << "new.txt" << QByteArray("n") << int(vbYes) << true;
        QTest::newRow("new, a file, No") << "new.txt" << QByteArray("n") << int(vbNo) << false;
        QTest::newRow("letter case only") << "IP.txt" << QByteArray() << 0 << true;
    }
    void applyStoresAndRefreshes() {
        QFETCH(QString, newPath);
        QFETCH(QByteArray, there);
        QFETCH(int, answer);
        QFETCH(bool, takesOver);
        TestPlatform p;
        const QString old = p.path("ip.txt");
        p.storeOptions(0, 1, old);
        const QString chosen = newPath.isEmpty() ? old : p.path(newPath);
        if (!there.isNull())
            p.writeFile(newPath, there);
        p.dialogs.answers = {answer};
        auto window = p.loadedWindow();
        child<QCheckBox>(*window, "chkAutoCopy")->click();
        child<QLineEdit>(*window, "txtAutoSaveDir")->setText(chosen);
        QTest::mouseClick(child(*window, "cmdApply"), Qt::LeftButton);
        const QString stored = takesOver || newPath.isEmpty() ? chosen : old;
        QCOMPARE(p.stored("AutoSaveDir") + '|' + p.stored("AutoCopy"), stored + "|1");
        QCOMPARE(child<QLineEdit>(*window, "txtAutoSaveDir")->text(), stored);
        QCOMPARE(QFile::exists(old), !takesOver);
        QCOMPARE(p.dialogs.boxes.size(), answer ? 1 : 0);
        QVERIFY(!answer ||
                p.dialogs.boxes[0].prompt ==
                    "The file " + chosen +
                        " already exists. All contents of the file "
                        "will be overwritten!  Are you sure you want to overwrite the file?");
        QCOMPARE(p.clipboardText(), u"192.168.1.20"_s); // refreshed by the new flags
        QVERIFY(!child(*window, "cmdApply")->isEnabled());
    }

    void anotherCopysOptionReachesThisOne() {
        TestPlatform p;
        p.storeOptions(0, 0, p.path("ip.txt"));
        auto window = p.loadedWindow();
        IniSettingsStore(p.path("config")).SaveSetting("Netcairn", "Options", "AutoCopy", "1");
        QTest::keyClick(focused, Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(p.clipboardText(), u"192.168.1.20"_s);
    }

    void enterPressesApplyInTheOptionsAndCopyElsewhere() {
        TestPlatform p;
        p.storeOptions(0, 1, p.path("ip.txt"));
        auto window = p.loadedWindow();
        while (QApplication::focusWidget()->objectName() != "txtAutoSaveDir"_L1)
            QTest::keyClick(focused, Qt::Key_Tab);
        QTest::keyClick(focused, Qt::Key_End);
        QTest::keyClicks(focused, ".new");
        QTest::keyClick(focused, Qt::Key_Return);
        QCOMPARE(p.stored("AutoSaveDir"), p.path("ip.txt.new"));
        QVERIFY(p.clipboardText().isEmpty());
        QTest::keyClick(focused, Qt::Key_Tab); // to the browse button, out of the options
        child(*window, "txtIPAddress")->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(focused, Qt::Key_Return);
        QCOMPARE(p.clipboardText(), u"192.168.1.20"_s);
    }

    void addressBoxTakesTwentyEightTypedCharacters() {
        TestPlatform p;
        auto window = p.loadedWindow();
        auto* box = child<QLineEdit>(*window, "txtIPAddress");
        QTest::keyClicks(focused, QString(30, u'x'));
        QCOMPARE(box->text(), QString(28, u'x'));
        box->setText("ab");
        box->setCursorPosition(1);
        QApplication::clipboard()->setText("0123456789012345678901234567890123456789");
        QTest::keyClick(focused, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), u"a01234567890123456789012345b"_s); // the paste cut to fit
        box->setText(QString(40, u'y')); // the program's own text is never cut
        QTest::keyClick(focused, Qt::Key_Z);
        QCOMPARE(box->text(), QString(40, u'y'));
        QTest::keyClick(focused, Qt::Key_Backspace);
        QCOMPARE(box->text().size(), 39);
    }

    void hiddenWordsOpenOneDialog() {
        for (const auto& [typed, shown] : {std::pair{"AbOuT", "frmFun"},
                                           {"QUERN", "frmFunThanks"},
                                           {"about ", "frmAbout"},
                                           {"Harald Emil Ludvig Wrenfield", "frmFunThanks"},
                                           {"127.0.0.1 (offline)", "frmAbout"}}) {
            TestPlatform p;
            auto window = p.loadedWindow();
            QTest::keyClicks(focused, QString::fromLatin1(typed)); // replaces the selected address
            QTest::mouseClick(child(*window, "cmdAbout"), Qt::LeftButton);
            QCOMPARE(p.windowing.shown, QStringList{shown});
        }
    }

    void phraseInThePathBoxAsksForAName() {
        TestPlatform p;
        p.storeOptions(0, 1, p.path("ip.txt"));
        auto window = p.loadedWindow();
        child(*window, "txtAutoSaveDir")->setFocus(Qt::TabFocusReason); // selects the path
        QTest::keyClicks(focused, "NETCAIRN RULES");
        QVERIFY(child(*window, "cmdApply")->isEnabled());
        QTest::keyClick(focused, Qt::Key_Exclam);
        QVERIFY(!child(*window, "cmdApply")->isEnabled());
        p.dialogs.inputs = {"  "};
        window->cmdUpdate_Click();
        QCOMPARE(p.dialogs.boxes.size(), 2);
        QCOMPARE(p.dialogs.boxes[0].prompt + '|' + p.dialogs.boxes[0].title,
                 u"Please enter your name|What is this? An easter egg or somethin' ?"_s);
        QCOMPARE(p.dialogs.boxes[1].prompt + '|' + p.dialogs.boxes[1].title,
                 u"   is really cool!|True stuff"_s);
        QCOMPARE(child<QLineEdit>(*window, "txtAutoSaveDir")->text(), p.path("ip.txt"));
    }

    void exitAnimation() {
        const float heights[][4] = {// height, floor, steps, last
                                    {4710, 0, 11, 310},    {750, 0, 1, 350},
                                    {1000, 500, 500, 500}, {1001, 600, 500, 600},
                                    {1003, 600, 502, 600}, {0.9f, 0, 0, 0.9f}};
        for (const auto& [height, floor, steps, last] : heights) {
            FakeWindow window(height, floor); // a half step count goes to the even side
            ShrinkWindow(window);
            QCOMPARE(window.steps, int(steps));
            QCOMPARE(window.height, last);
        }
        FakeWindow huge(65536, 0); // 32768 steps do not fit
        QVERIFY_THROWS_EXCEPTION(Failure, ShrinkWindow(huge));
        FakeWindow endedMeanwhile(4000, 4000);
        endedMeanwhile.endAfter = 3;
        ShrinkWindow(endedMeanwhile);
        QCOMPARE(endedMeanwhile.steps, 3);
    }

    void errorReportText() {
        QCOMPARE(
            ErrorReportText("1.21", "frmMain", "Sub", "AutoSave", Failure::of(errDiskFull), "me@x"),
            u"A runtime error occured!\r\n\r\nVersion:   1.21\r\n"
            "Initial Error-Tracking Code:   frmMain.Sub.AutoSave\r\nRuntime Error Code:   61\r\n"
            "Runtime Error Description:   Disk full\r\nRuntime Error Source:   Netcairn\r\n"
            "Runtime Error Help Context:   0\r\n\r\nIf possible, mail a bug report, including the "
            "information provided above to the following mail-address: \r\n\r\nme@x"_s);
        QCOMPARE(
            ErrorReportText({}, {}, {}, {}, Failure(-5, {}, {}, -7), {}).split(u"\r\n"_s).mid(4, 4),
            QStringList({"Runtime Error Code:   -5", "Runtime Error Description:   ",
                         "Runtime Error Source:   ", "Runtime Error Help Context:   -7"}));
        QCOMPARE(ErrorReportTitle("Netcairn", "1.21"), u"Netcairn 1.21 Error Message"_s);
    }

    // Last: once the program has ended, Qt starts no further event loop in this process.
    void terminationSignalClosesAsTheCloseBoxDoes() {
        TestPlatform p(RealWindowing);
        auto window = p.loadedWindow();
        (new frmFun(p.bundle, window.get()))->show();
        std::raise(SIGTERM);
        QTRY_COMPARE(p.forms.count(), 0);
        QVERIFY(p.realWindowing->HasEnded());
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
