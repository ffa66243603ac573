#include "platform/Process.h"
#include "platform/CommandLine.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace platform {
namespace {

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

} // namespace

bool startCommandLine(const QString &commandLine)
{
    QString program;
    QStringList arguments;
    if (!splitForStart(commandLine, program, arguments))
        return false;
    // Detached: it inherits the current directory and the terminal, and is
    // neither waited for nor kept.
    return QProcess::startDetached(program, arguments);
}

bool startProgram(const QString &program, const QString &arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(nativePath(program), splitWindowsCommandLine(arguments));
}

ProgramFound findProgram(const QString &commandLine, const QString &workingDirectory)
{
    const QString program = nativePath(splitWindowsCommandLine(commandLine).value(0));
    if (program.isEmpty())
        return {};
    // A bare name is looked up on PATH, as starting it would.
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        return {found.isEmpty() ? program : found, !found.isEmpty()};
    }
    const QString path = QDir::cleanPath(QDir(nativePath(workingDirectory)).absoluteFilePath(program));
    const QFileInfo file(path);
    return {path, file.isFile() && file.isExecutable()};
}

std::optional<int> runCommandLineAndWait(const QString &commandLine)
{
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
}

} // namespace platform
