#pragma once
#include <QString>

namespace platform {

// A program built for the Windows window subsystem starts without a console;
// this connects its standard output and error to the console of whoever
// started it, when there is one. Elsewhere they are connected already.
void attachParentConsole();

// Text for standard output and standard error, in the system's encoding.
void writeStandardOutput(const QString &text);
void writeStandardError(const QString &text);

} // namespace platform
