#pragma once
#include <QString>

#include <optional>

namespace platform {

// Starts a command line as a new process in a normal window that takes the
// focus, in the current directory, without waiting for it. Returns false
// when the process could not be started.
bool startCommandLine(const QString &commandLine);

// Starts the program at this path (not searched for, blanks and all), with
// the arguments after it as one more piece of command line, the same way.
bool startProgram(const QString &program, const QString &arguments);

// Where a command line leads when it is started from workingDirectory: the
// program file and whether it would start. Windows searches as CreateProcess
// does: an unquoted line is tried up to each blank in turn; a name with a
// folder is taken from the working directory, a bare name from this
// program's own folder, the working directory, the system folders and then
// PATH; ".exe" is added to a name without an extension. Elsewhere the first
// word is the program (Windows' rules split the line): a name with a folder
// from the working directory, a bare name from PATH, and the file must be
// executable. When nothing is found, the path is where the first word points.
// On Windows pastBlank tells that a file lies at the line read past an
// unquoted blank: whichever file the system then starts, the one meant
// would take the rest of its own name for arguments, or another one starts.
struct ProgramFound {
    QString path;
    bool startable = false;
    bool pastBlank = false;
};
ProgramFound findProgram(const QString &commandLine, const QString &workingDirectory);

// Starts the same way, but the process shares this program's standard input,
// output and error and is waited for. Its exit status, or nothing when it
// could not be started; on Windows the whole 32-bit exit code, bit for bit,
// so that an exception code such as 0xC0000005 can be handed on unchanged.
std::optional<int> runCommandLineAndWait(const QString &commandLine);

} // namespace platform
