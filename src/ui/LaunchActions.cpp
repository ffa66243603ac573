#include "ui/LaunchActions.h"
#include "core/CommandLines.h"
#include "core/CompileSteps.h"
#include "core/FileFilters.h"
#include "core/StringTable.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "ui/FileDialog.h"
#include "ui/MainContext.h"

#include <QCoreApplication>
#include <algorithm>

namespace ui {
namespace {

// The name part of whatever path the dialog hands back, whichever separator
// it uses.
QString fileNameOf(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

void runPendingEvents()
{
    QCoreApplication::processEvents();
}

} // namespace

QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName)
{
    const int filterIndex = core::editFilterIndex(ctx.filterIndexByExtension(), previousName);
    ctx.setStatusText(QStringLiteral("Select a File"));
    FileDialogRequest request;
    request.objectName = QStringLiteral("dlgEditFileSelect");
    request.filter = core::editFileFilter();
    request.filterIndex = filterIndex;
    request.initialDirectory = initialDirectory;
    request.presetName = previousName;
    // The editor creates a file that does not exist yet.
    request.anyName = true;
    const QString chosen = fileNameOf(runFileDialog(ctx.mainWidget(), request));
    ctx.setStatusText(QString());
    return chosen;
}

QString editChooserDirectory(MainContext &ctx)
{
    return ctx.kit().sourceFolder(ctx.workspace().selectedEntry());
}

void cmdCompile_Click(MainContext &ctx)
{
    const QString line = core::prepareCompile(ctx.kit(), ctx.settings(), ctx.workspace()).line;
    runPendingEvents();
    if (!platform::startCommandLine(line))
        ctx.setStatusText(core::message(core::msg::kCompileNotStarted));
    runPendingEvents();
}

void cmdEdit_Click(MainContext &ctx)
{
    core::Workspace w = ctx.workspace();
    const QString name = SelectEditFile(ctx, editChooserDirectory(ctx), w.EditFileName);
    if (name.isEmpty())
        return;
    w = ctx.workspace();
    w.EditFileName = name;
    ctx.setWorkspace(w);
    const QString line = core::BuildEditorCommand(ctx.settings(), w, name);
    if (line.isEmpty()) {
        ctx.setStatusText(core::message(core::msg::kEditNoExtension));
        return;
    }
    // Relative paths in the editor's settings resolve against the source
    // root; started anywhere else it would not find its runtime.
    if (!platform::changeDirectory(ctx.kit().SrcDir())) {
        ctx.setStatusText(core::message(core::msg::kEditNoSourceRoot));
        return;
    }
    if (!platform::startCommandLine(line))
        ctx.setStatusText(core::message(core::msg::kEditNotStarted));
    runPendingEvents();
}

} // namespace ui
