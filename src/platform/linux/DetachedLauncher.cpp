#include "DetachedLauncher.h"

#include "platform/Failure.h"

#include <QFileInfo>
#include <QProcess>

namespace nc {

QStringList LaunchCommand(const QString& commandLine, const QString& opener) {
    static const QString start = QStringLiteral("start.exe ");
    if (commandLine.startsWith(start, Qt::CaseInsensitive))
        return {opener, commandLine.mid(start.size())};
    // A path to a program may hold blanks; only a line that names no program is split.
    const QFileInfo program(commandLine);
    if (program.isFile() && program.isExecutable())
        return {commandLine};
    return QProcess::splitCommand(commandLine);
}

void DetachedLauncher::Shell(const QString& commandLine, int /*windowStyle*/) {
    // Window styles are the started program's own affair on this desktop: the opener shows no
    // window, and the tools open a normal one.
    QStringList command = LaunchCommand(commandLine, m_opener);
    if (command.isEmpty() || command.constFirst().isEmpty())
        throw Failure::of(errFileNotFound);
    const QString program = command.takeFirst();
    if (!QProcess::startDetached(program, command))
        throw Failure::of(errFileNotFound);
}

} // namespace nc
