#include "core/CommandLines.h"
#include "platform/CommandLine.h"

namespace core {
namespace {

const QLatin1String kBatchTail(" %1 > .\\compile.log");

} // namespace

QString BuildCompileCommand(const Settings &settings, const Workspace &workspace)
{
    QString line = settings.value(kCompiler);
    line += QLatin1Char(' ');
    line += QLatin1String("-Xstdout -classpath");
    line += QLatin1Char(' ');
    line += settings.value(kCP);
    line += QLatin1Char(' ');
    line += settings.value(kJavapath);
    line += workspace.selectedEntry();
    line += QLatin1String("\\*.java");
    const QString classDirectory = settings.value(kClassDirectory);
    if (!classDirectory.isEmpty())
        line += QLatin1String(" -d ") + classDirectory;
    line += kBatchTail;
    return line;
}

QString withoutBatchTail(const QString &compileLine)
{
    return compileLine.endsWith(kBatchTail) ? compileLine.chopped(kBatchTail.size()) : compileLine;
}

QString valueAsRead(const QString &value)
{
    return platform::splitWindowsArguments(value).join(QLatin1Char(' '));
}

QString PackageWord(const Workspace &workspace)
{
    QString word = workspace.selectedEntry() + QLatin1Char(';');
    for (int i = 0; i < workspace.entries.size(); ++i) {
        if (i == workspace.selected)
            continue;
        QString entry = workspace.entries[i];
        entry.replace(QLatin1Char('\\'), QLatin1Char('.'));
        word += entry + QLatin1Char(';');
    }
    return word;
}

QString BuildEditorCommand(const Settings &settings, const Workspace &workspace, const QString &fileName)
{
    const int dot = fileName.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    QString line = settings.value(kJREpath);
    line += QLatin1String(" -cp ");
    line += settings.value(kLibpath);
    line += QLatin1String(" Editor ");
    line += fileName.left(dot);
    line += QLatin1Char(' ');
    line += PackageWord(workspace);
    line += QLatin1Char(' ');
    line += settings.value(kDtPackages);
    return line;
}

} // namespace core
