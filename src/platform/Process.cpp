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
    return win::startProcess(commandLine.toStdWString());
#else
    // No shell: the words reach the program as a Windows program would get
    // them. Only the program's own path needs the system's separators; the
    // arguments are the program's to read.
    QStringList words = splitWindowsCommandLine(commandLine);
    if (words.isEmpty() || words.first().isEmpty())
        return false;
    const QString program = nativePath(words.takeFirst());
    // Detached: it inherits the current directory and the terminal, and is
    // neither waited for nor kept.
    return QProcess::startDetached(program, words);
#endif
}

} // namespace platform
