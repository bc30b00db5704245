// The hidden words, the name dialogue and the two fun dialogs.

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "extras/TriggerWords.h"
#include "extras/frmFun.h"
#include "extras/frmFunThanks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace nc;

namespace {

QString mixedCase(const QString& word) {
    QString mixed = word;
    for (qsizetype i = 0; i < mixed.size(); i += 2)
        mixed[i] = mixed[i].toUpper();
    return mixed;
}

} // namespace

class TstExtras : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wordListsHoldWhatTheAddressBoxCanTake() {
        QCOMPARE(FunWords().size(), 5);
        QVERIFY(FunWords().contains(QStringLiteral("about")));
        QCOMPARE(FunThanksWords().size(), 7);
        qsizetype longest = 0;
        bool beyondBasicLatin = false;
        for (const QString& word : FunWords() + FunThanksWords()) {
            QCOMPARE(word, word.toLower());
            QVERIFY(word.size() <= 28);
            longest = qMax(longest, word.size());
            beyondBasicLatin |=
                std::any_of(word.begin(), word.end(), [](QChar c) { return c.unicode() > 127; });
            QVERIFY(!(FunWords().contains(word) && FunThanksWords().contains(word)));
        }
        QCOMPARE(longest, 28);
        QVERIFY(beyondBasicLatin);
    }

    void matchingIsWholeAndFoldsCase() {
        for (const QString& word : FunWords())
            QVERIFY2(MatchesTrigger(mixedCase(word), FunWords()), qPrintable(word));
        for (const QString& word : FunThanksWords())
            QVERIFY2(MatchesTrigger(word.toUpper(), FunThanksWords()), qPrintable(word));
        QVERIFY(MatchesTrigger(QStringLiteral("JOAQUÍN FERREIRA"), FunThanksWords()));
        QVERIFY(!MatchesTrigger(QStringLiteral("about "), FunWords()));
        QVERIFY(!MatchesTrigger(QStringLiteral(" about"), FunWords()));
        QVERIFY(!MatchesTrigger(QStringLiteral("192.168.1.20"), FunWords() + FunThanksWords()));
        QVERIFY(
            !MatchesTrigger(QStringLiteral("127.0.0.1 (offline)"), FunWords() + FunThanksWords()));
        QVERIFY(IsNameDialoguePhrase(QStringLiteral("NETCAIRN RULES!")));
        QVERIFY(!IsNameDialoguePhrase(QStringLiteral("netcairn rules")));
    }

    void aboutButtonOpensOneDialog_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first list") << "AbOuT"
                                    << "frmFun";
        QTest::newRow("second list") << "QUERN"
                                     << "frmFunThanks";
        QTest::newRow("longest word, typed to the limit") << "Harald Emil Ludvig Wrenfield"
                                                          << "frmFunThanks";
        QTest::newRow("no word") << "about it"
                                 << "frmAbout";
    }
    void aboutButtonOpensOneDialog() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TestPlatform p;
        auto window = LoadedMainWindow(p);
        QTest::keyClicks(static_cast<QWidget*>(nullptr), typed); // replaces the selected address
        QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("txtIPAddress"))->text(), typed);
        window->findChild<QPushButton*>(QStringLiteral("cmdAbout"))->click();
        QCOMPARE(p.windowing.shown, QStringList{shown});
        p.windowing.shown.clear();
        window->findChild<QLineEdit*>(QStringLiteral("txtIPAddress"))->setText(QStringLiteral("x"));
        window->cmdAbout_Click(); // the flags are set afresh at every click
        QCOMPARE(p.windowing.shown, QStringList{"frmAbout"});
    }

    void nameDialogue_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::newRow("a name") << "Ada"
                                << "Ada is really cool!" << int(vbInformation) << "True stuff";
        QTest::newRow("blanks only") << "  "
                                     << "   is really cool!" << int(vbInformation) << "True stuff";
        QTest::newRow("cancel") << ""
                                << "Enter something, stoopid!" << int(vbCritical) << "";
    }
    void nameDialogue() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(int, style);
        QFETCH(QString, title);
        TestPlatform p;
        const QString stored = p.path(QStringLiteral("ip.txt"));
        p.storeOptions(0, 1, stored);
        auto window = LoadedMainWindow(p);
        auto* path = window->findChild<QLineEdit*>(QStringLiteral("txtAutoSaveDir"));
        auto* apply = window->findChild<QPushButton*>(QStringLiteral("cmdApply"));
        path->setFocus(Qt::MouseFocusReason);
        path->selectAll();
        QTest::keyClicks(path, QStringLiteral("NetCairn Rules"));
        QVERIFY(apply->isEnabled());
        QTest::keyClick(path, Qt::Key_Exclam);
        QVERIFY(!apply->isEnabled());
        p.dialogs.inputs = {answer};
        window->findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->click();
        QCOMPARE(p.dialogs.inputPrompts,
                 QStringList{"Please enter your name|What is this? An easter egg or somethin' ?"});
        QCOMPARE(p.dialogs.boxes.size(), 1);
        QCOMPARE(p.dialogs.boxes[0].prompt, message);
        QCOMPARE(p.dialogs.boxes[0].style, style);
        QCOMPARE(p.dialogs.boxes[0].title, title);
        QCOMPARE(path->text(), stored);
        QVERIFY(!apply->isEnabled());
    }

    void storedPhraseAsksAtEveryRefresh() {
        TestPlatform p;
        p.storeOptions(0, 0, QStringLiteral("Netcairn rules!"));
        auto window = LoadedMainWindow(p);
        QCOMPARE(p.dialogs.inputPrompts.size(), 1); // at start-up already
        window->cmdUpdate_Click();
        QCOMPARE(p.dialogs.inputPrompts.size(), 2);
        QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("txtAutoSaveDir"))->text(),
                 QStringLiteral("Netcairn rules!"));
    }

    void funDialogs() {
        TestPlatform p;
        frmFun fun(p.bundle, nullptr);
        frmFunThanks thanks(p.bundle, nullptr);
        for (QDialog* dialog : {static_cast<QDialog*>(&fun), static_cast<QDialog*>(&thanks)}) {
            QCOMPARE(dialog->windowTitle(),
                     QStringLiteral("What is this? An easter egg or somethin' ?"));
            dialog->show();
            dialog->activateWindow();
            QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
            for (QLabel* link :
                 dialog->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lbl.*Link"))))
                QTest::mouseClick(link, Qt::LeftButton);
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
            QVERIFY(!dialog->isVisible());
        }
        const QString redirect = HomepageAddress + QStringLiteral("program/1.21/redirect/");
        QCOMPARE(
            p.launcher.commands,
            QStringList({"0|start.exe mailto:" + FeedbackAddress, "0|start.exe " + HomepageAddress,
                         "0|start.exe " + redirect + "quern.html",
                         "0|start.exe " + redirect + "ines-okonkwo.html",
                         "0|start.exe " + redirect + "piet-mol.html",
                         "0|start.exe " + redirect + "joaquin-ferreira.html",
                         "0|start.exe " + redirect + "quillmoor.html"}));
        thanks.show();
        p.launcher.failing = true;
        QTest::mouseClick(thanks.findChild<QLabel*>(QStringLiteral("lblLinkCoder")),
                          Qt::LeftButton);
        QCOMPARE(p.dialogs.reports(), QStringList{"frmFunThanks.Sub.lblLinkCoder_Click"});
        QVERIFY(thanks.isVisible());
    }
};

QTEST_MAIN(TstExtras)
#include "tst_extras.moc"
