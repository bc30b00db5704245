// Handing the address out: the address file on disk, and the printed page.

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "output/PathHelpers.h"
#include "platform/linux/ModulePrinter.h"

#include <QDir>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace nc;
using namespace Qt::StringLiterals;

class TstOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileExistsOnlyWithContent() {
        TestPlatform p;
        QVERIFY(FileExists(p.files, p.writeFile("one", "1")));
        for (const QString& absent : {p.writeFile("empty", ""), p.path("no/f"), p.root, QString()})
            QVERIFY2(!FileExists(p.files, absent), qPrintable(absent));
    }

    void addressFileKeepsWhatTheUserHas_data() {
        QTest::addColumn<int>("report"); // 0: written
        QTest::addColumn<int>("mode");   // the file's before
        for (const QString& row :
             u"file=0=640|fifo=75=600|disk full=61=600|read-only folder=0=6700|set-id bits=0=6750|"
             "someone else's link=70=600|someone else's file=0=6664|second hard link=0=604"_s.split(
                 u'|'))
            QTest::newRow(qPrintable(row.section(u'=', 0, 0)))
                << row.section(u'=', 1, 1).toInt() << row.section(u'=', 2).toInt(nullptr, 8);
    }
    void addressFileKeepsWhatTheUserHas() {
        const QString kind = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(int, report);
        QFETCH(int, mode);
        TestPlatform p;
        const QByteArray earlier("a much longer earlier content\r\nsecond line\r\n");
        const QString file = p.writeFile("out/ip.txt", earlier);
        const QString folder = p.path("out");
        const QByteArray name = QFile::encodeName(file);
        QString path = file;
        // Makes the folder take no new file, root's included (chmod alone does not stop root), or
        // gives it back; false where this system offers no way.
        const auto readOnly = [&folder](bool on) {
            if (geteuid() != 0)
                return chmod(QFile::encodeName(folder), on ? 0500 : 0700) == 0;
            return QProcess::execute(u"chattr"_s, {on ? u"+i"_s : u"-i"_s, folder}) == 0;
        };
        if (kind == "fifo"_L1) {
            path = p.path("out/pipe");
            QCOMPARE(mkfifo(QFile::encodeName(path), 0600), 0);
        } else if (kind == "read-only folder"_L1 && !readOnly(true)) {
            QSKIP("this system cannot make a folder read-only");
        } else if (kind.startsWith("someone else's"_L1) && geteuid() != 0) {
            QSKIP("another user's file needs root");
        } else if (kind == "someone else's link"_L1) {
            path = p.path("shared/ip.txt"); // in a world-writable sticky folder, as /tmp
            QVERIFY(QDir().mkpath(p.path("shared")) &&
                    chmod(QFile::encodeName(p.path("shared")), 01777) == 0);
            QVERIFY(QFile::link(file, path) && lchown(QFile::encodeName(path), 65534, 65534) == 0);
        } else if (kind == "someone else's file"_L1) {
            QCOMPARE(chown(name, 65534, 65534), 0);
        } else if (kind == "second hard link"_L1) {
            QVERIFY(QDir().mkpath(p.path("links")));
            QCOMPARE(link(name, QFile::encodeName(p.path("links/ip.txt"))), 0);
        }
        QCOMPARE(chmod(name, mode_t(mode)), 0);
        struct stat before {};
        QCOMPARE(stat(name, &before), 0);
        p.storeOptions(0, 1, path);
        frmMain window(p.bundle);
        window.findChild<QLineEdit*>("txtIPAddress")->setText("127.0.0.1 (offline)");
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{kind == "disk full"_L1 ? 4 : saved.rlim_cur, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        window.AutoSave();
        setrlimit(RLIMIT_FSIZE, &saved);
        if (kind == "read-only folder"_L1)
            readOnly(false);

        QCOMPARE(p.dialogs.seen.join(u'|'),
                 report ? u"report frmMain.Sub.AutoSave %1"_s.arg(report) : QString());
        QCOMPARE(TestPlatform::readFile(file), report ? earlier : QByteArray("127.0.0.1\r\n"));
        QCOMPARE(QFileInfo(path).isFile(), kind != "fifo"_L1); // a pipe stays a pipe
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System).size(),
                 kind == "fifo"_L1 ? 2 : 1);
        // The owner's file still, with the owner's bits but never set-id ones; a second name
        // still names the same file.
        struct stat info {};
        QCOMPARE(lstat(name, &info), 0);
        QCOMPARE(
            QList<uint>({info.st_uid, info.st_gid, info.st_mode & 07777}),
            QList<uint>({before.st_uid, before.st_gid, before.st_mode & (report ? 07777 : 0777)}));
        QCOMPARE(TestPlatform::readFile(p.path("links/ip.txt")),
                 kind == "second hard link"_L1 ? "127.0.0.1\r\n" : QByteArray());
    }

    void printedPageShowsTheAddressTwoCentimetresIn() {
        ModulePrinter missing(u"/no/module.so"_s), module(NETCAIRN_PRINT_MODULE);
        QVERIFY_THROWS_EXCEPTION(Failure, missing.SetFontName("MS Sans Serif"));
        module.SetFontName("MS Sans Serif"); // the program's printer loads at the first use
        TestPlatform p;
        auto window = p.loadedWindow();
        window->findChild<QLineEdit*>("txtIPAddress")->setText("127.0.0.1 (offline)");
        for (const bool accepted : {false, true}) { // a page only once the dialog is accepted
            p.printAccepted = accepted;
            window->cmdPrint_Click();
            QCOMPARE(QFile::exists(p.path("page.pdf")), accepted);
        }
        QProcess text;
        text.start(u"pdftotext"_s, {u"-bbox"_s, p.path("page.pdf"), u"-"_s});
        QVERIFY(text.waitForFinished());
        const QString html = QString::fromUtf8(text.readAllStandardOutput());
        const auto word = QRegularExpression(u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                             "xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">([^<]*)</word>"_s)
                              .match(html);
        QCOMPARE(word.captured(4), u"127.0.0.1"_s);
        // The line is as high as the classic font at 18 points is on this desktop.
        const QFontMetricsF classic(QFont(u"MS Sans Serif"_s, 18));
        const double points = classic.height() * 72 / classic.fontDpi();
        const QRectF printable = QPrinter().pageLayout().paintRectPoints();
        const double twoCm = 72.0 * 2 / 2.54, x = word.captured(1).toDouble(),
                     y = word.captured(2).toDouble(), height = word.captured(3).toDouble() - y;
        QVERIFY2(qAbs(height - points) < 0.5 && qAbs(x - printable.left() - twoCm) < 4 &&
                     qAbs(y - printable.top() - twoCm) < 6 && html.count(u"<word"_s) == 1,
                 qPrintable(html + QString::number(points)));
    }
};

QTEST_MAIN(TstOutput)
#include "tst_output.moc"
