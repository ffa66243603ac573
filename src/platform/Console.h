#pragma once
#include <QString>

namespace platform {

// A program built for the Windows window subsystem starts without a console;
// this connects its standard output and error to the console of whoever
// started it, when there is one. Elsewhere they are connected already.
void attachParentConsole();

enum class Written {
    All,
    // Not all of it: a full disk, a closed pipe, nothing to write to.
    Failed,
    // Nothing: a file or pipe takes the interpreter's code page, which has
    // no place for a character of it; a "?" or a look-alike would be
    // another name to whoever reads it.
    NotHeld,
};

// Text for standard output and standard error: on a Windows console as
// text, otherwise in the command interpreter's code page.
Written writeStandardOutput(const QString &text);
Written writeStandardError(const QString &text);

} // namespace platform
