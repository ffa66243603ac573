#pragma once
#include <QHash>
#include <QString>

class MainContext;

namespace launch {

// The "Select a File" chooser; the chosen name without its folder, or empty.
QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName);
// Where the chooser starts: the selected package's folder below the source
// root (the source root itself when nothing is selected).
QString editChooserDirectory(MainContext &ctx);

// The chooser's filters as one "description|pattern|" string, and the
// 1-based filter that a previous file name preselects.
QString editFileFilter();
int editFilterIndex(const QHash<QString, int> &filterIndexByExtension, const QString &previousName);
// FilterIndexByExtension as the main window fills it when it loads: the
// extension of each of the chooser's first four filters.
QHash<QString, int> filterIndexByExtension();

// Compile: every step is tried and a failing one skipped; a compiler that
// cannot be started is reported in the status panel.
void cmdCompile_Click(MainContext &ctx);
// Open Editor: chooser, then the editor in the source root. A failure after
// the chooser is reported in the status panel.
void cmdEdit_Click(MainContext &ctx);

} // namespace launch
