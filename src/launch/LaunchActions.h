#pragma once
#include <QHash>
#include <QString>

class MainContext;

namespace launch {

// The "Select a File" chooser; the chosen name without its folder, or empty.
QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName);

// The chooser's filters as one "description|pattern|" string, and the
// 1-based filter that a previous file name preselects.
QString editFileFilter();
int editFilterIndex(const QHash<QString, int> &filterIndexByExtension, const QString &previousName);

// Compile: every step is tried, a failing one is skipped, nothing is shown.
void cmdCompile_Click(MainContext &ctx);
// Open Editor: chooser, then the editor in the source root. A failure after
// the chooser is reported in the status panel.
void cmdEdit_Click(MainContext &ctx);

// Status texts of Open Editor when a step after the chooser fails.
inline const QString kEditNoExtension = QStringLiteral("Open Editor: the file name has no extension");
inline const QString kEditNoSourceRoot = QStringLiteral("Open Editor: cannot enter the source folder");
inline const QString kEditNotStarted = QStringLiteral("Open Editor: the editor could not be started");

} // namespace launch
