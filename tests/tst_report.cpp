// The runtime error report and the error trap that every procedure runs under.

#include "TestPlatform.h"
#include "app/Trap.h"
#include "app/VersionText.h"

#include <QTest>

using namespace nc;

class TstReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typicalFailureGivesTheTwelveLines() {
        const Failure diskFull = Failure::of(errDiskFull);
        QCOMPARE(ErrorReportText(QStringLiteral("1.21"), QStringLiteral("frmMain"),
                                 QStringLiteral("Sub"), QStringLiteral("AutoSave"), diskFull),
                 QStringLiteral("A runtime error occured!\r\n\r\nVersion:   1.21\r\n"
                                "Initial Error-Tracking Code:   frmMain.Sub.AutoSave\r\n"
                                "Runtime Error Code:   61\r\n"
                                "Runtime Error Description:   Disk full\r\n"
                                "Runtime Error Source:   Netcairn\r\n"
                                "Runtime Error Help Context:   0\r\n\r\n"
                                "If possible, mail a bug report, including the information "
                                "provided above to the following mail-address: \r\n\r\n") +
                     FeedbackAddress);
        QCOMPARE(ErrorReportTitle(QStringLiteral("Netcairn"), QStringLiteral("1.21")),
                 QStringLiteral("Netcairn 1.21 Error Message"));
    }

    void unusualFieldsKeepEveryLine() {
        const QStringList lines =
            ErrorReportText(QStringLiteral("1.21"), QStringLiteral("frmAbout"),
                            QStringLiteral("Function"), QStringLiteral("GetKeyValue"),
                            Failure(-2147024891, QString(), QString(), -7))
                .split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 12);
        QCOMPARE(lines[3],
                 QStringLiteral("Initial Error-Tracking Code:   frmAbout.Function.GetKeyValue"));
        QCOMPARE(lines[4], QStringLiteral("Runtime Error Code:   -2147024891"));
        QCOMPARE(lines[5], QStringLiteral("Runtime Error Description:   "));
        QCOMPARE(lines[6], QStringLiteral("Runtime Error Source:   "));
        QCOMPARE(lines[7], QStringLiteral("Runtime Error Help Context:   -7"));
    }

    void versionText_data() {
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.2.1") << 2 << 1 << QStringLiteral("1.21");
        QTest::newRow("1.10.0") << 10 << 0 << QStringLiteral("1.100");
        QTest::newRow("1.0.12") << 0 << 12 << QStringLiteral("1.012");
    }
    void versionText() {
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(VersionText(1, qint16(minor), qint16(revision)), text);
    }

    void aFailureIsReportedOnceUnderTheInnermostTrap() {
        TestPlatform p;
        p.app.minor = 10;
        p.app.revision = 0;
        bool outerWentOn = false;
        RunTrapped(&p.bundle, {QStringLiteral("frmMain"), ProcKind::Sub, "cmdUpdate_Click"}, [&] {
            RunTrapped(&p.bundle, {QStringLiteral("frmMain"), ProcKind::Sub, "AutoCopy"},
                       [] { throw Failure::of(errClipboard); });
            outerWentOn = true;
            throw std::runtime_error("second");
        });
        QVERIFY(outerWentOn);
        QCOMPARE(p.dialogs.reports(),
                 QStringList({"frmMain.Sub.AutoCopy", "frmMain.Sub.cmdUpdate_Click"}));
        QCOMPARE(p.dialogs.boxes[0].title, QStringLiteral("Netcairn 1.100 Error Message"));
        QCOMPARE(p.dialogs.boxes[0].style, vbOKOnly | vbCritical);
        QVERIFY(p.dialogs.boxes[1].prompt.contains(
            QStringLiteral("Runtime Error Code:   51\r\nRuntime Error Description:   second\r\n")));
    }

    void silentTrapShowsNothing() {
        TestPlatform p;
        bool after = false;
        RunTrapped(nullptr, {}, [&] {
            throw Failure::of(errCancel);
            after = true;
        });
        QVERIFY(!after);
        QVERIFY(p.dialogs.boxes.isEmpty());
    }
};

QTEST_MAIN(TstReport)
#include "tst_report.moc"
