#pragma once

#include <QString>
#include <QStringList>

namespace queldo {

/// What the command line asks for. Read before any window or lock exists, so that --help and
/// --version answer on a machine without a display and while another copy runs.
struct StartOptions
{
    enum class Action { Run, PrintVersion, PrintHelp, Refuse };

    Action action = Action::Run;
    /// The folder named with --folder, absolute; empty when none was named.
    QString folder;
    /// For PrintVersion and PrintHelp the text for standard output, for Refuse the reason for
    /// standard error; each ends in a line end.
    QString text;
};

/// arguments as QCoreApplication::arguments() gives them, the program's own path first.
/// startFolder resolves a relative --folder.
StartOptions parseStartOptions(const QStringList &arguments, const QString &startFolder);

/// "1.1.2.4": the version the build was made for, one source for every place that shows it.
QString programVersion();

/// "QUELDO 1.1.2.4"
QString versionLine();

} // namespace queldo
