#pragma once
#include "platform/ToolLine.h"

#include <QString>

#include <memory>
#include <optional>

namespace platform {

// Starts a command as a new process in a normal window that takes the
// focus, in the current directory, without waiting for it. Returns false
// when the process could not be started. A line given as text is a plain
// one: its first word the program, the rest handed on as written.
bool startCommandLine(const SystemCommand &command);
inline bool startCommandLine(const QString &commandLine)
{
    return startCommandLine(plainCommand(commandLine));
}

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
std::optional<int> runCommandLineAndWait(const SystemCommand &command);

// How a watched process ended: its exit status (on Windows all 32 bits),
// the signal that ended it (elsewhere), or the exception code of a crash
// (Windows: a status in the system's error range, such as 0xC0000005).
struct ProcessEnd {
    enum class Kind { Exited, Signalled, Crashed };
    Kind kind = Kind::Exited;
    quint32 code = 0;
    // The signal's name ("SIGSEGV"), where signals end processes.
    QString signalName;
};

// A process started by us and watched without waiting: its end is asked
// for, never waited for. Dropping it forgets the process, which is neither
// waited for nor ended by that, and leaves no zombie behind.
class RunningProcess
{
public:
    struct Native;
    explicit RunningProcess(std::unique_ptr<Native> native);
    ~RunningProcess();
    RunningProcess(const RunningProcess &) = delete;
    RunningProcess &operator=(const RunningProcess &) = delete;

    // Nothing while it runs; how it ended once it has, each time asked.
    std::optional<ProcessEnd> poll();
    // Ends it at once, and what it started (its process group, its job).
    void stop();

private:
    std::unique_ptr<Native> m_native;
    std::optional<ProcessEnd> m_end;
};

// Starts a command as startCommandLine does (a normal window, the current
// directory, the standard handles shared), but watched.
std::unique_ptr<RunningProcess> startWatched(const SystemCommand &command);
inline std::unique_ptr<RunningProcess> startWatched(const QString &commandLine)
{
    return startWatched(plainCommand(commandLine));
}

// Starts a command in the current directory without a window of its
// own, its standard output and error going, in the order written, to the
// file at outputPath (made anew or emptied), which the process writes
// itself and which outlives us; its input is the null device. Nothing is
// started when that file cannot be made: outputMade is false then.
std::unique_ptr<RunningProcess> startWithOutputFile(const SystemCommand &command, const QString &outputPath,
                                                    bool &outputMade);
inline std::unique_ptr<RunningProcess> startWithOutputFile(const QString &commandLine, const QString &outputPath,
                                                           bool &outputMade)
{
    return startWithOutputFile(plainCommand(commandLine), outputPath, outputMade);
}

} // namespace platform
