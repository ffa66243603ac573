#pragma once
#include <QString>

namespace platform {

// Starts a command line as a new process in a normal window that takes the
// focus, in the current directory, without waiting for it. Returns false
// when the process could not be started.
bool startCommandLine(const QString &commandLine);

// Starts the same way, but the process shares this program's standard input,
// output and error and is waited for. Returns its exit status, or -1 when it
// could not be started.
int runCommandLineAndWait(const QString &commandLine);

} // namespace platform
