// Netcairn as a person meets it: the installed program in a real X server, driven by real
// keystrokes, checked by what a person or another program can see.

#include "NetworkNamespace.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

const QString kTitle = QStringLiteral("Netcairn 1.21");

/// Runs a program to its end and returns what it printed.
QString run(const QString& program, const QStringList& args, int* status = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    if (status)
        *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString xdotool(const QStringList& args) {
    return run(QStringLiteral("xdotool"), args);
}

/// \a text as a POSIX extended regular expression (xdotool's kind) that matches only it.
QString exactly(const QString& text) {
    QString pattern = QStringLiteral("^");
    for (QChar c : text) {
        if (QStringLiteral(".[]{}()\\*+?|^$").contains(c))
            pattern += u'\\';
        pattern += c;
    }
    return pattern + u'$';
}

/// The ids of the visible windows titled exactly \a title.
QStringList windowsTitled(const QString& title) {
    const QString pattern = title == QLatin1String(".*") ? title : exactly(title);
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), pattern});
    return ids.isEmpty() ? QStringList() : ids.split(u'\n');
}

/// The window id of the visible window titled exactly \a title, waiting up to 10 s for it.
QString windowTitled(const QString& title) {
    QStringList ids;
    if (QTest::qWaitFor([&] { return !(ids = windowsTitled(title)).isEmpty(); }, 10000))
        return ids.value(0);
    QStringList visible;
    for (const QString& id : windowsTitled(QStringLiteral(".*")))
        visible << xdotool({QStringLiteral("getwindowname"), id});
    qWarning("no window titled \"%s\"; visible: %s", qPrintable(title),
             qPrintable(visible.join(QStringLiteral(" | "))));
    return {};
}

bool windowGone(const QString& title) {
    return QTest::qWaitFor([&] { return windowsTitled(title).isEmpty(); });
}

void keys(const QString& window, const QStringList& sequence) {
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    for (const QString& key : sequence) {
        xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
        QTest::qWait(60);
    }
}

