#include "platform/ProgramFile.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {
namespace {

// The kernel follows a script's interpreter through a few scripts at most.
constexpr int kScriptDepth = 4;

ProgramFileKind kindOf(const QString &file, const QString &workingDirectory, int depth)
{
    const QFileInfo info(file);
    if (!info.isFile() || !info.isExecutable())
        return ProgramFileKind::NotExecutable;
    QFile f(file);
    // One we may run but not read is the system's to judge.
    if (!f.open(QIODevice::ReadOnly))
        return ProgramFileKind::Runnable;
    // The kernel reads no more of a "#!" line than this.
    const QByteArray head = f.read(256);
    if (head.startsWith("\x7f" "ELF"))
        return ProgramFileKind::Runnable;
    if (!head.startsWith("#!"))
        return ProgramFileKind::NeitherElfNorScript;
    // The interpreter's name runs from the first character that is no blank
    // to the next blank; a CR of a line ended the DOS way belongs to it.
    const QByteArray line = head.mid(2).split('\n').value(0);
    int start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    int end = start;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t')
        ++end;
    const QByteArray interpreter = line.mid(start, end - start);
    if (interpreter.isEmpty())
        return ProgramFileKind::NeitherElfNorScript;
    const QString path = QDir(workingDirectory).absoluteFilePath(QFile::decodeName(interpreter));
    return depth < kScriptDepth && kindOf(path, workingDirectory, depth + 1) == ProgramFileKind::Runnable
               ? ProgramFileKind::Runnable
               : ProgramFileKind::InterpreterNotRunnable;
}

} // namespace

ProgramFileKind programFileKind(const QString &nativeFile, const QString &workingDirectory)
{
    return kindOf(nativeFile, nativePath(workingDirectory), 0);
}

} // namespace platform
