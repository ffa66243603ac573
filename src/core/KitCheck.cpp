#include "core/KitCheck.h"
#include "core/StringTable.h"
#include "platform/CommandLine.h"
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

// A value taken from a folder, as the tools take it: relative ones from
// there, absolute ones as they are.
QString from(const QString &folder, const QString &value)
{
    const QString native = platform::nativePath(value);
    if (QDir::isAbsolutePath(native))
        return value;
    return folder + QLatin1Char('\\') + value;
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

// The program word of a tool's line, found from the folder the tool is
// started in.
void checkProgram(Findings &f, const QString &key, const QString &value, const QString &workingDirectory,
                  int found, int missing)
{
    const platform::ProgramFound program = platform::findProgram(value, workingDirectory);
    const QString path = program.path.isEmpty() ? QString() : shown(program.path);
    f.add(program.startable ? Verdict::Fine : Verdict::Problem, key, path, program.startable ? found : missing);
}

// Every non-empty piece of a class path, from the folder its tool runs in.
void checkPieces(Findings &f, const QString &key, const QString &value, const QString &folder, int there,
                 int missing)
{
    for (const QString &piece : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
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
    const QString folder = shown(from(kit.appPath(), settings.value(kJavapath) + workspace.selectedEntry()));
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
    const QString path = shown(from(kit.appPath(), value));
    const QFileInfo info(path);
    if (info.isDir()) {
        f.add(Verdict::Fine, kClassDirectory, path, msg::kCheckClassesThere);
        return;
    }
    // Compile makes one level only, in a folder that takes it.
    const QFileInfo parent(info.absolutePath());
    const bool makeable = !info.exists() && parent.isDir() && parent.isWritable();
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

// Values the lines carry unquoted: a blank in one splits it into words.
void checkBlanks(Findings &f, const Settings &settings, const Workspace &workspace)
{
    QList<QPair<QString, QString>> values;
    for (const QString &key : {kCompiler, kCP, kJavapath, kClassDirectory, kJREpath, kLibpath, kDtPackages})
        values.append({key, settings.value(key)});
    values.append({kCheckSelectedEntry, workspace.selectedEntry()});
    for (const auto &[setting, value] : values) {
        if (!value.contains(QLatin1Char(' ')) && !value.contains(QLatin1Char('\t')))
            continue;
        QStringList words;
        for (const QString &word : platform::splitWindowsCommandLine(value))
            words << QLatin1Char('"') + word + QLatin1Char('"');
        f.add(Verdict::Warning, setting, value, message(msg::kCheckBlank).arg(words.join(QStringLiteral(", "))));
    }
}

} // namespace

QList<KitFinding> checkKit(const Kit &kit, const Settings &settings, const Workspace &workspace,
                           LoadOutcome settingsFile)
{
    Findings f;
    checkSettingsFile(f, kit, settingsFile);
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
    return f.list();
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
