// Editing the options: the pending-changes rule, the AutoSave box, Apply, and the default
// button that follows the focus.

#include "TestPlatform.h"
#include "app/frmMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace nc;

namespace {

struct Window {
    explicit Window(TestPlatform& p) : form(LoadedMainWindow(p)) {}
    std::unique_ptr<frmMain> form;
    QLineEdit* path() const {
        return form->findChild<QLineEdit*>(QStringLiteral("txtAutoSaveDir"));
    }
    QCheckBox* copy() const { return form->findChild<QCheckBox*>(QStringLiteral("chkAutoCopy")); }
    QCheckBox* save() const { return form->findChild<QCheckBox*>(QStringLiteral("chkAutoSave")); }
    QPushButton* apply() const { return form->findChild<QPushButton*>(QStringLiteral("cmdApply")); }
};

const QByteArray kLine("192.168.1.20\r\n");

} // namespace

class TstOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void applyIsEnabledExactlyWhileTheControlsDifferFromTheStore() {
        TestPlatform p;
        const QString stored = p.path(QStringLiteral("ip.txt"));
        p.storeOptions(0, 1, stored);
        Window w(p);
        QVERIFY(!w.apply()->isEnabled());
        w.path()->setFocus(Qt::TabFocusReason); // which selects the whole path
        QTest::keyClick(w.path(), Qt::Key_End);
        QTest::keyClick(w.path(), Qt::Key_X);
        QVERIFY(w.apply()->isEnabled());
        QTest::keyClick(w.path(), Qt::Key_Backspace);
        QVERIFY(!w.apply()->isEnabled());
        w.path()->setText(stored.toUpper());
        QVERIFY(w.apply()->isEnabled());
        w.path()->setText(stored);
        w.copy()->click();
        QVERIFY(w.apply()->isEnabled());
        w.copy()->click();
        QVERIFY(!w.apply()->isEnabled());
        w.save()->click();
        QVERIFY(w.apply()->isEnabled());
        w.save()->click();
        QVERIFY(!w.apply()->isEnabled());

        w.path()->setText(QStringLiteral("NetCairn RULES!"));
        QVERIFY(!w.apply()->isEnabled());
        w.copy()->click(); // the check boxes do not know the phrase
        QVERIFY(w.apply()->isEnabled());

