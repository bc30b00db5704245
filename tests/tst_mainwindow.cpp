// The main window as designed: every control in its place, in tab order, with its texts.

#include "TestPlatform.h"
#include "app/Twips.h"
#include "app/frmMain.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace nc;

namespace {

QString textOf(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return {};
}

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

    TestPlatform p;
    frmMain window{p.bundle};

private Q_SLOTS:
    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        auto row = [](const char* name, const char* kind, const char* container, QRect twips,
                      const char* text, const char* tip) {
            QTest::newRow(name) << name << kind << container << twips << QString::fromUtf8(text)
                                << QString::fromUtf8(tip);
        };
        row("fraIPAddress", "QGroupBox", "frmMain", {240, 120, 3855, 1335}, "IP-Address", "");
        row("txtIPAddress", "QLineEdit", "frmMain", {480, 465, 3375, 405}, "txtIPAddress",
            "This textbox shows your local IP-Address");
        row("cmdCopy", "QPushButton", "fraIPAddress", {240, 900, 1050, 315}, "&Copy",
            "Copies the IP-Address above to the Windows Clipboard");
        row("cmdPrint", "QPushButton", "frmMain", {1650, 1020, 1050, 315}, "&Print...",
            "Prints your IP-Address");
        row("cmdUpdate", "QPushButton", "frmMain", {2835, 1020, 1050, 315}, "&Update",
            "Update the IP-Address");
        row("chkAutoCopy", "QCheckBox", "fraOptions", {240, 240, 3495, 600},
            "Copy IP-address to the clipboard on launch and when you hit the \"Update\"-button.",
            "Automatically copy the IP-Address to the Windows Clipboard");
        row("chkAutoSave", "QCheckBox", "frmMain", {480, 2490, 3495, 255},
            "Save IP-Address in:", "Chech this if you want to save your IP in a textfile");
        row("txtAutoSaveDir", "QLineEdit", "fraOptions", {480, 1080, 2775, 285}, "txtAutoSaveDir",
            "File Path to the IP-Address");
        row("cmdBrowse", "QPushButton", "frmMain", {3600, 2760, 255, 285}, "..",
            "Browse your computer - find a place to save your IP");
        row("cmdApply", "QPushButton", "frmMain", {2280, 3165, 1575, 315}, "A&pply",
            "Apply the new settings set above");
        row("cmdAbout", "QPushButton", "frmMain", {480, 3720, 1575, 375}, "&About",
            "Feedback, support, credits and your system's information");
        row("cmdExit", "QPushButton", "frmMain", {2280, 3720, 1575, 375}, "E&xit",
            "Wanna get outa' here? Click me!");
        row("fraOptions", "QGroupBox", "frmMain", {240, 1680, 3855, 1935}, "Program Options", "");
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        auto* w = window.findChild<QWidget*>(name);
        QVERIFY(w);
        QVERIFY(w->inherits(kind.toLatin1()));
        QCOMPARE(w->parentWidget()->objectName(), container);
        QCOMPARE(w->geometry(),
                 TwipsRect({twips.x(), twips.y(), twips.width(), twips.height()}).pixels());
        QCOMPARE(textOf(w), text);
        QCOMPARE(w->toolTip(), tip);
        QVERIFY(w->isEnabled());
    }

    void windowIsFixedWithDesignState() {
        QCOMPARE(window.windowTitle(), QStringLiteral("frmMain"));
        QCOMPARE(window.minimumSize(), QSize(px(4290), px(4260)));
        QCOMPARE(window.maximumSize(), window.minimumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(!window.findChild<QCheckBox*>(QStringLiteral("chkAutoCopy"))->isChecked());
        QVERIFY(window.findChild<QCheckBox*>(QStringLiteral("chkAutoSave"))->isChecked());
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("cmdCopy"))->isDefault());
        const QFont box = window.findChild<QLineEdit*>(QStringLiteral("txtIPAddress"))->font();
        QCOMPARE(box.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(box.pointSizeF(), 12.0);
        QCOMPARE(window.font().family(), QStringLiteral("MS Sans Serif"));
    }

    void tabVisitsTheControlsInOrderSkippingDisabledOnes() {
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QWidget*>(QStringLiteral("cmdBrowse"))->setEnabled(false);
        window.findChild<QWidget*>(QStringLiteral("txtIPAddress"))->setFocus();
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
        }
        QCOMPARE(visited, QStringList({"txtIPAddress", "cmdCopy", "cmdPrint", "cmdUpdate",
                                       "chkAutoCopy", "chkAutoSave", "txtAutoSaveDir", "cmdApply",
                                       "cmdAbout", "cmdExit", "txtIPAddress"}));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
