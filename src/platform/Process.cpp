#include "platform/Process.h"
#include "platform/CommandLine.h"
#include "platform/NativePath.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include "platform/win/WinPlatform.h"
#endif

namespace platform {

bool startCommandLine(const QString &commandLine)
{
#ifdef Q_OS_WIN
    // The line goes to the system unchanged; the program and its arguments
    // are the started program's own business.
    return win::startProcess(commandLine.toLocal8Bit().toStdString());
#else
    QStringList words = splitWindowsCommandLine(commandLine);
    if (words.isEmpty() || words.first().isEmpty())
        return false;
    const QString program = nativePath(words.takeFirst());
    QProcess process;
    process.setProgram(program);
    process.setArguments(words);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    return process.startDetached();
#endif
}

} // namespace platform
