// Handing the address out: path helpers, clipboard, address file, Save As and printing.

#include "TestPlatform.h"
#include "app/frmMain.h"
#include "output/PathHelpers.h"
#include "platform/desktop/QtPrinter.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace nc;

namespace {

QLineEdit* box(QWidget& window, const char* name) {
    return window.findChild<QLineEdit*>(QString::fromLatin1(name));
}

/// Limits the size of files this process writes, as a nearly full disk does.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

} // namespace

class TstOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathHelpers_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("extension");
        QTest::newRow("full path") << "/a/b.txt"
                                   << "/a/"
                                   << "b.txt"
                                   << "txt";
        QTest::newRow("bare name") << "b.txt"
                                   << ""
                                   << "b.txt"
                                   << "txt";
        QTest::newRow("folder") << "/a/"
                                << "/a/"
                                << ""
                                << "/a/";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("two points") << "/a/b.tar.gz"
                                    << "/a/"
                                    << "b.tar.gz"
                                    << "gz";
        QTest::newRow("final point") << "/a/b."
                                     << "/a/"
                                     << "b."
                                     << "";
        QTest::newRow("no point") << "/a/b"
                                  << "/a/"
                                  << "b"
                                  << "/a/b";
        QTest::newRow("point in a folder") << "/a.d/b"
                                           << "/a.d/"
                                           << "b"
                                           << "d/b";
        QTest::newRow("letter case kept") << "/A/B.TXT"
                                          << "/A/"
                                          << "B.TXT"
                                          << "TXT";
        QTest::newRow("backslash is a character") << "/a\\b.c"
                                                  << "/"
                                                  << "a\\b.c"
                                                  << "c";
    }
    void pathHelpers() {
        QFETCH(QString, path);
        QFETCH(QString, dir);
        QFETCH(QString, file);
        QFETCH(QString, extension);
        QCOMPARE(GetDir(path), dir);
        QCOMPARE(GetFile(path), file);
        QCOMPARE(GetExtension(path), extension);
    }

    void createNewDirectoryWorksOutwardIn() {
        TestPlatform p;
        const QString root = p.path(QStringLiteral("x"));
        CreateNewDirectory(p.files, root + QStringLiteral("/a/b"));
        QVERIFY(QDir(root + QStringLiteral("/a/b")).exists());
        QCOMPARE(p.files.folders.last(), root + QStringLiteral("/a/b/"));
        QCOMPARE(p.files.folders.first(), QStringLiteral("/"));
        p.files.folders.clear();
        CreateNewDirectory(p.files, root + QStringLiteral("/a/b/")); // all there: nothing to do
        QVERIFY(QDir(root + QStringLiteral("/a/b")).exists());
        p.files.folders.clear();
        CreateNewDirectory(p.files, QString());
        QCOMPARE(p.files.folders, QStringList{"/"});

        frmMain window(p.bundle);
        window.CreateNewDirectory(QString(32766, u'd') + QStringLiteral("/x"));
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.CreateNewDirectory"});
    }

    void fileExistsOnlyForAFileWithContent() {
        TestPlatform p;
        QVERIFY(!FileExists(p.files, p.writeFile(QStringLiteral("empty"), "")));
        QVERIFY(FileExists(p.files, p.writeFile(QStringLiteral("one"), "1")));
        QVERIFY(!FileExists(p.files, p.path(QStringLiteral("missing"))));
        QVERIFY(!FileExists(p.files, p.path(QStringLiteral("no/such/folder/f"))));
        QVERIFY(!FileExists(p.files, p.home.path()));
        QVERIFY(!FileExists(p.files, QString()));
    }

    void copyHandsOutWhatTheBoxShows() {
        TestPlatform p;
        p.winsock.address = QStringLiteral("127.0.0.1");
        auto window = LoadedMainWindow(p);
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return); // Copy is the default
        QCOMPARE(p.clipboard.text, QStringLiteral("127.0.0.1"));
        QTest::keyClicks(static_cast<QWidget*>(nullptr),
                         QStringLiteral("my words")); // replaces the selection
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
        QCOMPARE(p.clipboard.text, QStringLiteral("my words"));
        p.clipboard.failing = true;
        window->cmdCopy_Click();
        QCOMPARE(p.dialogs.reports(), QStringList{"frmMain.Sub.AutoCopy"});
        QVERIFY(p.clipboard.text.isEmpty());
    }

    void addressFileHoldsOneLine_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("address") << "192.168.1.20" << QByteArray("192.168.1.20\r\n");
        QTest::newRow("offline") << "127.0.0.1 (offline)" << QByteArray("127.0.0.1\r\n");
    }
    void addressFileHoldsOneLine() {
        QFETCH(QString, shown);
        QFETCH(QByteArray, bytes);
        TestPlatform p;
        const QString file = p.writeFile(QStringLiteral("old/ip.txt"),
                                         "a much longer earlier content\r\nsecond line\r\n");
        p.storeOptions(0, 1, file);
        frmMain window(p.bundle);
        window.Form_Load();
        box(window, "txtIPAddress")->setText(shown);
        window.AutoSave();
        QCOMPARE(TestPlatform::readFile(file), bytes);

        const QString nested = p.path(QStringLiteral("new/sub/ip.txt"));
        p.storeOptions(0, 1, nested);
        window.AutoSave();
        QCOMPARE(TestPlatform::readFile(nested), bytes);

        const QString previous = QDir::currentPath();
        QDir::setCurrent(p.home.path());
        p.storeOptions(0, 1, QStringLiteral("relative.txt"));
        window.AutoSave();
        QDir::setCurrent(previous);
        QCOMPARE(TestPlatform::readFile(p.path(QStringLiteral("relative.txt"))), bytes);
        QVERIFY(p.dialogs.boxes.isEmpty());
    }

    void failedSaveKeepsTheEarlierFile() {
        TestPlatform p;
        const QByteArray earlier("10.1.1.1\r\n");
        const QString file = p.writeFile(QStringLiteral("locked/ip.txt"), earlier);
        frmMain window(p.bundle);
        window.Form_Load();
        p.dialogs.boxes.clear();
        for (const QString& unusable : {QString(), p.home.path()}) {
            p.storeOptions(0, 1, unusable);
            window.AutoSave();
        }
        p.storeOptions(0, 1, file);
        {
            FileSizeLimit nearlyFull(4); // the new content does not fit: the write fails midway
            window.AutoSave();
        }
        QCOMPARE(TestPlatform::readFile(file), earlier);
        qsizetype failures = 3;
        {
            ReadOnlyFolder readOnly(p.path(QStringLiteral("locked")));
            if (readOnly.ok()) { // where the system can make a folder read-only
                window.AutoSave();
                ++failures;
            }
        }
        QCOMPARE(TestPlatform::readFile(file), earlier);
        QCOMPARE(p.dialogs.reports(),
                 QStringList(failures, QStringLiteral("frmMain.Sub.AutoSave")));
        QVERIFY(p.dialogs.boxes[2].prompt.contains(QStringLiteral("Code:   61\r\n")));
        QCOMPARE(QDir(p.path(QStringLiteral("locked"))).entryList(QDir::Files),
                 QStringList{"ip.txt"}); // no temporary file left behind
    }

    void browsePrefillsTheDialogAndOnlyFillsThePathBox_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("extension");
        QTest::newRow("txt") << "/x/LocalIp.txt" << 1 << "txt";
        QTest::newRow("rtf") << "/x/ip.rtf" << 2 << "rtf";
        QTest::newRow("doc") << "/x/ip.doc" << 3 << "doc";
        QTest::newRow("capitals are another extension") << "/x/ip.TXT" << 4 << "TXT";
        QTest::newRow("no point at all") << "/x/ip" << 4 << "/x/ip";
    }
    void browsePrefillsTheDialogAndOnlyFillsThePathBox() {
        QFETCH(QString, stored);
        QFETCH(int, index);
        QFETCH(QString, extension);
        TestPlatform p;
        p.storeOptions(0, 0, stored);
        auto window = LoadedMainWindow(p);
        p.settings.writes.clear();
        window->cmdBrowse_Click(); // cancelled
        QCOMPARE(box(*window, "txtAutoSaveDir")->text(), stored);
        const SaveAsRequest request = p.commonDialog.requests.value(0);
        QCOMPARE(request.DialogTitle, QStringLiteral("Save IP to File"));
        QCOMPARE(request.Filter, QStringLiteral("Text Document (*.txt)|*.txt|Rich Text Format "
                                                "(*.rtf)|*.rtf|Microsoft Word Document (*.doc)|"
                                                "*.doc|Other (*.*)|*.*"));
        QCOMPARE(request.FilterIndex, index);
        QCOMPARE(request.InitDir, QStringLiteral("/x/"));
        QCOMPARE(request.FileName, GetFile(stored));
        QCOMPARE(request.DefaultExt, extension);
        QCOMPARE(request.Flags, 0x280004);

        const QString chosen = p.path(QStringLiteral("chosen.txt"));
        p.commonDialog.answer = chosen;
        window->cmdBrowse_Click();
        QCOMPARE(box(*window, "txtAutoSaveDir")->text(), chosen);
        QVERIFY(p.settings.writes.isEmpty());
        QVERIFY(!QFile::exists(chosen));
        QVERIFY(p.dialogs.boxes.isEmpty());
    }

    void printSetsThePageUpBeforeTheDialog() {
        TestPlatform p;
        auto window = LoadedMainWindow(p);
        box(*window, "txtIPAddress")->setText(QStringLiteral("127.0.0.1 (offline)"));
        window->cmdPrint_Click();
        QCOMPARE(p.printer.calls,
                 QStringList({"font MS Sans Serif", "size 18", "scale 7", "x 2", "y 2",
                              "dialog Print IP-Address", "print 127.0.0.1", "end"}));
        p.printer.calls.clear();
        p.printer.cancel = true;
        window->cmdPrint_Click();
        QCOMPARE(p.printer.calls.last(), QStringLiteral("dialog Print IP-Address"));
        QVERIFY(p.dialogs.boxes.isEmpty());
    }

    void printedPageShowsTheAddressTwoCentimetresIn() {
        TestPlatform p;
        const QString pdf = p.path(QStringLiteral("page.pdf"));
        QRectF printable;
        bool accept = false;
        QtPrinter printer([&](QPrinter& target, const QString&) {
            target.setOutputFormat(QPrinter::PdfFormat);
            target.setOutputFileName(pdf);
            printable = target.pageLayout().paintRectPoints();
            return accept;
        });
        Platform bundle = p.bundle;
        Platform withPrinter{bundle.app,      bundle.dialogs,   bundle.windowing,
                             bundle.forms,    bundle.settings,  bundle.files,
                             bundle.winsock,  bundle.clipboard, bundle.commonDialog,
                             printer,         bundle.registry,  bundle.launcher,
                             bundle.instances};
        frmMain window(withPrinter);
        window.Form_Load();
        window.cmdPrint_Click(); // cancelled
        QVERIFY(!QFile::exists(pdf));

        accept = true;
        box(window, "txtIPAddress")->setText(QStringLiteral("127.0.0.1 (offline)"));
        window.cmdPrint_Click();
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString html = QString::fromUtf8(text.readAllStandardOutput());
        const QRegularExpression word(
            QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
        QStringList words;
        QPointF topLeft;
        for (const auto& m : word.globalMatch(html)) {
            if (words.isEmpty())
                topLeft = {m.captured(1).toDouble(), m.captured(2).toDouble()};
            words << m.captured(3);
        }
        QCOMPARE(words, QStringList{"127.0.0.1"});
        const double twoCm = 72.0 * 2 / 2.54;
        QVERIFY2(qAbs(topLeft.x() - printable.left() - twoCm) < 4, qPrintable(html));
        QVERIFY2(qAbs(topLeft.y() - printable.top() - twoCm) < 6, qPrintable(html));
    }
};

QTEST_MAIN(TstOutput)
#include "tst_output.moc"
