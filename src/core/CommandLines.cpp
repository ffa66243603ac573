#include "core/CommandLines.h"
#include "platform/CommandLine.h"

#include <algorithm>

namespace core {
namespace {

using Kind = platform::ToolWord::Kind;

} // namespace

platform::ToolLine compileWords(const Settings &settings, const Workspace &workspace)
{
    platform::ToolLine line{{Kind::Program, settings.value(kCompiler)},
                            {Kind::Option, QStringLiteral("-Xstdout")},
                            {Kind::Option, QStringLiteral("-classpath")},
                            {Kind::ClassPath, settings.value(kCP)},
                            {Kind::Path, settings.value(kJavapath) + workspace.selectedEntry() + QStringLiteral("\\*.java")}};
    const QString classDirectory = settings.value(kClassDirectory);
    if (!classDirectory.isEmpty())
        line << platform::ToolWord{Kind::Option, QStringLiteral("-d")} << platform::ToolWord{Kind::Path, classDirectory};
    line << platform::ToolWord{Kind::Interpreter, QStringLiteral("%1")}
         << platform::ToolWord{Kind::Interpreter, QStringLiteral(">")}
         << platform::ToolWord{Kind::Interpreter, QStringLiteral(".\\compile.log")};
    return line;
}

QString BuildCompileCommand(const Settings &settings, const Workspace &workspace)
{
    return platform::joinedLine(compileWords(settings, workspace));
}

CompilerKind compilerKind(const QString &compiler)
{
    // The program's word as its line's start-up code reads it.
    QString name = platform::splitWindowsCommandLine(compiler).value(0);
    name = name.mid(std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/'))) + 1);
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    name = name.toLower();
    if (name == QLatin1String("javac"))
        return CompilerKind::Javac;
    if (name == QLatin1String("ecj"))
        return CompilerKind::Ecj;
    if (name == QLatin1String("jikes"))
        return CompilerKind::Jikes;
    return CompilerKind::Unknown;
}

QString compilerKindName(CompilerKind kind)
{
    switch (kind) {
    case CompilerKind::Javac:
        return QStringLiteral("javac");
    case CompilerKind::Ecj:
        return QStringLiteral("ecj");
    case CompilerKind::Jikes:
        return QStringLiteral("jikes");
    case CompilerKind::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

platform::ToolLine compileStartWords(const Settings &settings, const Workspace &workspace)
{
    // ecj passes over -X options it does not know, and a compiler of unknown
    // kind (a wrapper script) keeps the kit's words.
    const bool javac = compilerKind(settings.value(kCompiler)) == CompilerKind::Javac;
    platform::ToolLine started;
    for (const platform::ToolWord &word : compileWords(settings, workspace)) {
        if (word.kind == Kind::Interpreter || (javac && word.text == QLatin1String("-Xstdout")))
            continue;
        started << word;
    }
    return started;
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

platform::ToolLine editorWords(const Settings &settings, const Workspace &workspace, const QString &fileName)
{
    const int dot = fileName.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    return {{Kind::Program, settings.value(kJREpath)},
            {Kind::Option, QStringLiteral("-cp")},
            {Kind::ClassPath, settings.value(kLibpath)},
            {Kind::Argument, QStringLiteral("Editor")},
            {Kind::Argument, fileName.left(dot)},
            {Kind::Argument, PackageWord(workspace)},
            {Kind::Argument, settings.value(kDtPackages)}};
}

QString BuildEditorCommand(const Settings &settings, const Workspace &workspace, const QString &fileName)
{
    return platform::joinedLine(editorWords(settings, workspace, fileName));
}

} // namespace core
