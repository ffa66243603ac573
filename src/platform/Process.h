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

// Starts the same way, but the process shares this program's standard input,
// output and error and is waited for. Its exit status, or nothing when it
// could not be started; on Windows the whole 32-bit exit code, bit for bit,
// so that an exception code such as 0xC0000005 can be handed on unchanged.
std::optional<int> runCommandLineAndWait(const QString &commandLine);

} // namespace platform
