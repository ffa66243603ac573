#include "platform/Process.h"
#include "platform/CommandLine.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace platform {
namespace {

// posix_spawn's file actions and attributes, released whatever happens.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
        // A session of its own, as a detached start gives: the terminal's
        // signals and hang-up do not reach it, and its process group is
        // the one Stop ends. Signals as a fresh program has them.
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

// Starts the command's program with its words, no shell in between; 0 when
// it could not be.
pid_t spawn(const SystemCommand &command, SpawnSetup &setup)
{
    if (command.isEmpty())
        return 0;
    std::vector<QByteArray> words{QFile::encodeName(command.program)};
    for (const QString &argument : command.arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    // posix_spawnp: a bare name is looked up on PATH, a name with a folder
    // taken from the current directory; a file that cannot be run is
    // refused here, not by a child that then ends.
    if (posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ) != 0)
        return 0;
    return pid;
}

} // namespace

struct RunningProcess::Native {
    pid_t pid = 0;
    bool reaped = false;
};

RunningProcess::RunningProcess(std::unique_ptr<Native> native) : m_native(std::move(native)) {}

RunningProcess::~RunningProcess()
{
    if (m_native->reaped)
        return;
    // Forgotten, not ended: a thread of its own collects its end whenever
    // that comes, so that no zombie stays behind; at our exit it simply
    // goes with us and the process runs on.
    const pid_t pid = m_native->pid;
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

std::optional<ProcessEnd> RunningProcess::poll()
{
    if (m_end || m_native->reaped)
        return m_end;
    int status = 0;
    const pid_t done = waitpid(m_native->pid, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR))
        return std::nullopt;
    m_native->reaped = true;
    ProcessEnd end;
    if (done > 0 && WIFSIGNALED(status)) {
        end.kind = ProcessEnd::Kind::Signalled;
        end.code = quint32(WTERMSIG(status));
        if (const char *name = sigabbrev_np(WTERMSIG(status)))
            end.signalName = QStringLiteral("SIG") + QString::fromLatin1(name);
    } else if (done > 0 && WIFEXITED(status)) {
        end.code = quint32(WEXITSTATUS(status));
    }
    m_end = end;
    return m_end;
}

void RunningProcess::stop()
{
    // Only while it is ours to name: once collected, its number may belong
    // to someone else.
    if (!m_native->reaped)
        ::kill(-m_native->pid, SIGKILL);
}

std::unique_ptr<RunningProcess> startWatched(const SystemCommand &command)
{
    SpawnSetup setup;
    const pid_t pid = spawn(command, setup);
    if (pid <= 0)
        return nullptr;
    auto native = std::make_unique<RunningProcess::Native>();
    native->pid = pid;
    return std::make_unique<RunningProcess>(std::move(native));
}

std::unique_ptr<RunningProcess> startWithOutputFile(const SystemCommand &command, const QString &outputPath,
                                                    bool &outputMade)
{
    const QByteArray path = QFile::encodeName(nativePath(outputPath));
    const int output = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    outputMade = output >= 0;
    if (!outputMade)
        return nullptr;
    SpawnSetup setup;
    // Output and error share one open file, so their lines stay in the
    // order written.
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, output, 1);
    posix_spawn_file_actions_adddup2(&setup.actions, output, 2);
    const pid_t pid = spawn(command, setup);
    ::close(output);
    if (pid <= 0)
        return nullptr;
    auto native = std::make_unique<RunningProcess::Native>();
    native->pid = pid;
    return std::make_unique<RunningProcess>(std::move(native));
}

bool startCommandLine(const SystemCommand &command)
{
    if (command.isEmpty())
        return false;
    // Detached: it inherits the current directory and the terminal, and is
    // neither waited for nor kept.
    return QProcess::startDetached(command.program, command.arguments);
}

bool startProgram(const QString &program, const QString &arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(nativePath(program), splitWindowsCommandLine(arguments));
}

ProgramFound findProgram(const QString &commandLine, const QString &workingDirectory)
{
    const QString program = nativePath(splitWindowsCommandLine(commandLine).value(0));
    if (program.isEmpty())
        return {};
    // A bare name is looked up on PATH, as starting it would.
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        return {found.isEmpty() ? program : found, !found.isEmpty()};
    }
    const QString path = QDir::cleanPath(QDir(nativePath(workingDirectory)).absoluteFilePath(program));
    const QFileInfo file(path);
    return {path, file.isFile() && file.isExecutable()};
}

std::optional<int> runCommandLineAndWait(const SystemCommand &command)
{
    if (command.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(command.program, command.arguments);
    if (!process.waitForStarted(-1))
        return std::nullopt;
    process.waitForFinished(-1);
    // A process ended by a signal has no status of its own; report it as a
    // shell does. Qt keeps the signal's number as the exit code then.
    if (process.exitStatus() == QProcess::CrashExit)
        return 128 + process.exitCode();
    return process.exitCode();
}

} // namespace platform
