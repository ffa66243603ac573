#include "core/KitCheck.h"
#include "core/BatchFormat.h"
#include "core/CommandLines.h"
#include "core/StringTable.h"
#include "core/ToolCheck.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Process.h"
#include "platform/ProgramFile.h"

#include <QDir>
#include <QFileInfo>

namespace core {
namespace {

// A path taken from a folder, as the tools take it: relative ones from
// there, absolute ones as they are.
QString from(const QString &folder, const QString &path)
{
    if (QDir::isAbsolutePath(platform::nativePath(path)))
        return path;
    return folder + QLatin1Char('\\') + path;
}

class Findings
{
public:
    void add(Verdict verdict, const QString &setting, const QString &path, int sentence)
    {
        m_list.append({verdict, setting, path, message(sentence)});
    }
    void add(Verdict verdict, const QString &setting, const QString &path, const QString &sentence)
    {
        m_list.append({verdict, setting, path, sentence});
    }
    QList<KitFinding> list() const { return m_list; }

private:
    QList<KitFinding> m_list;
};

void checkSettingsFile(Findings &f, const Kit &kit, LoadOutcome outcome)
{
    const QString path = platform::systemPath(kit.settingsFile());
    switch (outcome) {
    case LoadOutcome::Missing:
        f.add(Verdict::Fine, kCheckSettingsFile, path, msg::kCheckSettingsMissing);
        break;
    case LoadOutcome::Xml:
        f.add(Verdict::Fine, kCheckSettingsFile, path, msg::kCheckSettingsRead);
        break;
    case LoadOutcome::LineForm:
        f.add(Verdict::Warning, kCheckSettingsFile, path, msg::kCheckSettingsLineForm);
        break;
    case LoadOutcome::XmlWithoutValues:
        f.add(Verdict::Problem, kCheckSettingsFile, path, msg::kCheckSettingsNoValues);
        break;
    case LoadOutcome::Malformed:
    case LoadOutcome::Unreadable:
        f.add(Verdict::Problem, kCheckSettingsFile, path, msg::kCheckSettingsUnread);
        break;
    }
}

// Only a file that is there and gave nothing is worth a line: without one
// the list starts empty, as it does for a new kit.
void checkWorkspaceFile(Findings &f, const Kit &kit, bool unread)
{
    if (unread)
        f.add(Verdict::Problem, kCheckWorkspaceFile, platform::systemPath(kit.workspaceFile()),
              msg::kCheckWorkspaceUnread);
}

// Why the system would not run the program file found, as a sentence id;
// 0 when it would, or when no file was found.
int cannotRunSentence(const platform::ProgramFound &program, const QString &workingDirectory)
{
    const QString file = platform::nativePath(program.path);
    if (!QDir::isAbsolutePath(file) || !QFileInfo(file).isFile())
        return 0;
    switch (platform::programFileKind(file, workingDirectory)) {
    case platform::ProgramFileKind::Runnable:
        return 0;
    case platform::ProgramFileKind::NotExecutable:
        return msg::kCheckNotExecutable;
    case platform::ProgramFileKind::NeitherElfNorScript:
        return msg::kCheckNeitherElfNorScript;
    case platform::ProgramFileKind::InterpreterNotRunnable:
        return msg::kCheckInterpreterNotRunnable;
    case platform::ProgramFileKind::NoProgramImage:
        return msg::kCheckNoProgramImage;
    }
    return 0;
}

// What keeps a tool's start from starting its program, as a sentence id (0:
// nothing does, `missing`: nothing is there), the program's word read from
// the line the start hands the system and found from the folder the tool
// starts in. A quote the value leaves open takes the rest of the line into
// the program's name. path: the file found, or where it was looked for.
int programProblem(const QString &value, const QString &line, const QString &workingDirectory, int missing,
                   QString &path)
{
    bool quoteOpen = false;
    path.clear();
    if (platform::splitWindowsCommandLine(value, &quoteOpen).isEmpty())
        return missing;
    if (quoteOpen) {
        path = value;
        return msg::kCheckProgramQuoteOpen;
    }
    const platform::ProgramFound program = platform::findProgram(line, workingDirectory);
    if (!program.path.isEmpty())
        path = platform::systemPath(program.path);
    if (program.pastBlank)
        return msg::kCheckProgramPastBlank;
    if (const int cannotRun = cannotRunSentence(program, workingDirectory))
        return cannotRun;
    return program.startable ? 0 : missing;
}

void checkProgram(Findings &f, const QString &key, const QString &value, const QString &line,
                  const QString &workingDirectory, int found, int missing)
{
    QString path;
    const int problem = programProblem(value, line, workingDirectory, missing, path);
    f.add(problem ? Verdict::Problem : Verdict::Fine, key, path, problem ? problem : found);
}

// The pieces of a class path as its tool gets them: the word a start makes
// of it on this system (elsewhere than Windows each piece in the system's
// form, joined by ":"), split at the system's own separator.
QStringList classPathPieces(const QString &value, const QString &folder)
{
    using Kind = platform::ToolWord::Kind;
    const platform::ToolLine line{{Kind::Program, QStringLiteral("tool")}, {Kind::ClassPath, value}};
    return platform::systemCommand(line, folder)
        .arguments.join(QLatin1Char(' '))
        .split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

// Every non-empty piece of a class path, from the folder its tool runs in.
void checkPieces(Findings &f, const QString &key, const QString &value, const QString &folder, int there,
                 int missing)
{
    for (const QString &piece : classPathPieces(value, folder)) {
        const QString path = platform::systemPath(from(folder, piece));
        f.add(QFileInfo::exists(path) ? Verdict::Fine : Verdict::Warning, key, path,
              QFileInfo::exists(path) ? there : missing);
    }
}

// As the source pattern matches, where a start expands it: ".java" in that
// case, which is also the only one the compilers take.
bool holdsJavaSources(const QString &folder)
{
    return !QDir(folder).entryList({QStringLiteral("*.java")}, QDir::Files | QDir::CaseSensitive).isEmpty();
}

void checkSources(Findings &f, const Kit &kit, const Settings &settings, const Workspace &workspace)
{
    // The compile line names javapath and the entry joined as they are.
    const QString folder =
        platform::systemPath(from(kit.appPath(), valueAsRead(settings.value(kJavapath) + workspace.selectedEntry())));
    if (workspace.selectedEntry().isEmpty())
        f.add(Verdict::Warning, kJavapath, folder, msg::kCheckNoneSelected);
    else if (holdsJavaSources(folder))
        f.add(Verdict::Fine, kJavapath, folder, msg::kCheckSourcesThere);
    else
        f.add(Verdict::Problem, kJavapath, folder, msg::kCheckNoSources);
}

void checkClassDirectory(Findings &f, const Kit &kit, const Settings &settings)
{
    const QString value = settings.value(kClassDirectory);
    if (value.isEmpty())
        return;
    // Blanks alone, or quotes around nothing, leave "-d" without a folder.
    const QStringList words = platform::splitWindowsArguments(value);
    if (words.isEmpty() || words.contains(QString())) {
        f.add(Verdict::Problem, kClassDirectory, value, msg::kCheckClassesNoWord);
        return;
    }
    const QString path = platform::systemPath(from(kit.appPath(), valueAsRead(value)));
    const QFileInfo info(path);
    if (info.isDir()) {
        f.add(Verdict::Fine, kClassDirectory, path, msg::kCheckClassesThere);
        return;
    }
    if (info.exists()) {
        f.add(Verdict::Problem, kClassDirectory, path, msg::kCheckClassesFileInPlace);
        return;
    }
    // Compile makes one level only, where the system lets it: asked by
    // making it, since a folder's attributes and its access list may each
    // say otherwise. It goes again at once.
    const bool makeable = platform::makeDirectory(path) && QDir().rmdir(path);
    f.add(makeable ? Verdict::Fine : Verdict::Problem, kClassDirectory, path,
          makeable ? msg::kCheckClassesMade : msg::kCheckClassesNotMade);
}

void checkKitFolders(Findings &f, const Kit &kit, const Workspace &workspace)
{
    const QString src = platform::systemPath(kit.SrcDir());
    const bool srcThere = QFileInfo(src).isDir();
    f.add(srcThere ? Verdict::Fine : Verdict::Problem, kCheckSourceRoot, src,
          srcThere ? msg::kCheckSourceRootThere : msg::kCheckSourceRootMissing);
    const QString runtime = platform::systemPath(kit.runtimeDir());
    const bool runtimeThere = QFileInfo(runtime).isDir();
    f.add(runtimeThere ? Verdict::Fine : Verdict::Warning, kCheckRuntimeRoot, runtime,
          runtimeThere ? msg::kCheckRuntimeRootThere : msg::kCheckRuntimeRootMissing);

    bool allThere = true;
    for (const QString &entry : workspace.entries) {
        const QString folder = platform::systemPath(kit.sourceFolder(entry));
        if (!QFileInfo(folder).isDir()) {
            allThere = false;
            f.add(Verdict::Warning, kCheckWorkspace, folder, msg::kCheckEntryMissing);
        }
    }
    if (allThere)
        f.add(Verdict::Fine, kCheckWorkspace, src, msg::kCheckEntriesThere);

    const QString help = platform::systemPath(kit.helpPage());
    const bool helpThere = QFileInfo(help).isFile();
    f.add(helpThere ? Verdict::Fine : Verdict::Warning, kCheckHelpPage, help,
          helpThere ? msg::kCheckHelpThere : msg::kCheckHelpMissing);
}

// A value as its tool reads it from its line: more than one word where an
// unquoted blank splits it, and the rest of the line taken into its last
// word where it leaves a quote open.
void checkWords(Findings &f, const QString &setting, const QString &shownValue, const QStringList &words,
                bool quoteOpen)
{
    if (quoteOpen) {
        f.add(Verdict::Warning, setting, shownValue, msg::kCheckQuoteOpen);
    } else if (words.size() > 1) {
        QStringList quoted;
        for (const QString &word : words)
            quoted << QLatin1Char('"') + word + QLatin1Char('"');
        f.add(Verdict::Warning, setting, shownValue,
              message(msg::kCheckBlank).arg(quoted.join(QStringLiteral(", "))));
    }
}

// The values the lines carry, each read by the rules its place in the line
// follows: the programs' by those of a program's name, the rest as
// arguments. Every entry stands in the editor's package word, the others
// with "\" turned into ".". A program's open quote is its start's problem.
void checkBlanks(Findings &f, const Settings &settings, const Workspace &workspace)
{
    for (const QString &key : kLineSettings) {
        const QString value = settings.value(key);
        bool open = false;
        const bool program = key == kCompiler || key == kJREpath;
        const QStringList words = program ? platform::splitWindowsCommandLine(value, &open)
                                          : platform::splitWindowsArguments(value, &open);
        checkWords(f, key, value, words, open && !program);
    }
    for (int i = 0; i < workspace.entries.size(); ++i) {
        const QString &entry = workspace.entries[i];
        const bool selected = i == workspace.selected;
        bool open = false;
        const QStringList words = platform::splitWindowsArguments(
            selected ? entry : QString(entry).replace(QLatin1Char('\\'), QLatin1Char('.')), &open);
        checkWords(f, selected ? kCheckSelectedEntry : kCheckWorkspace, entry, words, open);
    }
}

// Values that a batch file of the user's own would hand the command
// interpreter as its own: it would join, pipe, redirect or expand there.
void checkBatchCharacters(Findings &f, const Settings &settings, const Workspace &workspace)
{
    const auto check = [&f](const QString &setting, const QString &value) {
        const QString found = batchSpecials(value);
        if (found.isEmpty())
            return;
        QStringList quoted;
        for (const QChar c : found)
            quoted << QLatin1Char('"') + c + QLatin1Char('"');
        f.add(Verdict::Warning, setting, value,
              message(msg::kCheckBatchCharacters).arg(quoted.join(QStringLiteral(", "))));
    };
    for (const QString &key : kLineSettings)
        check(key, settings.value(key));
    for (int i = 0; i < workspace.entries.size(); ++i)
        check(i == workspace.selected ? kCheckSelectedEntry : kCheckWorkspace, workspace.entries[i]);
}

} // namespace

QList<KitFinding> checkKit(const Kit &kit, const Settings &settings, const Workspace &workspace,
                           LoadOutcome settingsFile, bool workspaceFileUnread)
{
    Findings f;
    checkSettingsFile(f, kit, settingsFile);
    checkWorkspaceFile(f, kit, workspaceFileUnread);
    // The compiler starts in the kit folder, the editor in the source root,
    // each from the words its start hands the system (the editor's file
    // changes nothing before the program's name).
    checkProgram(f, kCompiler, settings.value(kCompiler), platform::joinedLine(compileStartWords(settings, workspace)),
                 kit.appPath(), msg::kCheckCompilerThere, msg::kCheckCompilerMissing);
    checkProgram(f, kJREpath, settings.value(kJREpath),
                 platform::joinedLine(editorWords(settings, workspace, QStringLiteral("Editor.fbt"))), kit.SrcDir(),
                 msg::kCheckRuntimeThere, msg::kCheckRuntimeMissing);
    checkPieces(f, kCP, settings.value(kCP), kit.appPath(), msg::kCheckPieceThere, msg::kCheckPieceMissing);
    checkPieces(f, kLibpath, settings.value(kLibpath), kit.SrcDir(), msg::kCheckEditorPieceThere,
                msg::kCheckEditorPieceMissing);
    checkSources(f, kit, settings, workspace);
    checkClassDirectory(f, kit, settings);
    checkKitFolders(f, kit, workspace);
    checkBlanks(f, settings, workspace);
    checkBatchCharacters(f, settings, workspace);
    // The tools themselves, the Java the machine has, and the mends.
    const QList<platform::JavaInstallation> java = platform::findJavaInstallations();
    QList<KitFinding> findings = f.list() + toolFindings(kit, settings, workspace, java);
    attachMends(findings, kit, settings, java);
    return findings;
}

bool programStarts(const QString &value, const QString &workingDirectory)
{
    QString path;
    return programProblem(value, value, workingDirectory, -1, path) == 0;
}

QString verdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Fine:
        return QStringLiteral("fine");
    case Verdict::Warning:
        return QStringLiteral("warning");
    case Verdict::Problem:
        return QStringLiteral("problem");
    }
    return QString();
}

bool anyProblem(const QList<KitFinding> &findings)
{
    for (const KitFinding &finding : findings) {
        if (finding.verdict == Verdict::Problem)
            return true;
    }
    return false;
}

QString settingText(const QString &setting)
{
    static const QList<QPair<QString, int>> kWords = {
        {kCheckSettingsFile, msg::kCheckNameSettingsFile}, {kCheckWorkspaceFile, msg::kCheckNameWorkspaceFile},
        {kCheckWorkspace, msg::kCheckNameWorkspace},       {kCheckSelectedEntry, msg::kCheckNameSelectedEntry},
        {kCheckHelpPage, msg::kCheckNameHelpPage}};
    for (const auto &[name, id] : kWords) {
        if (name == setting)
            return message(id);
    }
    return setting;
}

int optionsTabOf(const QString &setting)
{
    if (setting == kJREpath || setting == kLibpath || setting == kDtPackages)
        return 0;
    if (setting == kCompiler || setting == kCP || setting == kClassDirectory || setting == kJavapath)
        return 1;
    if (setting == kOrganization || setting == kAuthor)
        return 2;
    return -1;
}

} // namespace core
