#include "cli/ScriptedRun.h"
#include "Version.h"
#include "core/CommandLines.h"
#include "core/CompileSteps.h"
#include "core/KitCheck.h"
#include "core/Packages.h"
#include "core/SettingsFile.h"
#include "core/StringTable.h"
#include "core/WorkspaceFile.h"
#include "platform/Console.h"
#include "platform/DirectoryListing.h"
#include "platform/NativePath.h"
#include "platform/Process.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <optional>
#include <utility>

namespace cli {
namespace {

// Texts of the string table; 1150-1199 are the scripted run's.
enum TextId {
    kUsage = 1150,
    kHint,
    kUnknownOption,
    kValueMissing,
    kValueNotTaken,
    kUnexpectedArgument,
    kNoAction,
    kTwoActions,
    kUnknownKind,
    kFileMissing,
    kFileNotUsed,
    kFileWithFolder,
    kNoExtension,
    kNoSuchPackage,
    kNoneSelected,
    kSettingsUnreadable,
    kNotStarted,
    kRepeated = 1167,
    kWriteFailed,
    kWorkspaceUnreadable,
    kNotHeld,
};

const QString kProgramPrefix = QStringLiteral("TAVO_Starter: ");

int badUse(const QString &message)
{
    platform::writeStandardError(kProgramPrefix + message + QLatin1Char('\n') + core::message(kHint)
                                 + QLatin1Char('\n'));
    return kExitBadUse;
}

int failure(int status, const QString &message)
{
    platform::writeStandardError(kProgramPrefix + message + QLatin1Char('\n'));
    return status;
}

// The answer on standard output, line by line; a script that reads it must
// not take a cut-off answer for a whole one. A line the output's code page
// cannot hold is left out, never written with a stand-in character, and the
// run says how many.
int answer(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    // Every answer ends with a newline.
    lines.removeLast();
    int notHeld = 0;
    for (const QString &line : lines) {
        const platform::Written written = platform::writeStandardOutput(line + QLatin1Char('\n'));
        if (written == platform::Written::Failed)
            return failure(kExitWriteFailed, core::message(kWriteFailed));
        notHeld += int(written == platform::Written::NotHeld);
    }
    if (notHeld > 0)
        return failure(kExitNotHeld, core::message(kNotHeld).arg(notHeld).arg(lines.size()));
    return 0;
}

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("?"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption print{QStringLiteral("print-command"), QString(), QStringLiteral("KIND")};
    QCommandLineOption compile{QStringLiteral("compile")};
    QCommandLineOption check{QStringLiteral("check")};
    QCommandLineOption package{QStringLiteral("package"), QString(), QStringLiteral("NAME")};
    QCommandLineOption file{QStringLiteral("file"), QString(), QStringLiteral("NAME")};
};

// "--name=value" and "-name" both give "name".
QString optionName(const QString &argument)
{
    int start = 0;
    while (start < argument.size() && start < 2 && argument[start] == QLatin1Char('-'))
        ++start;
    return argument.mid(start).section(QLatin1Char('='), 0, 0);
}

bool isOption(const QString &argument)
{
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("--");
}

// Qt's own parse messages are English only; the same faults in our words.
QString parseError(const QCommandLineParser &parser, const Options &options, const QStringList &arguments)
{
    const QStringList given = arguments.mid(1);
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        for (const QString &argument : given) {
            if (isOption(argument) && optionName(argument) == unknown.first())
                return core::message(kUnknownOption).arg(argument.section(QLatin1Char('='), 0, 0));
        }
        return core::message(kUnknownOption).arg(unknown.first());
    }
    // Otherwise a value went wrong: one given with "=" to an option that
    // takes none, or one missing after the last argument.
    const QList<const QCommandLineOption *> flags = {&options.help, &options.version, &options.compile,
                                                     &options.check};
    for (const QString &argument : given) {
        if (argument == QLatin1String("--"))
            break;
        if (!isOption(argument) || !argument.contains(QLatin1Char('=')))
            continue;
        for (const QCommandLineOption *flag : flags) {
            if (flag->names().contains(optionName(argument)))
                return core::message(kValueNotTaken).arg(argument.section(QLatin1Char('='), 0, 0));
        }
    }
    return core::message(kValueMissing).arg(arguments.last());
}

// The folder below the source root that --package names although the
// workspace does not hold the name as given, as the system lists it (on
// Windows its own name, whatever the case typed); nothing when there is
// none.
std::optional<QString> packageFolder(const core::Kit &kit, const QString &name)
{
    if (!core::staysBelowSourceRoot(name))
        return std::nullopt;
    return platform::listedFolder(platform::nativePath(kit.SrcDir()), name);
}

// The entry that names that folder, so that no package stands twice in the
// editor's word; -1 when none does.
int entryOfFolder(const core::Kit &kit, const QStringList &entries, const QString &folder)
{
    const int exact = core::indexOfEntry(entries, folder);
    if (exact >= 0)
        return exact;
    for (int i = 0; i < entries.size(); ++i) {
        if (packageFolder(kit, entries[i]) == folder)
            return i;
    }
    return -1;
}

// Compile's steps, then the compiler on this console, waited for. Its
// status is handed on whole: on Windows an exception code such as
// 0xC0000005 is negative as an int and still the compiler's own.
int compileAndWait(const core::Kit &kit, const core::Settings &settings, const core::Workspace &w)
{
    const core::CompileStart start = core::prepareCompile(kit, settings, w);
    // Its output comes to our own streams; the batch file's redirection
    // would only be more source names to it. The words as started go first,
    // on standard error, since on Linux they are not the kit's text.
    const platform::SystemCommand command = platform::systemCommand(start.started, kit.appPath());
    if (!command.isEmpty())
        platform::writeStandardError(command.line + QLatin1Char('\n'));
    if (const std::optional<int> status = platform::runCommandLineAndWait(command))
        return *status;
    // Nothing ran, so the empty class directory made for it goes again.
    if (!start.madeClassDirectory.isEmpty())
        QDir().rmdir(platform::nativePath(start.madeClassDirectory));
    return failure(kExitNotStarted,
                   core::message(kNotStarted).arg(command.isEmpty() ? platform::joinedLine(start.started) : command.line));
}

// The first option given more than once, by its long name; empty when none.
QString repeatedOption(const QCommandLineParser &parser, const QList<const QCommandLineOption *> &options)
{
    QList<const QCommandLineOption *> seen;
    for (const QString &name : parser.optionNames()) {
        for (const QCommandLineOption *option : options) {
            if (!option->names().contains(name))
                continue;
            if (seen.contains(option))
                return QLatin1String("--") + option->names().last();
            seen.append(option);
        }
    }
    return QString();
}

// Qt's own options for the window, as its application object takes them:
// with one dash or two.
bool isWindowOption(QString argument, bool &takesValue)
{
    if (argument.startsWith(QLatin1String("--")))
        argument.remove(0, 1);
    static const QStringList withValue = {
        QStringLiteral("-platform"),   QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"), QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-geometry"),
        QStringLiteral("-qwindowtitle"), QStringLiteral("-title"),
        QStringLiteral("-qwindowicon"), QStringLiteral("-icon"),
        QStringLiteral("-session"),    QStringLiteral("-style"),
        QStringLiteral("-stylesheet"), QStringLiteral("-qmljsdebugger"),
        QStringLiteral("-display"),    QStringLiteral("-name"),
        QStringLiteral("-visual")};
    static const QStringList flags = {
        QStringLiteral("-reverse"), QStringLiteral("-testability"), QStringLiteral("-widgetcount"),
        QStringLiteral("-nograb"),  QStringLiteral("-dograb")};
    static const QStringList joined = {QStringLiteral("-style="), QStringLiteral("-stylesheet="),
                                       QStringLiteral("-qmljsdebugger=")};
    takesValue = withValue.contains(argument);
    if (takesValue || flags.contains(argument))
        return true;
    for (const QString &prefix : joined) {
        if (argument.startsWith(prefix))
            return true;
    }
    return false;
}

