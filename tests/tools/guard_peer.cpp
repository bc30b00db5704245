// Another copy of Netcairn as far as the single-copy guard can tell: it takes the guard in the
// folder given, says whether it came first, and reports every request to come forward.
// With --no-answer it holds the guard without listening.

#include "platform/desktop/LocalInstanceGuard.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    nc::LocalInstanceGuard guard(args.value(1), QStringLiteral("Netcairn-test"));
    QTextStream out(stdout);
    out << (guard.PrevInstance() ? "second" : "first") << Qt::endl;
    if (!args.contains(QStringLiteral("--no-answer"))) {
        guard.ListenForActivation([&out](const QString& title) {
            out << "activated " << title << Qt::endl;
            return title == QStringLiteral("Netcairn");
        });
    }
    return QCoreApplication::exec();
}
