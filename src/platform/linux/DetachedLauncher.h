#pragma once

#include "platform/Launcher.h"

#include <QStringList>

namespace nc {

/// Starts programs detached and without a shell. "start.exe ADDRESS" hands the address to the
/// desktop's opener (xdg-open); any other command line names a program and its arguments.
class DetachedLauncher final : public Launcher {
public:
    /// \a opener is the program that opens web and mail addresses.
    explicit DetachedLauncher(QString opener = QStringLiteral("xdg-open"))
        : m_opener(std::move(opener)) {}
    void Shell(const QString& commandLine, int windowStyle) override;

private:
    QString m_opener;
};

/// The program and arguments a command line stands for, given the desktop's \a opener.
QStringList LaunchCommand(const QString& commandLine, const QString& opener);

} // namespace nc
