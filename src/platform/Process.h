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
    // Whether it, or anything it started, still runs: on Windows anything
    // in its job, elsewhere anything in its session (which a process leaves
    // only by making a session of its own).
    bool anythingRunning();
    // Ends it at once, and what it started (its session, its job), even
    // after its own end.
    void stop();
    // Started with its output to a pipe: what has come through it so far,
    // at most maxSize bytes, without waiting. Empty when nothing has.
    QByteArray readOutput(qint64 maxSize);

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

// Where the output of startWithOutputFile goes.
struct OutputFile {
    // A file for it could be made; nothing was started when not.
    bool made = false;
    // The file, as the system names it: the one asked for, or, when the
    // output could not be put in its place, a file beside it.
    QString path;
};

// Starts a command in the current directory without a window of its
// own, its standard output and error going, in the order written, to the
// file at outputPath, which the process writes itself and which outlives
// us; its input is the null device. The file is made anew once the process
// has started: a file already there stays as it was when nothing starts.
// Nothing is started when no file for the output can be made there.
std::unique_ptr<RunningProcess> startWithOutputFile(const SystemCommand &command, const QString &outputPath,
                                                    OutputFile &output);
inline std::unique_ptr<RunningProcess> startWithOutputFile(const QString &commandLine, const QString &outputPath,
                                                           OutputFile &output)
{
    return startWithOutputFile(plainCommand(commandLine), outputPath, output);
}

// The same start with its output going to a pipe that readOutput reads,
// for when no file can be made anywhere. The output is then only ours to
// read: a process that runs on after us may find nobody listening.
std::unique_ptr<RunningProcess> startWithOutputPipe(const SystemCommand &command);

// Opens a file with the program the system opens files of its kind with
// (its extension's on Windows, the desktop's choice elsewhere), without
// waiting. False when nothing could be started.
bool openWithSystem(const QString &path);

} // namespace platform