// The arguments less Qt's window options and their values.
QStringList withoutWindowOptions(const QStringList &arguments)
{
    QStringList kept = arguments.mid(0, 1);
    for (int i = 1; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (!isWindowOption(arguments[i], takesValue))
            kept << arguments[i];
        else if (takesValue)
            ++i;
    }
    return kept;
}

// One line a finding: verdict, setting, path and sentence, between tabs.
// Something that would stop a launch ends with 1.
int checkAndReport(const core::Kit &kit, const core::Settings &settings, const core::Workspace &workspace,
                   core::LoadOutcome settingsFile, bool workspaceFileUnread)
{
    const QList<core::KitFinding> findings =
        core::checkKit(kit, settings, workspace, settingsFile, workspaceFileUnread);
    QString text;
    for (const core::KitFinding &f : findings)
        text += core::verdictWord(f.verdict) + QLatin1Char('\t') + f.setting + QLatin1Char('\t') + f.path
            + QLatin1Char('\t') + f.sentence + QLatin1Char('\n');
    const int written = answer(text);
    if (written != 0)
        return written;
    return core::anyProblem(findings) ? kExitCheckProblem : 0;
}

} // namespace

bool isScriptedRun(const QStringList &arguments)
{
    return withoutWindowOptions(arguments).size() > 1;
}

