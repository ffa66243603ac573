#pragma once
#include <QString>

class MainContext;

namespace ui {

// The "Select a File" chooser; the chosen name without its folder, or empty.
QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName);
// Where the chooser starts: the selected package's folder below the source
// root (the source root itself when nothing is selected).
QString editChooserDirectory(MainContext &ctx);

// Compile: every step is tried and a failing one skipped; a compiler that
// cannot be started is reported in the status panel.
void cmdCompile_Click(MainContext &ctx);
// Open Editor: chooser, then the editor in the source root. A failure after
// the chooser is reported in the status panel.
void cmdEdit_Click(MainContext &ctx);

} // namespace ui
