#include "platform/Process.h"
#include "platform/CommandLine.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
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

// The processes of a session that still run (the ended ones that wait to
// be collected left out), from /proc: after the command's name, which is
// in parentheses and may hold anything, come the state, the parent, the
// process group and the session. Nothing when the system has no /proc.
std::vector<pid_t> sessionMembers(pid_t session)
{
    std::vector<pid_t> members;
    DIR *proc = opendir("/proc");
    if (!proc)
        return members;
    while (const dirent *entry = readdir(proc)) {
        char *end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        const int file = ::open(path, O_RDONLY | O_CLOEXEC);
        if (file < 0)
            continue;
        char stat[512];
        const ssize_t size = ::read(file, stat, sizeof stat - 1);
        ::close(file);
        if (size <= 0)
            continue;
        stat[size] = '\0';
        const char *name = std::strrchr(stat, ')');
        char state = 0;
        long parent = 0, group = 0, sid = 0;
        if (name && std::sscanf(name + 1, " %c %ld %ld %ld", &state, &parent, &group, &sid) == 4 && sid == session
            && state != 'Z' && state != 'X')
            members.push_back(pid_t(pid));
    }
    closedir(proc);
    return members;
}

bool haveProc()
{
    return ::access("/proc/self/stat", R_OK) == 0;
}

} // namespace

struct RunningProcess::Native {
    // Also the number of its session and its process group.
    pid_t pid = 0;
    bool reaped = false;
    // The pipe's end we read, for a start with its output to a pipe.
    int output = -1;
};

RunningProcess::RunningProcess(std::unique_ptr<Native> native) : m_native(std::move(native)) {}

RunningProcess::~RunningProcess()
{
    if (m_native->output >= 0)
        ::close(m_native->output);
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

bool RunningProcess::anythingRunning()
{
    if (!poll())
        return true;
    if (haveProc())
        return !sessionMembers(m_native->pid).empty();
    // Without /proc the session cannot be seen; its process group can.
    return ::kill(-m_native->pid, 0) == 0 || errno == EPERM;
}

void RunningProcess::stop()
{
    // Its process group only while it is ours to name: once it is collected
    // and its group empty, the number may belong to someone else.
    if (!m_native->reaped)
        ::kill(-m_native->pid, SIGKILL);
    // What went to a group of its own is still in the session, which keeps
    // its number for as long as anything is in it. What it starts while
    // being ended is caught in the next round.
    for (int round = 0; round < 5; ++round) {
        const std::vector<pid_t> members = sessionMembers(m_native->pid);
        if (members.empty())
            break;
        for (const pid_t member : members)
            ::kill(member, SIGKILL);
    }
}

QByteArray RunningProcess::readOutput(qint64 maxSize)
{
    QByteArray bytes;
    if (m_native->output < 0 || maxSize <= 0)
        return bytes;
    bytes.resize(maxSize);
    qint64 got = 0;
    while (got < maxSize) {
        const ssize_t n = ::read(m_native->output, bytes.data() + got, size_t(maxSize - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

namespace {

// Starts the command with its standard output and error on `output`, its
// input the null device.
pid_t spawnWithOutput(const SystemCommand &command, int output)
{
    SpawnSetup setup;
    // Output and error share one open file, so their lines stay in the
    // order written.
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, output, 1);
    posix_spawn_file_actions_adddup2(&setup.actions, output, 2);
    return spawn(command, setup);
}

std::unique_ptr<RunningProcess> running(pid_t pid, int output = -1)
{
    auto native = std::make_unique<RunningProcess::Native>();
    native->pid = pid;
    native->output = output;
    return std::make_unique<RunningProcess>(std::move(native));
}

} // namespace

std::unique_ptr<RunningProcess> startWatched(const SystemCommand &command)
{
    SpawnSetup setup;
    const pid_t pid = spawn(command, setup);
    return pid > 0 ? running(pid) : nullptr;
}

std::unique_ptr<RunningProcess> startWithOutputFile(const SystemCommand &command, const QString &outputPath,
                                                    OutputFile &output)
{
    // The output goes to a new file beside the one asked for, which takes
    // its place once the program has started: only a start can tell that
    // it starts, and the file it writes must be open by then.
    const QString target = nativePath(outputPath);
    // A file there that may not be written is not replaced either.
    const QByteArray targetName = QFile::encodeName(target);
    if (::access(targetName.constData(), F_OK) == 0 && ::access(targetName.constData(), W_OK) != 0) {
        output = OutputFile{};
        return nullptr;
    }
    QByteArray fresh;
    int file = -1;
    for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
        fresh = targetName + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        file = ::open(fresh.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file < 0 && errno != EEXIST)
            break;
    }
    output = OutputFile{file >= 0, QString()};
    if (file < 0)
        return nullptr;
    const pid_t pid = spawnWithOutput(command, file);
    ::close(file);
    if (pid <= 0) {
        ::unlink(fresh.constData());
        return nullptr;
    }
    // Where it cannot take that place (a folder of that name, another
    // user's file in a shared folder), the output stays where it is.
    output.path = ::rename(fresh.constData(), targetName.constData()) == 0 ? target : QFile::decodeName(fresh);
    return running(pid);
}

std::unique_ptr<RunningProcess> startWithOutputPipe(const SystemCommand &command)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return nullptr;
    const pid_t pid = spawnWithOutput(command, ends[1]);
    ::close(ends[1]);
    if (pid <= 0) {
        ::close(ends[0]);
        return nullptr;
    }
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return running(pid, ends[0]);
}

bool openWithSystem(const QString &path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return !opener.isEmpty() && QProcess::startDetached(opener, {nativePath(path)});
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
