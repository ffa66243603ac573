#pragma once
#include "core/Kit.h"

#include <QString>
#include <QStringList>

// The program run from a build script: the two command lines printed, or a
// compile that is waited for, in the kit, without the window.
namespace cli {

// Exit statuses of a scripted run besides 0 and the compiler's own.
// --check: something would stop a launch.
constexpr int kExitCheckProblem = 1;
constexpr int kExitBadUse = 2;
// A line of the output that the system's code page cannot hold (sysexits'
// "data format error"): it is left out rather than written otherwise.
constexpr int kExitNotHeld = 65;
// A settings file, or a workspace file the run needs, that is there but
// cannot be read (sysexits' "no input").
constexpr int kExitUnreadable = 66;
// Standard output could not take what was to be written (sysexits' "I/O
// error").
constexpr int kExitWriteFailed = 74;
constexpr int kExitNotStarted = 127;

// True when the arguments (the program's name first) ask for a scripted
// run: any argument at all besides Qt's own window options (-platform,
// -style and the like, with one dash or two, with their values). A
// mistyped option then ends with a message instead of opening the window,
// which would wait for a user a build script does not have.
bool isScriptedRun(const QStringList &arguments);

// Carries out the request on the console and returns the exit status. Reads
// the settings and the workspace as the window does; writes neither. Qt's
// window options may stand anywhere among the arguments: with no window
// they mean nothing and are passed over.
int runScripted(const QStringList &arguments, const core::Kit &kit);

} // namespace cli
