#include "platform/Process.h"

#include "platform/win/WinPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <windows.h>

namespace platform {

bool startCommandLine(const SystemCommand &command)
{
    // The line goes to the system unchanged; the program and its arguments
    // are the started program's own business.
    return !command.isEmpty() && win::startProcess(command.line.toStdWString());
}

struct RunningProcess::Native {
    win::KeptProcess kept;
    // Our end of its output pipe, for a start with its output to a pipe.
    void *output = nullptr;
};

RunningProcess::RunningProcess(std::unique_ptr<Native> native) : m_native(std::move(native)) {}

RunningProcess::~RunningProcess()
{
    // Its handles go, the process runs on; its job has no say in that.
    win::releaseProcess(m_native->kept);
    if (m_native->output)
        CloseHandle(m_native->output);
}

std::optional<ProcessEnd> RunningProcess::poll()
{
    unsigned long code = 0;
    if (m_end || !win::processEnded(m_native->kept, code))
        return m_end;
    ProcessEnd end;
    end.code = quint32(code);
    // A status in the system's error range (0xC0000005, an access
    // violation), or a breakpoint, is the exception that ended it: no
    // program ends itself with one.
    if ((end.code & 0xF0000000u) == 0xC0000000u || end.code == 0x80000003u)
        end.kind = ProcessEnd::Kind::Crashed;
    m_end = end;
    return m_end;
}

bool RunningProcess::anythingRunning()
{
    return win::jobRunning(m_native->kept);
}

void RunningProcess::stop()
{
    // The job's handle is ours: what it holds can be ended after the
    // process's own end too.
    win::stopProcess(m_native->kept);
}

QByteArray RunningProcess::readOutput(qint64 maxSize)
{
    if (!m_native->output || maxSize <= 0)
        return QByteArray();
    const std::string bytes = win::readAvailable(m_native->output, std::size_t(maxSize));
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

namespace {

std::unique_ptr<RunningProcess> running(const win::KeptProcess &kept, void *output = nullptr)
{
    auto native = std::make_unique<RunningProcess::Native>();
    native->kept = kept;
    native->output = output;
    return std::make_unique<RunningProcess>(std::move(native));
}

} // namespace

std::unique_ptr<RunningProcess> startWatched(const SystemCommand &command)
{
    win::KeptProcess kept;
    if (command.isEmpty() || !win::startKeptProcess(command.line.toStdWString(), kept))
        return nullptr;
    return running(kept);
}

std::unique_ptr<RunningProcess> startWithOutputFile(const SystemCommand &command, const QString &outputPath,
                                                    OutputFile &output)
{
    const std::wstring path = QDir::toNativeSeparators(outputPath).toStdWString();
    bool existed = false;
    void *file = win::createOutputFile(path, existed);
    output = OutputFile{file != nullptr, QDir::toNativeSeparators(outputPath)};
    if (!file)
        return nullptr;
    win::KeptProcess kept;
    // The file is emptied by the start, once the process exists.
    const bool started = !command.isEmpty() && win::startWithOutput(command.line.toStdWString(), file, true, kept);
    // The child has its own handle now.
    CloseHandle(file);
    if (!started) {
        // Nothing was written: a file that was there stays as it was, one
        // made for this start goes again.
        if (!existed)
            DeleteFileW(win::longPathForm(path).c_str());
        return nullptr;
    }
    return running(kept);
}

std::unique_ptr<RunningProcess> startWithOutputPipe(const SystemCommand &command)
{
    void *childEnd = nullptr;
    void *ourEnd = nullptr;
    if (command.isEmpty() || !win::createOutputPipe(childEnd, ourEnd))
        return nullptr;
    win::KeptProcess kept;
    const bool started = win::startWithOutput(command.line.toStdWString(), childEnd, false, kept);
    // Only the child writes into it: its end is gone once the child is.
    CloseHandle(childEnd);
    if (!started) {
        CloseHandle(ourEnd);
        return nullptr;
    }
    return running(kept, ourEnd);
}

bool openWithSystem(const QString &path)
{
    return !path.isEmpty() && win::openDocument(QDir::toNativeSeparators(path).toStdWString());
}

bool startProgram(const QString &program, const QString &arguments)
{
    // The program by name, so that the system does not try "C:\Program.exe"
    // before "C:\Program Files\...\x.exe"; it still sees its own path,
    // quoted, as the first word of its line.
    if (program.isEmpty())
        return false;
    QString line = QLatin1Char('"') + program + QLatin1Char('"');
    if (!arguments.isEmpty())
        line += QLatin1Char(' ') + arguments;
    return win::startProcess(line.toStdWString(), program.toStdWString());
}

namespace {

QString systemFolder(UINT (WINAPI *get)(LPWSTR, UINT))
{
    wchar_t buffer[MAX_PATH + 1];
    const UINT length = get(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? QString::fromWCharArray(buffer, int(length)) : QString();
}

// ".exe" is added to a last level without an extension.
QString withExtension(const QString &program)
{
    const QString last = program.section(QRegularExpression(QStringLiteral("[\\\\/]")), -1);
    return last.contains(QLatin1Char('.')) ? program : program + QStringLiteral(".exe");
}

// A name with a folder is taken from the working directory only.
bool hasFolder(const QString &program)
{
    return program.contains(QLatin1Char('\\')) || program.contains(QLatin1Char('/'));
}

// A program name taken from a folder, as a path with "/" between levels.
QString inFolder(const QString &folder, const QString &program)
{
    return QDir::cleanPath(QDir(QDir::fromNativeSeparators(folder)).absoluteFilePath(QDir::fromNativeSeparators(program)));
}

// One name as CreateProcess looks for it; empty when it is nowhere.
QString searchProgram(const QString &name, const QString &workingDirectory)
{
    const QString program = withExtension(name);
    QStringList folders;
    if (hasFolder(program)) {
        folders << workingDirectory;
    } else {
        folders << QCoreApplication::applicationDirPath() << workingDirectory << systemFolder(GetSystemDirectoryW)
                << systemFolder(GetWindowsDirectoryW);
        folders += qEnvironmentVariable("PATH").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    for (const QString &folder : folders) {
        const QString path = folder.isEmpty() ? QString() : inFolder(folder, program);
        if (!path.isEmpty() && QFileInfo(path).isFile())
            return QDir::toNativeSeparators(path);
    }
    return QString();
}

} // namespace

ProgramFound findProgram(const QString &commandLine, const QString &workingDirectory)
{
    const QString line = commandLine.trimmed();
    if (line.isEmpty())
        return {};
    // A quoted program is the quoted text; an unquoted one is tried up to
    // each blank, shortest first, the first file found winning.
    QStringList candidates;
    if (line.startsWith(QLatin1Char('"'))) {
        candidates << line.mid(1).section(QLatin1Char('"'), 0, 0);
    } else {
        for (int blank = line.indexOf(QLatin1Char(' ')); blank > 0; blank = line.indexOf(QLatin1Char(' '), blank + 1))
            candidates << line.left(blank);
        candidates << line;
    }
    ProgramFound program;
    for (int i = 0; i < candidates.size(); ++i) {
        const QString found = searchProgram(candidates[i], workingDirectory);
        if (found.isEmpty())
            continue;
        if (!program.startable)
            program = {found, true, false};
        // The program's own start-up code ends its name at the first blank.
        if (i > 0) {
            program.pastBlank = true;
            return program;
        }
    }
    if (program.startable)
        return program;
    const QString first = withExtension(candidates.first());
    return {hasFolder(first) ? QDir::toNativeSeparators(inFolder(workingDirectory, first)) : first, false};
}

std::optional<int> runCommandLineAndWait(const SystemCommand &command)
{
    unsigned long code = 0;
    if (command.isEmpty() || !win::runProcessAndWait(command.line.toStdWString(), code))
        return std::nullopt;
    return static_cast<int>(code);
}

} // namespace platform
