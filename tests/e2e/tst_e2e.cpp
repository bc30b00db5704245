// Netcairn as a person meets it: the installed program on a desktop with a window manager and
// a session bus, driven by real keystrokes, checked by what a person or another program sees.

#include <QDBusConnectionInterface>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = QStringLiteral("Netcairn 1.21");
const QString kQuestion = QStringLiteral("Netcairn already running!");
constexpr int kMs = 30000; // how long anything may take on a busy machine before it is broken

/// A program started for a test and ended with it, also when a check fails half-way.
struct Child : QProcess {
    explicit Child(const QString& program, const QStringList& args = {},
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
        setProcessEnvironment(env);
        start(program, args);
    }
    ~Child() override {
        kill();
        waitForFinished();
    }
};

QString run(const QStringList& command) {
    Child p(command.first(), command.mid(1));
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

/// The ids of the visible windows titled exactly \a title (xdotool takes POSIX patterns).
QStringList windowsTitled(QString title) {
    title.replace(QRegularExpression(QStringLiteral("([.!?()])")), QStringLiteral("\\\\1"));
    return run({"xdotool", "search", "--onlyvisible", "--name", '^' + title + '$'})
        .split(u'\n', Qt::SkipEmptyParts);
}

/// The one visible window titled \a title, waiting for it as long as anything may take.
QString windowTitled(const QString& title) {
    QStringList ids;
    const bool one = QTest::qWaitFor([&] { return (ids = windowsTitled(title)).size() == 1; }, kMs);
    return one ? ids[0] : QString();
}

void keys(const QString& window, const QStringList& keys, const QString& text = {}) {
    run(QStringList{"xdotool", "windowactivate", "--sync", window, "key", "--clearmodifiers"} +
        keys + QStringList{"type", text});
}

/// \a window's place with the window manager's frame, once it has one (else an empty one).
QRect framed(const QString& window) {
    QList<int> n; // frame left, right, top, bottom; x, y, relative x, y; width, height
    const QString info = run({"xprop", "-id", window, "_NET_FRAME_EXTENTS"}).section('=', 1) +
                         run({"xwininfo", "-id", window}).section("Absolute upper-left X", 1);
    for (auto it = QRegularExpression("\\d+").globalMatch(info); it.hasNext();)
        n << it.next().captured().toInt();
    return n.size() < 10 ? QRect()
                         : QRect(n[4] - n[0], n[5] - n[2], n[8] + n[0] + n[1], n[9] + n[2] + n[3]);
}

bool centredOn(const QRect& inner, const QRect& outer) {
    const QPointF off = QRectF(inner).center() - QRectF(outer).center();
    return !inner.isEmpty() && qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1;
}

/// "title pid" of the window that sway has focused, from its IPC ("" for none).
QString swayFocused(QJsonObject node = {}) {
    if (node.isEmpty())
        node = QJsonDocument::fromJson(run({"swaymsg", "-t", "get_tree"}).toUtf8()).object();
    if (node["focused"].toBool())
        return node["name"].toString() + ' ' + QString::number(node["pid"].toInt());
    QString focused;
    for (const char* list : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node[list].toArray())
            focused += swayFocused(child.toObject());
    return focused;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// One user's home, and the Netcairn copies started in it.
struct Home {
    QTemporaryDir dir;
    std::list<Child> copies;

    ~Home() { // every copy ended, and gone from the session bus for the next test too
        copies.clear();
        const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        (void)QTest::qWaitFor(
            [bus] { return !bus->isServiceRegistered(QStringLiteral(NETCAIRN_APP_ID)); }, kMs);
    }
    QProcess& start(const QStringList& vars = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
            env.insert(QString::fromLatin1(name), dir.path());
        for (const QString& var : vars)
            env.insert(var.section('=', 0, 0), var.section('=', 1));
        return copies.emplace_back(NETCAIRN_INSTALLED, QStringList(), env);
    }
};

} // namespace

class TstE2e : public QObject {
    Q_OBJECT

    const QString address = run({NETCAIRN_LOCALIP_TOOL, "localip"});

private Q_SLOTS:
    void firstStartCopyUpdateAndEsc() {
        const QString file = QFileInfo(NETCAIRN_INSTALLED).path() + "/LocalIp.txt";
        QFile::remove(file);
        Home home;
        QProcess& netcairn = home.start();
        const QString window = windowTitled(kTitle);
        QVERIFY(!window.isEmpty());
        QVERIFY(readFile(home.dir.filePath("Netcairn/Netcairn.ini"))
                    .contains(("\nAutoSaveDir=" + file + '\n').toUtf8()));
        QCOMPARE(readFile(file), (address + "\r\n").toUtf8());
        // Centred on the 1024 x 768 screen, frame included, once framed and Netcairn knows it.
        QTRY_VERIFY2_WITH_TIMEOUT(centredOn(framed(window), QRect(0, 0, 1024, 768)),
                                  qPrintable(run({"xwininfo", "-id", window})), kMs);
        keys(window, {"Return"}); // Copy
        const QStringList clipboard{"timeout", "5", "xclip", "-o", "-selection", "clipboard"};
        QTRY_COMPARE(run(clipboard), address);
        // A dialog follows its owner.
        run({"xdotool", "windowmove", "--sync", window, "300", "250"});
        for (const auto& [typed, dialog] :
             {std::pair{"", "About Netcairn 1.21"},
              {"about", "What is this? An easter egg or somethin' ?"}}) {
            keys(window, {"ctrl+a"}, typed); // the focus is back in the address box
            keys(window, {"alt+a"});
            const QString shown = windowTitled(dialog);
            QTRY_VERIFY_WITH_TIMEOUT(centredOn(framed(shown), framed(window)), kMs);
            keys(shown, {*typed ? "Return" : "Escape"});
            QTRY_VERIFY(windowsTitled(dialog).isEmpty());
        }
        QVERIFY(!centredOn(framed(window), QRect(0, 0, 1024, 768))); // still where it was moved
        keys(window, {"Escape"});
        QVERIFY(netcairn.waitForFinished(kMs));
        QCOMPARE(netcairn.exitCode(), 0);
        QCOMPARE(run(clipboard), address); // still there to paste with the program gone
    }

    // Answering No brings the first copy forward, also after another window took the front.
    void raisedOnX11() {
        // What reaches the root window: the end of a launch's notification.
        Child root("stdbuf", {"-oL", "xev", "-root", "-event", "property"});
        QByteArray seen;
        QTRY_VERIFY(run({"xprop", "-root", "-f", "NC", "8s", "-set", "NC", "1"}).isEmpty() &&
                    (seen += root.readAllStandardOutput()).contains("(NC)")); // listening
        Home home;
        home.start({"DESKTOP_STARTUP_ID=launch_TIME1"});
        const QString window = windowTitled(kTitle);
        QTRY_VERIFY((seen += root.readAllStandardOutput()).contains("_NET_STARTUP_INFO_BEGIN"));
        home.start({"LANG=de_DE.UTF-8", "LANGUAGE=de"}); // Qt's own buttons speak German: "&Ja"
        keys(windowTitled(kQuestion), {"j"});
        QTRY_VERIFY(windowsTitled(kTitle).size() == 2 &&
                    run({"xdotool", "getactivewindow"}) != window);
        run({"xdotool", "windowminimize", "--sync", window}); // and the first copy was put away
        const QProcess& answeredNo = home.start();
        keys(windowTitled(kQuestion), {"Return"}); // No, the default
        QTRY_COMPARE(std::ranges::count(home.copies, QProcess::Running, &QProcess::state), 2L);
        QCOMPARE(answeredNo.exitCode(), 0); // a copy that gives way has not failed
        QTRY_COMPARE(run({"xdotool", "getactivewindow"}), window);
        QVERIFY(run({"xprop", "-id", window, "_NET_STARTUP_ID"}) // the answer's, with its X time
                    .contains(QRegularExpression("_TIME[1-9]")));
        // A launcher's own request names its launch as the desktop's convention has it.
        QDBusMessage launch = QDBusMessage::createMethodCall(
            NETCAIRN_APP_ID, '/' + QString(NETCAIRN_APP_ID).replace('.', '/'),
            "org.freedesktop.Application", "Activate");
        launch << QVariantMap{{"desktop-startup-id", "launcher_TIME7"}};
        QCOMPARE(QDBusConnection::sessionBus().call(launch).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(run({"xprop", "-id", window, "_NET_STARTUP_ID"}).contains("launcher_TIME7"));
    }

    void raisedOnWayland() {
        if (qEnvironmentVariable("NETCAIRN_E2E_DESKTOP") != "sway"_L1)
            QSKIP("runs on sway: session.sh sway");
        Child keyboard("wtype", {"-s", "600000"}); // plugged in throughout, as a person's is
        QTRY_VERIFY(run({"swaymsg", "-t", "get_inputs"}).contains("\"keyboard\""));
        Home home;
        const auto inFront = [](QProcess& copy, const QString& title) {
            const QString window = title + ' ' + QString::number(copy.processId());
            return QTest::qWaitFor([&] { return swayFocused() == window; }, kMs);
        };
        // The first copy's protocol log shows that the launcher's token went to its window.
        QProcess& first = home.start({"WAYLAND_DEBUG=client", "XDG_ACTIVATION_TOKEN=launch"});
        QVERIFY(inFront(first, kTitle));
        QVERIFY(run({"swaymsg", "-t", "get_tree"}) // known by its entry's name, and so its icon
                    .contains(QRegularExpression("\"app_id\": *\"" NETCAIRN_APP_ID "\"")));
        QByteArray log;
        QTRY_VERIFY((log += first.readAllStandardError()).contains("activate(\"launch\""));
        Child behind("weston-flower"); // another program takes the front (not Qt's: see the README)
        QVERIFY(inFront(behind, "Flower"));
        QProcess& later = home.start({"WAYLAND_DEBUG=client"});
        QVERIFY(inFront(later, kQuestion));
        // No; its keyboard stays till the answer shows, since a focus loss drops a click.
        Child typing("wtype", {"-k", "Return", "-s", "600000"});
        QVERIFY(inFront(first, kTitle));
        QTRY_COMPARE(later.state(), QProcess::NotRunning);  // it backed out
        const QString asked = later.readAllStandardError(); // a token for its question box
        QVERIFY(
            asked.contains(QRegularExpression("xdg_activation_token_v1@\\d+\\.set_surface\\(")));
        // Copied, then ended as at logout: the address stays on the clipboard.
        run({"wtype", "-k", "Return"}); // Copy, the default button
        const QString address =
            readFile(QFileInfo(NETCAIRN_INSTALLED).path() + "/LocalIp.txt").trimmed();
        QVERIFY(!address.isEmpty());
        QTRY_COMPARE(run({"wl-paste", "-n"}), address);
        first.terminate();
        QVERIFY(first.waitForFinished(kMs));
        QCOMPARE(run({"wl-paste", "-n"}), address);
    }

    void startsWithoutAnInputSeat() {
        if (qEnvironmentVariable("NETCAIRN_E2E_DESKTOP") != "weston"_L1)
            QSKIP("runs without an input seat: session.sh weston");
        Home home;
        QProcess& netcairn = home.start({"WAYLAND_DEBUG=client", "XDG_ACTIVATION_TOKEN=t"});
        QByteArray log; // the window is titled, then drawn: start-up is through
        QTRY_VERIFY((log += netcairn.readAllStandardError())
                        .indexOf("attach(", log.indexOf("set_title(\"Netcairn 1.21\")")) > 0);
        netcairn.terminate(); // as at logout: a clean end, not a crash
        QVERIFY(netcairn.waitForFinished(kMs) && netcairn.exitStatus() == QProcess::NormalExit &&
                netcairn.exitCode() == 0);
    }
};

QTEST_GUILESS_MAIN(TstE2e)
#include "tst_e2e.moc"
