#include "BuildFacts.h"
#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/Windowing.h"
#include "platform/linux/RealPlatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

/// Qt's own options, which QApplication takes out of the arguments itself: known here, so that
/// a desktop or session manager may pass them, and given no meaning of Netcairn's.
constexpr char kQtOptionsWithValue[] =
    "platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle "
    "session display geometry title icon name style stylesheet qmljsdebugger";
constexpr char kQtFlags[] = "reverse widgetcount sync nograb dograb";

/// Answers --help and --version, and refuses options nobody knows, before anything reaches for
/// a display or a bus, so that both work in a bare shell. Nothing else is read from the command
/// line: an empty result starts the program as it always starts.
std::optional<int> AnswerCommandLine(int argc, char* argv[]) {
    if (argc < 2)
        return std::nullopt; // as the menu starts it: no parser paged in for nothing
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // Qt's own options are single-dash words; a session manager restarts us with -session.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Shows the local IP address and hands it out.\n"
                       "Qt's own options (-display, -platform, -session, -style ...) are "
                       "passed to Qt."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const QString& name : QString::fromLatin1(kQtOptionsWithValue).split(u' ')) {
        QCommandLineOption qt(name, QString(), QStringLiteral("value"));
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }
    for (const QString& name : QString::fromLatin1(kQtFlags).split(u' ')) {
        QCommandLineOption qt(name);
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }

    const QByteArray program = QFileInfo(arguments.value(0)).fileName().toLocal8Bit();
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.constData(),
                     qPrintable(parser.errorText()), program.constData());
        return 2;
    }
    if (parser.isSet(help)) {
        // The help text names the program as it was called, which it reads from an
        // application object; one without a display is enough.
        QCoreApplication plain(argc, argv);
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", nc::build::Title, nc::build::Version);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv))
        return *answered;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(nc::build::Title));
    QApplication::setApplicationVersion(QString::fromUtf8(nc::build::Version));
    // The desktop matches windows to the entry by this id (the Wayland app id).
    const QString appId = QString::fromUtf8(nc::build::AppId);
    QGuiApplication::setDesktopFileName(appId);

    const QString folder = QApplication::applicationDirPath() + u'/';
    nc::RealPlatform platform(folder + QString::fromUtf8(nc::build::PrintModule),
                              folder + QString::fromUtf8(nc::build::WaylandModule), appId);
    const nc::Platform& p = platform.bundle();
    nc::frmMain window(p);
    nc::FromToolkit([&] { window.Form_Load(); });
    int status = 0;
    if (!p.windowing.HasEnded()) {
        window.show();
        status = QApplication::exec();
    }
    p.clipboard.KeepAfterExit();
    return status;
}
