#pragma once
#include <QString>

namespace platform {

// Starts a command line as a new process in a normal window that takes the
// focus, in the current directory, without waiting for it. Returns false
// when the process could not be started.
bool startCommandLine(const QString &commandLine);

} // namespace platform
