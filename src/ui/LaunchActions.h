#pragma once
#include <QString>

class MainContext;

namespace ui {

// The "Select a File" chooser; the chosen name without its folder, or empty.
QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName);
// Where the chooser starts: the selected package's folder below the source
// root (the source root itself when nothing is selected).
QString editChooserDirectory(MainContext &ctx);

// Compile: every step is tried and a failing one skipped; the compiler runs
// with its output shown in the "Compile" window, which also says how it
// ended (as does the status panel, in one line). While it runs, the window
// comes to the front instead.
void cmdCompile_Click(MainContext &ctx);
// The "Compile" window with the last compile's results, as it was left,
// without compiling again; false when there has been no compile.
bool showCompileResults(MainContext &ctx);
// The "Compile" window, for the main window's unload: closed without ending
// a compile that still runs.
bool compileWindowLoaded(MainContext &ctx);
void unloadCompileWindow(MainContext &ctx);
// Open Editor: chooser, then the editor in the source root. A failure after
// the chooser, or an editor that ends at once with a status other than 0,
// is reported in the status panel.
void cmdEdit_Click(MainContext &ctx);

} // namespace ui
