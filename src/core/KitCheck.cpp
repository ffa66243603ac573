#include "core/KitCheck.h"
#include "core/CommandLines.h"
#include "core/StringTable.h"
#include "core/ToolCheck.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Process.h"

#include <QDir>
#include <QFileInfo>

namespace core {
namespace {

// A path as the user's system writes it, ".." levels resolved.
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(platform::nativePath(path)));
}

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
    const QString path = shown(kit.settingsFile());
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
        f.add(Verdict::Problem, kCheckWorkspaceFile, shown(kit.workspaceFile()), msg::kCheckWorkspaceUnread);
}

// The program word of a tool's line, found from the folder the tool is
// started in.
void checkProgram(Findings &f, const QString &key, const QString &value, const QString &workingDirectory,
                  int found, int missing)
{
    const platform::ProgramFound program = platform::findProgram(value, workingDirectory);
    const QString path = program.path.isEmpty() ? QString() : shown(program.path);
    if (program.pastBlank)
        f.add(Verdict::Problem, key, path, msg::kCheckProgramPastBlank);
    else
        f.add(program.startable ? Verdict::Fine : Verdict::Problem, key, path, program.startable ? found : missing);
}

// Every non-empty piece of a class path, from the folder its tool runs in.
void checkPieces(Findings &f, const QString &key, const QString &value, const QString &folder, int there,
                 int missing)
{
    for (const QString &piece : valueAsRead(value).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString path = shown(from(folder, piece));
        f.add(QFileInfo::exists(path) ? Verdict::Fine : Verdict::Warning, key, path,
              QFileInfo::exists(path) ? there : missing);
    }
}

bool holdsJavaSources(const QString &folder)
{
    return !QDir(folder).entryList({QStringLiteral("*.java")}, QDir::Files).isEmpty();
}

void checkSources(Findings &f, const Kit &kit, const Settings &settings, const Workspace &workspace)
{
    // The compile line names javapath and the entry joined as they are.
    const QString folder =
        shown(from(kit.appPath(), valueAsRead(settings.value(kJavapath) + workspace.selectedEntry())));
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
    const QString path = shown(from(kit.appPath(), valueAsRead(value)));
    const QFileInfo info(path);
    if (info.isDir()) {
        f.add(Verdict::Fine, kClassDirectory, path, msg::kCheckClassesThere);
        return;
    }
    // Compile makes one level only, where the system lets it: asked by
    // making it, since a folder's attributes and its access list may each
    // say otherwise. It goes again at once.
    const bool makeable = !info.exists() && platform::makeDirectory(path) && QDir().rmdir(path);
    f.add(makeable ? Verdict::Fine : Verdict::Problem, kClassDirectory, path,
          makeable ? msg::kCheckClassesMade : msg::kCheckClassesNotMade);
}

void checkKitFolders(Findings &f, const Kit &kit, const Workspace &workspace)
{
    const QString src = shown(kit.SrcDir());
    const bool srcThere = QFileInfo(src).isDir();
    f.add(srcThere ? Verdict::Fine : Verdict::Problem, kCheckSourceRoot, src,
          srcThere ? msg::kCheckSourceRootThere : msg::kCheckSourceRootMissing);
    const QString runtime = shown(kit.runtimeDir());
    const bool runtimeThere = QFileInfo(runtime).isDir();
    f.add(runtimeThere ? Verdict::Fine : Verdict::Warning, kCheckRuntimeRoot, runtime,
          runtimeThere ? msg::kCheckRuntimeRootThere : msg::kCheckRuntimeRootMissing);

    bool allThere = true;
    for (const QString &entry : workspace.entries) {
        const QString folder = shown(kit.sourceFolder(entry));
        if (!QFileInfo(folder).isDir()) {
            allThere = false;
            f.add(Verdict::Warning, kCheckWorkspace, folder, msg::kCheckEntryMissing);
        }
    }
    if (allThere)
        f.add(Verdict::Fine, kCheckWorkspace, src, msg::kCheckEntriesThere);

    const QString help = shown(kit.helpPage());
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
// with "\" turned into ".".
void checkBlanks(Findings &f, const Settings &settings, const Workspace &workspace)
{
    for (const QString &key : {kCompiler, kCP, kJavapath, kClassDirectory, kJREpath, kLibpath, kDtPackages}) {
        const QString value = settings.value(key);
        bool open = false;
        const QStringList words = key == kCompiler || key == kJREpath ? platform::splitWindowsCommandLine(value, &open)
                                                                      : platform::splitWindowsArguments(value, &open);
        checkWords(f, key, value, words, open);
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

} // namespace

QList<KitFinding> checkKit(const Kit &kit, const Settings &settings, const Workspace &workspace,
                           LoadOutcome settingsFile, bool workspaceFileUnread)
{
    Findings f;
    checkSettingsFile(f, kit, settingsFile);
    checkWorkspaceFile(f, kit, workspaceFileUnread);
    // The compiler starts in the kit folder, the editor in the source root.
    checkProgram(f, kCompiler, settings.value(kCompiler), kit.appPath(), msg::kCheckCompilerThere,
                 msg::kCheckCompilerMissing);
    checkProgram(f, kJREpath, settings.value(kJREpath), kit.SrcDir(), msg::kCheckRuntimeThere,
                 msg::kCheckRuntimeMissing);
    checkPieces(f, kCP, settings.value(kCP), kit.appPath(), msg::kCheckPieceThere, msg::kCheckPieceMissing);
    checkPieces(f, kLibpath, settings.value(kLibpath), kit.SrcDir(), msg::kCheckEditorPieceThere,
                msg::kCheckEditorPieceMissing);
    checkSources(f, kit, settings, workspace);
    checkClassDirectory(f, kit, settings);
    checkKitFolders(f, kit, workspace);
    checkBlanks(f, settings, workspace);
    // The tools themselves, the Java the machine has, and the mends.
    const QList<platform::JavaInstallation> java = platform::findJavaInstallations();
    QList<KitFinding> findings = f.list() + toolFindings(kit, settings, workspace, java);
    attachMends(findings, kit, settings, java);
    return findings;
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