void type(const QString& window, const QString& text) {
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

QString clipboard() {
    return run(QStringLiteral("timeout"),
               {QStringLiteral("5"), QStringLiteral("xclip"), QStringLiteral("-o"),
                QStringLiteral("-selection"), QStringLiteral("clipboard")});
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// One user's home: a fresh temporary folder, and Netcairn copies started in it.
class Home {
public:
    Home() {
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
        QDir().mkpath(dir.filePath(QStringLiteral("run")));
        QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~Home() {
        for (QProcess* p : copies) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
    }
    /// Starts a copy of Netcairn, optionally under a wrapper command (a network namespace).
    QProcess& start(const QStringList& wrapper = {}) {
        auto* p = new QProcess;
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        const QStringList command = wrapper + QStringList{QStringLiteral(NETCAIRN_INSTALLED)};
        p->start(command.first(), command.mid(1));
        copies << p;
        return *p;
    }
    QString ini() const { return dir.filePath(QStringLiteral("config/Netcairn/Netcairn.ini")); }
    QString setting(const QString& key) const {
        const QRegularExpression line(u'^' + key + QStringLiteral("=(.*)$"),
                                      QRegularExpression::MultilineOption);
        return line.match(QString::fromUtf8(readFile(ini()))).captured(1);
    }
    void storeOptions(const QString& autoCopy, const QString& autoSave, const QString& path) {
        QDir().mkpath(QFileInfo(ini()).path());
        QFile f(ini());
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the settings");
        f.write(QStringLiteral("[Options]\nAutoCopy=%1\nAutoSave=%2\nAutoSaveDir=%3\n\n"
                               "[Setup]\nDefaultsWritten=1\n")
                    .arg(autoCopy, autoSave, path)
                    .toUtf8());
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QList<QProcess*> copies;
};

QString defaultAddressFile() {
    return QFileInfo(QStringLiteral(NETCAIRN_INSTALLED)).path() + QStringLiteral("/LocalIp.txt");
}

} // namespace

class TstE2e : public QObject {
    Q_OBJECT

    QString address = run(QStringLiteral(NETCAIRN_LOCALIP_TOOL), {});

private Q_SLOTS:
    void init() { QFile::remove(defaultAddressFile()); }

    void firstStartCopyAndUpdate() {
        Home home;
        home.start();
        const QString window = windowTitled(kTitle);
        QVERIFY(!window.isEmpty());
        QCOMPARE(home.setting(QStringLiteral("AutoCopy")), QStringLiteral("0"));
        QCOMPARE(home.setting(QStringLiteral("AutoSave")), QStringLiteral("1"));
        QCOMPARE(home.setting(QStringLiteral("AutoSaveDir")), defaultAddressFile());
        QCOMPARE(readFile(defaultAddressFile()), (address + QStringLiteral("\r\n")).toUtf8());
        type(window, QStringLiteral("typed words")); // the selected address is replaced
        keys(window, {QStringLiteral("Return")});
        QTRY_COMPARE(clipboard(), QStringLiteral("typed words"));
        keys(window, {QStringLiteral("alt+u"), QStringLiteral("alt+c")});
        QTRY_COMPARE(clipboard(), address);
    }

    void autoCopyIsAppliedWithEnter() {
        Home home;
        home.storeOptions(QStringLiteral("0"), QStringLiteral("0"),
                          home.path(QStringLiteral("ip.txt")));
        home.start();
        const QString window = windowTitled(kTitle);
        keys(window, {QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                      QStringLiteral("Tab"), QStringLiteral("space"), QStringLiteral("Return")});
        QTRY_COMPARE(home.setting(QStringLiteral("AutoCopy")), QStringLiteral("1"));
        QTRY_COMPARE(clipboard(), address);
    }

    void untickingAutoSaveDeletesTheFile() {
        Home home;
        const QString file = home.path(QStringLiteral("ip.txt"));
        home.storeOptions(QStringLiteral("0"), QStringLiteral("1"), file);
        home.start();
        const QString window = windowTitled(kTitle);
        QTRY_VERIFY(QFile::exists(file));
        keys(window, {QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                      QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space")});
        QTRY_VERIFY(!QFile::exists(file));
        QCOMPARE(home.setting(QStringLiteral("AutoSave")), QStringLiteral("1")); // until Apply
    }

    void newPathOverAnExistingFileAsksFirst() {
        Home home;
        const QString old = home.path(QStringLiteral("ip.txt"));
        const QString taken = home.path(QStringLiteral("notes.txt"));
        QFile notes(taken);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("my notes\n");
        notes.close();
        home.storeOptions(QStringLiteral("0"), QStringLiteral("1"), old);
        home.start();
        const QString window = windowTitled(kTitle);
        for (int i = 0; i < 6; ++i) // from the address box to the path box, selecting the path
            keys(window, {QStringLiteral("Tab")});
        for (const QString& answer : {QStringLiteral("Return"), QStringLiteral("y")}) {
            keys(window, {QStringLiteral("ctrl+a")});
            type(window, taken);
            keys(window, {QStringLiteral("Return")}); // Apply, the default in the options
            const QString question = windowTitled(QStringLiteral("Netcairn"));
            QVERIFY(!question.isEmpty());
            keys(question, {answer});
            QVERIFY(windowGone(QStringLiteral("Netcairn")));
        }
        QTRY_COMPARE(home.setting(QStringLiteral("AutoSaveDir")), taken);
        QTRY_COMPARE(readFile(taken), (address + QStringLiteral("\r\n")).toUtf8());
        QVERIFY(!QFile::exists(old));
    }

    void aboutClosesWithEscAndAWordOpensTheFunDialog() {
        Home home;
        home.start();
        const QString window = windowTitled(kTitle);
        keys(window, {QStringLiteral("alt+a")});
        const QString about = windowTitled(QStringLiteral("About Netcairn 1.21"));
        QVERIFY(!about.isEmpty());
        keys(about, {QStringLiteral("Escape")});
        QVERIFY(windowGone(QStringLiteral("About Netcairn 1.21")));
        keys(window, {QStringLiteral("alt+u")});
        keys(window, {QStringLiteral("shift+Tab"), QStringLiteral("Tab")}); // selects the address
        type(window, QStringLiteral("About"));
        keys(window, {QStringLiteral("alt+a")});
        const QString fun =
            windowTitled(QStringLiteral("What is this? An easter egg or somethin' ?"));
        QVERIFY(!fun.isEmpty());
        keys(fun, {QStringLiteral("Return")});
        QVERIFY(windowGone(QStringLiteral("What is this? An easter egg or somethin' ?")));
        QTest::qWait(300);
        QVERIFY(windowsTitled(QStringLiteral("About Netcairn 1.21")).isEmpty());
    }

    void escEndsTheProgram() {
        Home home;
        QProcess& netcairn = home.start();
        keys(windowTitled(kTitle), {QStringLiteral("Escape")});
        QTRY_COMPARE_WITH_TIMEOUT(netcairn.state(), QProcess::NotRunning, 10000);
        QCOMPARE(netcairn.exitStatus(), QProcess::NormalExit);
        QCOMPARE(netcairn.exitCode(), 0);
    }

    void secondCopy() {
        Home home;
        home.start();
        const QString first = windowTitled(kTitle);
        QProcess& no = home.start();
        const QString question = windowTitled(QStringLiteral("Netcairn already running!"));
        QVERIFY(!question.isEmpty());
        keys(question, {QStringLiteral("Return")}); // No is the default
        QTRY_COMPARE_WITH_TIMEOUT(no.state(), QProcess::NotRunning, 10000);
        QTRY_COMPARE(xdotool({QStringLiteral("getactivewindow")}), first);
        keys(first, {QStringLiteral("Return")}); // its address is still there to copy
        QTRY_COMPARE(clipboard(), address);

        home.start();
        keys(windowTitled(QStringLiteral("Netcairn already running!")), {QStringLiteral("y")});
        QTRY_COMPARE(windowsTitled(kTitle).size(), 2);
    }

    void unwritablePathGivesOneReport() {
        Home home;
        home.storeOptions(QStringLiteral("0"), QStringLiteral("1"),
                          QStringLiteral("/proc/netcairn/LocalIp.txt"));
        const QByteArray before = readFile(home.ini());
        home.start();
        const QString report = windowTitled(QStringLiteral("Netcairn 1.21 Error Message"));
        QVERIFY(!report.isEmpty());
        keys(report, {QStringLiteral("Return")});
        QVERIFY(!windowTitled(kTitle).isEmpty());
        QVERIFY(windowsTitled(QStringLiteral("Netcairn 1.21 Error Message")).isEmpty());
        QCOMPARE(readFile(home.ini()), before);
    }
};

/// The address a namespace gives, seen in the real window; needs root and iproute2.
class TstE2eNamespaces : public QObject {
    Q_OBJECT

public:
    bool unavailable = false;

private:
    std::optional<nc::NetworkNamespace> ns;

private Q_SLOTS:
    void init() {
        ns.emplace(QStringLiteral("nce2e"));
        if (!ns->ok()) {
            unavailable = true;
            QSKIP("network namespaces need root and iproute2");
        }
    }
    void cleanup() { ns.reset(); }

    void addressInTheWindow_data() {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("shown");
        QTest::newRow("offline") << false << "127.0.0.1";
        QTest::newRow("10.0.0.7") << true << "10.0.0.7";
    }
    void addressInTheWindow() {
        QFETCH(bool, connected);
        QFETCH(QString, shown);
        if (connected) {
            if (!ns->addVeth(QStringLiteral("v0"), QStringLiteral("10.0.0.7/24"))) {
                unavailable = true;
                QSKIP("this kernel offers no veth interfaces");
            }
            QVERIFY(ns->ip(QStringLiteral("route add default via 10.0.0.1 dev v0")));
        }
        Home home;
        home.storeOptions(QStringLiteral("1"), QStringLiteral("0"),
                          home.path(QStringLiteral("ip.txt")));
        home.start(ns->exec());
        const QString window = windowTitled(kTitle);
        QVERIFY(!window.isEmpty());
        QTRY_COMPARE(clipboard(), shown); // copied at start-up, without the offline tag
        type(window, QStringLiteral("x"));
        keys(window, {QStringLiteral("alt+u"), QStringLiteral("End"), QStringLiteral("shift+Home"),
                      QStringLiteral("ctrl+c")});
        QTRY_COMPARE(clipboard(), connected ? shown : QStringLiteral("127.0.0.1 (offline)"));
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    TstE2e suite;
    TstE2eNamespaces namespaces;
    return nc::RunSuites(argc, argv, suite, namespaces, namespaces.unavailable);
}

#include "tst_e2e.moc"
