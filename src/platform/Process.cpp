#include "platform/Process.h"
#include "platform/CommandLine.h"
#include "platform/NativePath.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include "platform/win/WinPlatform.h"
#endif

namespace platform {
namespace {

#ifndef Q_OS_WIN
// No shell: the words reach the program as a Windows program would get them.
// Only the program's own path needs the system's separators; the arguments
// are the program's to read. False when there is no program word.
bool splitForStart(const QString &commandLine, QString &program, QStringList &arguments)
{
    arguments = splitWindowsCommandLine(commandLine);
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return false;
    program = nativePath(arguments.takeFirst());
    return true;
}
#endif

} // namespace

bool startCommandLine(const QString &commandLine)
{
#ifdef Q_OS_WIN
    // The line goes to the system unchanged; the program and its arguments
    // are the started program's own business.
    return win::startProcess(commandLine.toStdWString());
#else
    QString program;
    QStringList arguments;
    if (!splitForStart(commandLine, program, arguments))
        return false;
    // Detached: it inherits the current directory and the terminal, and is
    // neither waited for nor kept.
    return QProcess::startDetached(program, arguments);
#endif
}

bool startProgram(const QString &program, const QString &arguments)
{
#ifdef Q_OS_WIN
    // The program by name, so that the system does not try "C:\Program.exe"
    // before "C:\Program Files\...\x.exe"; it still sees its own path,
    // quoted, as the first word of its line.
    if (program.isEmpty())
        return false;
    QString line = QLatin1Char('"') + program + QLatin1Char('"');
    if (!arguments.isEmpty())
        line += QLatin1Char(' ') + arguments;
    return win::startProcess(line.toStdWString(), program.toStdWString());
#else
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(nativePath(program), splitWindowsCommandLine(arguments));
#endif
}

std::optional<int> runCommandLineAndWait(const QString &commandLine)
{
#ifdef Q_OS_WIN
    unsigned long code = 0;
    if (!win::runProcessAndWait(commandLine.toStdWString(), code))
        return std::nullopt;
    return static_cast<int>(code);
#else
    QString program;
    QStringList arguments;
    if (!splitForStart(commandLine, program, arguments))
        return std::nullopt;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return std::nullopt;
    process.waitForFinished(-1);
    // A process ended by a signal has no status of its own; report it as a
    // shell does. Qt keeps the signal's number as the exit code then.
    if (process.exitStatus() == QProcess::CrashExit)
        return 128 + process.exitCode();
    return process.exitCode();
#endif
}

} // namespace platform
