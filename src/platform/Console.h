#pragma once
#include <QString>

namespace platform {

// A program built for the Windows window subsystem starts without a console;
// this connects its standard output and error to the console of whoever
// started it, when there is one. Elsewhere they are connected already.
void attachParentConsole();

// Text for standard output and standard error: on a Windows console as
// text, otherwise in the system's 8-bit encoding. False when it could not
// all be written (a full disk, a closed pipe, nothing to write to).
bool writeStandardOutput(const QString &text);
bool writeStandardError(const QString &text);

} // namespace platform
