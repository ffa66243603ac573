#include "platform/Process.h"

#include "platform/win/WinPlatform.h"

namespace platform {

bool startCommandLine(const QString &commandLine)
{
    // The line goes to the system unchanged; the program and its arguments
    // are the started program's own business.
    return win::startProcess(commandLine.toStdWString());
}

bool startProgram(const QString &program, const QString &arguments)
{
    // The program by name, so that the system does not try "C:\Program.exe"
    // before "C:\Program Files\...\x.exe"; it still sees its own path,
    // quoted, as the first word of its line.
    if (program.isEmpty())
        return false;
    QString line = QLatin1Char('"') + program + QLatin1Char('"');
    if (!arguments.isEmpty())
        line += QLatin1Char(' ') + arguments;
    return win::startProcess(line.toStdWString(), program.toStdWString());
}

std::optional<int> runCommandLineAndWait(const QString &commandLine)
{
    unsigned long code = 0;
    if (!win::runProcessAndWait(commandLine.toStdWString(), code))
        return std::nullopt;
    return static_cast<int>(code);
}

} // namespace platform
