#pragma once
// The kit check: which setting points at nothing, before a launch fails.
// Each finding concerns one setting (or one part of the kit), names the
// path it resolved, and says in one sentence, in the user's language, what
// was found. It reads the disk and leaves it as it was.
#include "core/Kit.h"
#include "core/KitMend.h"
#include "core/Settings.h"
#include "core/SettingsFile.h"
#include "core/Workspace.h"

#include <QList>
#include <QString>

namespace core {

enum class Verdict { Fine, Warning, Problem };

struct KitFinding {
    Verdict verdict = Verdict::Fine;
    // A setting's key, or one of the names below for what is no setting.
    QString setting;
    // The path the check resolved, in the system's form; for a value with a
    // blank, the value itself.
    QString path;
    QString sentence;
    // What Check Kit offers to set it right, if anything.
    QList<KitMend> mends = {};
};

// What the findings that concern no single setting are about.
inline const QString kCheckSettingsFile = QStringLiteral("settings file");
inline const QString kCheckWorkspaceFile = QStringLiteral("workspace file");
inline const QString kCheckSourceRoot = QStringLiteral("src");
inline const QString kCheckRuntimeRoot = QStringLiteral("lib\\fb\\rt");
inline const QString kCheckWorkspace = QStringLiteral("workspace");
inline const QString kCheckSelectedEntry = QStringLiteral("selected entry");
inline const QString kCheckHelpPage = QStringLiteral("help page");

// Every check, in a fixed order: the settings and workspace files, the
// compiler and the Java runtime as their starts would find them (read from
// their lines, and a file the system would not run is a problem), the
// pieces of both class paths, the selected package's sources and the class
// folder, the kit's folders and help page, each value that a blank would
// split or that leaves a quote open, and each that a batch file's command
// interpreter would take for its own. Values are taken as their tools read
// them from the lines, quotes removed. settingsFile is what reading the
// settings file found; workspaceFileUnread, that the workspace file is there
// but gave no entry. Reads the disk; the only thing it makes, a missing
// class folder to learn whether Compile could, it removes again at once.
QList<KitFinding> checkKit(const Kit &kit, const Settings &settings, const Workspace &workspace,
                           LoadOutcome settingsFile, bool workspaceFileUnread);

// Whether a tool started from that folder with this program value would
// start a program: one is there, the system can run it, and the value
// leaves no quote open and is not read past an unquoted blank. Where not,
// the check's finding for the setting says why.
bool programStarts(const QString &value, const QString &workingDirectory);

// "fine", "warning" or "problem": the word a script reads.
QString verdictWord(Verdict verdict);
bool anyProblem(const QList<KitFinding> &findings);

// The Setting column's word for a finding's setting: a setting's key as it
// is (the Options dialog's own label), a folder's name as it is, the others
// in the user's language. A script reads the setting itself.
QString settingText(const QString &setting);

// The tab of the Options dialog a finding's setting is edited on (0
// "Editor", 1 "Compiler", 2 "Properties"), or -1 when it has none.
int optionsTabOf(const QString &setting);

} // namespace core