int runScripted(const QStringList &given, const core::Kit &kit)
{
    platform::attachParentConsole();
    const QStringList arguments = withoutWindowOptions(given);

    const Options options;
    QCommandLineParser parser;
    // "-platform" is one unknown option, not -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({options.help, options.version, options.print, options.compile, options.check,
                       options.package, options.file});
    if (!parser.parse(arguments))
        return badUse(parseError(parser, options, arguments));
    // The parser would keep the last value; which one the script meant is
    // anyone's guess.
    const QString repeated = repeatedOption(parser, {&options.help, &options.version, &options.print,
                                                     &options.compile, &options.check, &options.package,
                                                     &options.file});
    if (!repeated.isEmpty())
        return badUse(core::message(kRepeated).arg(repeated));
    if (!parser.positionalArguments().isEmpty())
        return badUse(core::message(kUnexpectedArgument).arg(parser.positionalArguments().first()));

    if (parser.isSet(options.help))
        return answer(core::message(kUsage));
    if (parser.isSet(options.version))
        return answer(QStringLiteral("TAVO Starter " TAVO_VERSION_TEXT "\n"));

    const bool printing = parser.isSet(options.print);
    const bool checking = parser.isSet(options.check);
    const int actions = int(printing) + int(parser.isSet(options.compile)) + int(checking);
    if (actions != 1)
        return badUse(core::message(actions == 0 ? kNoAction : kTwoActions));
    const QString kind = parser.value(options.print);
    const bool editor = kind == QLatin1String("editor");
    if (printing && !editor && kind != QLatin1String("compile"))
        return badUse(core::message(kUnknownKind).arg(kind));
    const QString fileName = parser.value(options.file);
    if (editor != parser.isSet(options.file))
        return badUse(core::message(editor ? kFileMissing : kFileNotUsed));
    if (fileName.contains(QLatin1Char('\\')) || fileName.contains(QLatin1Char('/')))
        return badUse(core::message(kFileWithFolder).arg(fileName));

    // Defaults, then the file: what the Options window starts from. A file
    // that is there but cannot be read (or is broken XML) would give the
    // defaults silently in place of the user's own.
    const QString settingsPath = kit.settingsFile();
    core::Settings settings;
    const core::LoadOutcome settingsFile = core::readSettingsFile(settingsPath, settings);
    // Not a wrong use: the same call works once the file is mended. The
    // check says so itself, among its findings.
    if (core::keptUnread(settingsFile) && !checking)
        return failure(kExitUnreadable, core::message(kSettingsUnreadable).arg(platform::nativePath(settingsPath)));

    // What the main window's list holds once it has loaded the file.
    const core::WorkspaceRead read = core::readWorkspaceFile(kit);
    core::Workspace w = read.workspace;
    if (parser.isSet(options.package)) {
        // Entries keep backslashes; a shell user may well type slashes, and
        // completion ends a folder's name with one.
        QString name = parser.value(options.package);
        name.replace(QLatin1Char('/'), QLatin1Char('\\'));
        while (name.endsWith(QLatin1Char('\\')))
            name.chop(1);
        w.selected = core::indexOfEntry(w.entries, name);
        if (w.selected < 0) {
            // Windows would find "mypkg" for "mypkg."; New makes no such name.
            if (core::packageNameProblem(name) == core::msg::kNameEndsInBlankOrDot)
                return badUse(core::message(core::msg::kNameEndsInBlankOrDot).arg(name));
            const std::optional<QString> folder = packageFolder(kit, name);
            if (!folder)
                return badUse(core::message(kNoSuchPackage).arg(name, platform::nativePath(kit.SrcDir())));
            w.selected = entryOfFolder(kit, w.entries, *folder);
            // Otherwise as a package added to the list and selected there.
            if (w.selected < 0) {
                w.entries.append(*folder);
                w.selected = int(w.entries.size()) - 1;
            }
        }
    } else if (read.fileUnread && !checking) {
        // It may well select one; no selection is no wrong use then.
        return failure(kExitUnreadable,
                       core::message(kWorkspaceUnreadable).arg(platform::nativePath(kit.workspaceFile())));
    } else if (w.selected < 0 && !checking) {
        return badUse(core::message(kNoneSelected));
    }

    if (checking)
        return checkAndReport(kit, settings, w, settingsFile, read.fileUnread);

    if (!printing)
        return compileAndWait(kit, settings, w);
    const QString line = editor ? core::BuildEditorCommand(settings, w, fileName) : core::BuildCompileCommand(settings, w);
    if (line.isEmpty())
        return badUse(core::message(kNoExtension).arg(fileName));
    return answer(line + QLatin1Char('\n'));
}

} // namespace cli