        // Always against the store: another copy's Apply changes what counts as an edit.
        w.copy()->click();
        w.path()->setText(stored);
        p.realSettings.SaveSetting(p.app.title, QStringLiteral("Options"),
                                   QStringLiteral("AutoCopy"), QStringLiteral("1"));
        w.path()->setText(stored + u'x');
        w.path()->setText(stored);
        QVERIFY(w.apply()->isEnabled());
    }

    void autoSaveBoxWritesAndDeletesAtTheStoredPath() {
        TestPlatform p;
        const QString stored = p.writeFile(QStringLiteral("ip.txt"), "old\r\n");
        p.storeOptions(0, 0, stored);
        Window w(p);
        QVERIFY(!QFile::exists(stored)); // a stored AutoSave of 0 removes it at start-up
        QVERIFY(!w.path()->isEnabled());
        w.save()->click();
        QVERIFY(w.path()->isEnabled());
        w.path()->setText(p.path(QStringLiteral("elsewhere.txt")));
        w.save()->click();
        w.save()->click();
        QCOMPARE(TestPlatform::readFile(stored), kLine);
        QVERIFY(!QFile::exists(p.path(QStringLiteral("elsewhere.txt"))));
        w.save()->click();
        QVERIFY(!QFile::exists(stored));
        QVERIFY(!w.path()->isEnabled());
        QVERIFY(!w.form->findChild<QPushButton*>(QStringLiteral("cmdBrowse"))->isEnabled());
        QCOMPARE(p.stored(QStringLiteral("AutoSave")), QStringLiteral("0")); // only Apply stores

        TestPlatform q;
        const QString empty = q.writeFile(QStringLiteral("empty.txt"), "");
        q.storeOptions(0, 1, empty);
        q.winsock.failing = true; // keep the refresh from filling it
        Window v(q);
        v.save()->click();
        QVERIFY(QFile::exists(empty)); // an empty file counts as absent and stays
    }

    void applyStoresAndRefreshes_data() {
        QTest::addColumn<QString>("newPath"); // relative to the test folder; "" keeps the path
        QTest::addColumn<bool>("newFileExists");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("takesOver");
        QTest::newRow("unchanged path") << "" << false << 0 << false;
        QTest::newRow("new path, no file there") << "new.txt" << false << 0 << true;
        QTest::newRow("new path, file there, Yes") << "new.txt" << true << int(vbYes) << true;
        QTest::newRow("new path, file there, No") << "new.txt" << true << int(vbNo) << false;
        QTest::newRow("only the letter case differs") << "IP.txt" << false << 0 << true;
    }
    void applyStoresAndRefreshes() {
        QFETCH(QString, newPath);
        QFETCH(bool, newFileExists);
        QFETCH(int, answer);
        QFETCH(bool, takesOver);
        TestPlatform p;
        const QString old = p.path(QStringLiteral("ip.txt"));
        p.storeOptions(0, 1, old);
        const QString chosen = newPath.isEmpty() ? old : p.path(newPath);
        if (newFileExists)
            p.writeFile(newPath, "someone's notes\r\n");
        if (answer)
            p.dialogs.answers = {answer};
        Window w(p);
        QCOMPARE(TestPlatform::readFile(old), kLine);
        w.copy()->click();
        w.path()->setText(chosen);
        p.settings.writes.clear();
        const int reads = p.winsock.reads;
        QTest::mouseClick(w.apply(), Qt::LeftButton);

        const QString expectedPath = takesOver || newPath.isEmpty() ? chosen : old;
        QCOMPARE(p.settings.writes,
                 QStringList({"AutoCopy=1", "AutoSave=1", "AutoSaveDir=" + expectedPath}));
        QCOMPARE(w.path()->text(), expectedPath);
        QCOMPARE(QFile::exists(old), !takesOver);
        QCOMPARE(p.winsock.reads, reads + 1);
        QCOMPARE(p.clipboard.text, QStringLiteral("192.168.1.20")); // the refresh, by the new flags
        QVERIFY(!w.apply()->isEnabled());
        if (answer) {
            const FakeDialogs::Box question = p.dialogs.boxes.value(0);
            QCOMPARE(question.prompt, "The file " + chosen +
                                          " already exists. All contents of the file will be "
                                          "overwritten!  Are you sure you want to overwrite "
                                          "the file?");
            QCOMPARE(question.style, vbYesNo | vbExclamation | vbDefaultButton2);
            QCOMPARE(question.title, QStringLiteral("Netcairn"));
            QCOMPARE(TestPlatform::readFile(chosen), QByteArray("someone's notes\r\n"));
        } else {
            QVERIFY(p.dialogs.boxes.isEmpty());
        }
    }

    void failedDeletionStoresNothing() {
        TestPlatform p;
        const QString old = p.path(QStringLiteral("ip.txt"));
        p.storeOptions(0, 1, old);
        Window w(p);
        w.path()->setText(p.path(QStringLiteral("new.txt")));
        p.files.failing = {QStringLiteral("Kill")};
        p.settings.writes.clear();
        const int reads = p.winsock.reads;
        w.form->cmdApply_Click();
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.cmdApply_Click"});
        QVERIFY(p.settings.writes.isEmpty());
        QCOMPARE(p.winsock.reads, reads);
        QVERIFY(w.apply()->isEnabled());
        QCOMPARE(TestPlatform::readFile(old), kLine);
    }

    void enterPressesApplyOnlyInTheOptions() {
        TestPlatform p;
        const QString old = p.path(QStringLiteral("ip.txt"));
        p.storeOptions(0, 1, old);
        Window w(p);
        QWidget* const focus = nullptr;
        auto tabTo = [&](const char* name) {
            while (QApplication::focusWidget()->objectName() != QLatin1String(name))
                QTest::keyClick(focus, Qt::Key_Tab);
        };
        tabTo("txtAutoSaveDir");
        QTest::keyClick(focus, Qt::Key_Return); // Apply is the default, but disabled
        QVERIFY(p.clipboard.text.isEmpty());
        QVERIFY(p.settings.writes.isEmpty());

        QTest::keyClick(focus, Qt::Key_End);
        QTest::keyClicks(focus, QStringLiteral(".new"));
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(p.stored(QStringLiteral("AutoSaveDir")), old + QStringLiteral(".new"));
        QVERIFY(p.clipboard.text.isEmpty());

        QTest::keyClick(focus, Qt::Key_Tab); // to the browse button: Copy is the default again
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdBrowse"));
        w.form->findChild<QWidget*>(QStringLiteral("txtIPAddress"))->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(p.clipboard.text, QStringLiteral("192.168.1.20"));

        tabTo("chkAutoCopy");
        QTest::keyClick(focus, Qt::Key_Space);
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(p.stored(QStringLiteral("AutoCopy")), QStringLiteral("1"));
        QTest::keyClick(focus, Qt::Key_Escape); // Exit, whatever has the focus
        QVERIFY(p.windowing.ended);
        QVERIFY(p.dialogs.boxes.isEmpty());
    }
};

QTEST_MAIN(TstOptions)
#include "tst_options.moc"
