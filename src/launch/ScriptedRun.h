#pragma once
#include <QString>
#include <QStringList>

// The program run from a build script: the two command lines printed, or a
// compile that is waited for, in the kit at appPath, without the window.
namespace launch {

// Exit statuses of a scripted run besides 0 and the compiler's own.
constexpr int kExitBadUse = 2;
constexpr int kExitNotStarted = 127;

// True when the arguments (the program's name first) ask for a scripted
// run: any of them starts with "--", or is -h, -v or -?. Qt's own options,
// such as -platform, leave the program to its window.
bool isScriptedRun(const QStringList &arguments);

// Carries out the request on the console and returns the exit status. Reads
// the settings and the workspace as the window does; writes neither.
int runScripted(const QStringList &arguments, const QString &appPath);

} // namespace launch
