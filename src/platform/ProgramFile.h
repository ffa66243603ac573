#pragma once
#include <QString>

namespace platform {

// Whether the system can run a file that is there as a program, and if not,
// why: elsewhere it must be executable and an ELF file or a script whose
// "#!" names an interpreter that can run; on Windows a program image (an
// executable, not a library) or a batch file.
enum class ProgramFileKind {
    Runnable,
    NotExecutable,
    NeitherElfNorScript,
    InterpreterNotRunnable,
    NoProgramImage,
};
// workingDirectory: where the program would start, from which a script's
// relative interpreter is found.
ProgramFileKind programFileKind(const QString &nativeFile, const QString &workingDirectory);

} // namespace platform
