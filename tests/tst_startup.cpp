// Start-up, the refresh, and the two ways out: Exit (Esc) and closing the window.

#include "TestPlatform.h"
#include "address/OfflineTag.h"
#include "app/ExitAnimation.h"
#include "app/frmMain.h"
#include "extras/frmFun.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace nc;

namespace {

/// A window whose height the test controls: it will not get lower than \a floor twips.
class FakeWindow final : public ShrinkingWindow {
public:
    FakeWindow(float height, float floor) : height(height), floor(floor) {}
    float Height() const override { return height; }
    void SetHeight(float h) override {
        height = qMax(h, floor);
        heights << height;
    }
    void ProcessEvents() override {
        if (++processed == endAfter)
            ended = true;
    }
    bool ProgramEnded() const override { return ended; }

    float height, floor;
    QList<float> heights;
    int processed = 0, endAfter = -1;
    bool ended = false;
};

template <class W> W* child(QWidget& window, const char* name) {
    return window.findChild<W*>(QString::fromLatin1(name));
}

} // namespace

class TstStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartWritesDefaultsThenFillsTheControls() {
        TestPlatform p;
        auto window = LoadedMainWindow(p);
        const QString file = p.path(QStringLiteral("bin/LocalIp.txt"));
        QCOMPARE(p.settings.writes,
                 QStringList({"AutoCopy=0", "AutoSave=1", "AutoSaveDir=" + file}));
        QCOMPARE(window->windowTitle(), QStringLiteral("Netcairn 1.21"));
        QVERIFY(!child<QCheckBox>(*window, "chkAutoCopy")->isChecked());
        QVERIFY(child<QCheckBox>(*window, "chkAutoSave")->isChecked());
        QCOMPARE(child<QLineEdit>(*window, "txtAutoSaveDir")->text(), file);
        QVERIFY(!child<QPushButton>(*window, "cmdApply")->isEnabled());
        QCOMPARE(TestPlatform::readFile(file), QByteArray("192.168.1.20\r\n"));
        auto* box = child<QLineEdit>(*window, "txtIPAddress");
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->selectedText(), QStringLiteral("192.168.1.20"));
        QCOMPARE(box->cursorPosition(), 0);
        QVERIFY(p.dialogs.boxes.isEmpty());
    }

    void storedOptionsDecideTheStartUp_data() {
        QTest::addColumn<int>("autoCopy");
        QTest::addColumn<int>("autoSave");
        QTest::newRow("both off") << 0 << 0;
        QTest::newRow("save") << 0 << 1;
        QTest::newRow("copy") << 1 << 0;
        QTest::newRow("both on: copying wins") << 1 << 1;
    }
    void storedOptionsDecideTheStartUp() {
        QFETCH(int, autoCopy);
        QFETCH(int, autoSave);
        TestPlatform p;
        const QString file = p.writeFile(QStringLiteral("addr/ip.txt"), "old address\r\n");
        p.storeOptions(autoCopy, autoSave, file);
        auto window = LoadedMainWindow(p);
        QCOMPARE(child<QCheckBox>(*window, "chkAutoCopy")->isChecked(), autoCopy == 1);
        QCOMPARE(child<QCheckBox>(*window, "chkAutoSave")->isChecked(), autoSave == 1);
        QCOMPARE(child<QLineEdit>(*window, "txtAutoSaveDir")->isEnabled(), autoSave == 1);
        QCOMPARE(child<QPushButton>(*window, "cmdBrowse")->isEnabled(), autoSave == 1);
        QVERIFY(!child<QPushButton>(*window, "cmdApply")->isEnabled());
        QCOMPARE(p.clipboard.text, autoCopy ? QStringLiteral("192.168.1.20") : QString());
        const QByteArray expected = autoSave == 0 ? QByteArray()
                                    : autoCopy    ? QByteArray("old address\r\n")
                                                  : QByteArray("192.168.1.20\r\n");
        QCOMPARE(TestPlatform::readFile(file), expected);
        QVERIFY(p.settings.writes.isEmpty());
    }

    void captionFollowsTheVersion() {
        TestPlatform p;
        p.app.minor = 10;
        p.app.revision = 0;
        auto window = LoadedMainWindow(p);
        QCOMPARE(window->windowTitle(), QStringLiteral("Netcairn 1.100"));
    }

    void secondCopy_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("firstCopyAnswers");
        QTest::newRow("yes") << int(vbYes) << true;
        QTest::newRow("no") << int(vbNo) << true;
        QTest::newRow("no, and no first copy") << int(vbNo) << false;
    }
    void secondCopy() {
        QFETCH(int, answer);
        QFETCH(bool, firstCopyAnswers);
        TestPlatform p;
        p.instances.previous = true;
        p.instances.firstCopyAnswers = firstCopyAnswers;
        p.dialogs.answers = {answer};
        frmMain window(p.bundle);
        window.Form_Load();
        const FakeDialogs::Box question = p.dialogs.boxes.value(0);
        QCOMPARE(question.prompt,
                 QStringLiteral("Netcairn is already running. Running it twice (or "
                                "more) may cause your computer to crash. Are you "
                                "sure you want to start another Netcairn session?"));
        QCOMPARE(question.style, vbYesNo | vbDefaultButton2);
        QCOMPARE(question.title, QStringLiteral("Netcairn already running!"));
        const bool backsOut = answer == vbNo && firstCopyAnswers;
        QCOMPARE(p.windowing.ended, backsOut);
        QCOMPARE(p.instances.activated,
                 answer == vbNo && firstCopyAnswers ? QStringList{"Netcairn"} : QStringList());
        QCOMPARE(p.dialogs.reports(),
                 firstCopyAnswers ? QStringList() : QStringList{"frmMain.Sub.Form_Load"});
        QCOMPARE(window.windowTitle(),
                 answer == vbYes ? QStringLiteral("Netcairn 1.21") : QStringLiteral("frmMain"));
        QCOMPARE(child<QLineEdit>(window, "txtIPAddress")->text(),
                 answer == vbYes ? QStringLiteral("192.168.1.20") : QStringLiteral("txtIPAddress"));
    }

    void firstCopyComesForwardOnlyForItsTitle() {
        TestPlatform p;
        auto window = LoadedMainWindow(p);
        window->showMinimized();
        QVERIFY(!p.instances.listener(QStringLiteral("Other")));
        QVERIFY(p.instances.listener(QStringLiteral("Netcairn")));
        QVERIFY(!window->isMinimized());
        QCOMPARE(child<QLineEdit>(*window, "txtIPAddress")->text(), QStringLiteral("192.168.1.20"));
    }

    void addressBoxLimitsTypingOnly() {
        TestPlatform p;
        auto window = LoadedMainWindow(p);
        auto* box = child<QLineEdit>(*window, "txtIPAddress");
        box->clear();
        QTest::keyClicks(box, QString(30, u'x'));
        QCOMPARE(box->text().size(), 28);
        box->clear();
        box->insert(QStringLiteral("0123456789012345678901234567890123456789")); // a paste
        QVERIFY(box->text().isEmpty());
        const QString longer(40, u'y');
        box->setText(longer);
        QCOMPARE(box->text(), longer);
        box->end(false);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text().size(), 39);
        QTest::keyClick(box, Qt::Key_Z);
        QCOMPARE(box->text().size(), 39);
    }

    void refreshShowsAndHandsOutTheAddress_data() {
        QTest::addColumn<QString>("localIp");
        QTest::addColumn<QString>("shown");
        QTest::newRow("online") << "10.0.0.7"
                                << "10.0.0.7";
        QTest::newRow("offline") << "127.0.0.1"
                                 << "127.0.0.1 (offline)";
    }
    void refreshShowsAndHandsOutTheAddress() {
        QFETCH(QString, localIp);
        QFETCH(QString, shown);
        TestPlatform p;
        p.storeOptions(1, 0, p.path(QStringLiteral("ip.txt")));
        p.winsock.address = localIp;
        auto window = LoadedMainWindow(p);
        auto* box = child<QLineEdit>(*window, "txtIPAddress");
        QCOMPARE(box->text(), shown);
        QCOMPARE(p.clipboard.text, localIp);
        box->setText(QStringLiteral("typed"));
        const int reads = p.winsock.reads;
        QTest::mouseClick(child<QPushButton>(*window, "cmdUpdate"), Qt::LeftButton);
        QCOMPARE(p.winsock.reads, reads + 1);
        QCOMPARE(box->text(), shown);
    }

    void failedAddressReadLeavesEverythingAsItWas() {
        TestPlatform p;
        p.storeOptions(1, 0, p.path(QStringLiteral("ip.txt")));
        auto window = LoadedMainWindow(p);
        auto* box = child<QLineEdit>(*window, "txtIPAddress");
        box->setText(QStringLiteral("mine"));
        p.clipboard.text.clear();
        p.winsock.failing = true;
        window->cmdUpdate_Click();
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.cmdUpdate_Click"});
        QCOMPARE(box->text(), QStringLiteral("mine"));
        QVERIFY(p.clipboard.text.isEmpty());
    }

    void flagOtherThanOneCountsAsOff() {
        TestPlatform p;
        const QString file = p.path(QStringLiteral("ip.txt"));
        p.storeOptions(1, 1, file);
        p.realSettings.SaveSetting(p.app.title, QStringLiteral("Options"),
                                   QStringLiteral("AutoCopy"), QStringLiteral("2"));
        auto window = LoadedMainWindow(p);
        QVERIFY(p.clipboard.text.isEmpty());
        QCOMPARE(TestPlatform::readFile(file), QByteArray("192.168.1.20\r\n"));
        // The box shows the option as off; the store still differs until Apply mends it.
        QVERIFY(!child<QCheckBox>(*window, "chkAutoCopy")->isChecked());
        QVERIFY(child<QPushButton>(*window, "cmdApply")->isEnabled());
    }

    void offlineTagging_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        QTest::newRow("tagged loopback") << "127.0.0.1 (offline)"
                                         << "127.0.0.1";
        QTest::newRow("bare loopback") << "127.0.0.1"
                                       << "127.0.0.1";
        QTest::newRow("tag after another address") << "10.0.0.7 (offline)"
                                                   << "10.0.0.7 (offline)";
        QTest::newRow("other letter case") << "127.0.0.1 (Offline)"
                                           << "127.0.0.1 (Offline)";
        QTest::newRow("leading blank") << " 127.0.0.1 (offline)"
                                       << " 127.0.0.1 (offline)";
    }
    void offlineTagging() {
        QFETCH(QString, text);
        QFETCH(QString, plain);
        QCOMPARE(UntagOffline(text), plain);
        QCOMPARE(TagOffline(QStringLiteral("127.0.0.1")), QStringLiteral("127.0.0.1 (offline)"));
        QCOMPARE(TagOffline(QStringLiteral("127.0.0.2")), QStringLiteral("127.0.0.2"));
    }

    void exitAnimation_data() {
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("floor");
        QTest::addColumn<int>("steps");
        QTest::addColumn<float>("last");
        QTest::newRow("shrinks to 350 or less") << 4710.f << 0.f << 11 << 310.f;
        QTest::newRow("exactly 350 stops") << 750.f << 0.f << 1 << 350.f;
        QTest::newRow("stuck above 350: all N steps") << 1000.f << 500.f << 500 << 500.f;
        QTest::newRow("a half goes to the even side") << 1001.f << 600.f << 500 << 600.f;
        QTest::newRow("and up when that is even") << 1003.f << 600.f << 502 << 600.f;
        QTest::newRow("no steps for a tiny window") << 0.9f << 0.f << 0 << 0.f;
    }
    void exitAnimation() {
        QFETCH(float, height);
        QFETCH(float, floor);
        QFETCH(int, steps);
        QFETCH(float, last);
        FakeWindow window(height, floor);
        ShrinkWindow(window);
        QCOMPARE(window.processed, steps);
        QCOMPARE(window.heights.size(), steps);
        if (steps > 0) {
            QCOMPARE(window.heights.last(), last);
            QCOMPARE(window.heights.first(), qMax(height - 400.f, floor));
        }
    }

    void exitAnimationLimits() {
        FakeWindow huge(65536.f, 0.f); // 32768 steps do not fit
        QVERIFY_THROWS_EXCEPTION(Failure, ShrinkWindow(huge));
        QVERIFY(huge.heights.isEmpty());
        FakeWindow endedMeanwhile(4000.f, 4000.f);
        endedMeanwhile.endAfter = 3;
        ShrinkWindow(endedMeanwhile);
        QCOMPARE(endedMeanwhile.heights.size(), 2);
    }

    void escapeAndAccessKeyExitWithoutUnloading() {
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_X, Qt::AltModifier}, std::pair{Qt::Key_Escape, Qt::NoModifier}}) {
            TestPlatform p;
            auto window = LoadedMainWindow(p);
            auto* other = new frmFun(p.bundle, window.get());
            other->show();
            window->activateWindow(); // the keys go to the main window, not the other form
            QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
            QTRY_VERIFY(p.windowing.ended);
            QVERIFY(window->height() < 284); // it shrank on the way out
            QVERIFY(other->isVisible());     // no unloading on this path
            QVERIFY(p.dialogs.boxes.isEmpty());
        }
    }

    void closingUnloadsEveryForm() {
        TestPlatform p;
        auto window = LoadedMainWindow(p);
        auto* other = new frmFun(p.bundle, window.get());
        other->show();
        QCOMPARE(p.forms.count(), 2);
        QVERIFY(window->close());
        QVERIFY(!other->isVisible());
        QCOMPARE(p.forms.count(), 0);
        QVERIFY(!p.windowing.ended);
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
