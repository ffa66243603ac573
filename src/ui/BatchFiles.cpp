#include "ui/BatchFiles.h"
#include "core/BatchFormat.h"
#include "core/CommandLines.h"
#include "core/FileFilters.h"
#include "core/StringTable.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "ui/FileDialog.h"
#include "ui/LaunchActions.h"
#include "ui/MainContext.h"

#include <QDir>

namespace ui {
namespace {

using core::BatchFile;

// The one file dialog of the batch-file entries, as a save or an open dialog.
QString askBatchPath(MainContext &ctx, bool save, const QString &statusText)
{
    FileDialogRequest request;
    request.objectName = QStringLiteral("dlgCommonDialog");
    request.filter = core::batchFileFilter();
    request.filterIndex = core::kBatchFileFilterIndex;
    request.save = save;
    ctx.setStatusText(statusText);
    request.initialDirectory = ctx.kit().appPath();
    const QString path = runFileDialog(ctx.mainWidget(), request);
    ctx.setStatusText(QString());
    return path;
}

void exportBatch(MainContext &ctx, BatchFile which)
{
    const QString path =
        askBatchPath(ctx, true,
                     which == BatchFile::Editor ? QStringLiteral("Save Editor.bat") : QStringLiteral("Save Compiler.bat"));
    if (path.isEmpty())
        return;

    if (which == BatchFile::Editor && ctx.workspace().EditFileName.isEmpty()) {
        const QString chosen = SelectEditFile(ctx, editChooserDirectory(ctx), QString());
        if (chosen.isEmpty())
            return;
        core::Workspace w = ctx.workspace();
        w.EditFileName = chosen;
        ctx.setWorkspace(w);
    }

    ctx.setBusy(true);
    ctx.setStatusText(QStringLiteral("Saving..."));

    const core::Workspace w = ctx.workspace();
    const platform::ToolLine line = which == BatchFile::Editor ? core::editorWords(ctx.settings(), w, w.EditFileName)
                                                               : core::compileWords(ctx.settings(), w);
    const std::optional<QByteArray> bytes =
        which == BatchFile::Editor ? core::editorBatchBytes(line) : core::compilerBatchBytes(line);
    // Whole or not at all: an existing batch file is never left half
    // replaced. A writable file in a folder we may not create files in is
    // still ours to replace.
    const bool written = bytes && platform::writeFileWhole(path, *bytes, true);

    ctx.setStatusText(QString());
    ctx.setBusy(false);
    // Whatever was there stays; an old file must not pass for a new one.
    if (written)
        return;
    if (line.isEmpty())
        // Only the editor line can fail to be built: the file name has no
        // extension to cut.
        ctx.setStatusText(core::message(core::msg::kExportNoEditorLine).arg(w.EditFileName));
    else if (!bytes)
        // A line the code page cannot hold would be written as another
        // command.
        ctx.setStatusText(core::message(core::msg::kExportOutsideCodePage));
    else
        ctx.setStatusText(core::message(core::msg::kFileNotSaved).arg(QDir::toNativeSeparators(platform::nativePath(path))));
}

void importBatch(MainContext &ctx, BatchFile which)
{
    const QString path =
        askBatchPath(ctx, false,
                     which == BatchFile::Editor ? QStringLiteral("Load editor.bat") : QStringLiteral("Load compile.bat"));
    if (path.isEmpty())
        return;

    ctx.setBusy(true);
    ctx.setStatusText(QStringLiteral("Loading..."));

    const core::BatchImport result = core::importBatchFile(path, which);
    // Values copied before a failure stay copied.
    for (const auto &value : result.values)
        ctx.setSetting(value.first, value.second);
    if (result.entries) {
        core::Workspace w = ctx.workspace();
        w.entries = *result.entries;
        w.selected = result.selectedIndex;
        ctx.setWorkspace(w);
    }

    ctx.setStatusText(result.complete || which == BatchFile::Compiler ? QString() : QStringLiteral("Error: "));
    ctx.setBusy(false);
    if (result.complete)
        ctx.showOptionsModeless(which == BatchFile::Editor ? 0 : 1);
}

} // namespace

void mnuSaveEdit_Click(MainContext &ctx) { exportBatch(ctx, BatchFile::Editor); }
void mnuSaveCompile_Click(MainContext &ctx) { exportBatch(ctx, BatchFile::Compiler); }
void mnuLoadEditFile_Click(MainContext &ctx) { importBatch(ctx, BatchFile::Editor); }
void mnuLoadCompile_Click(MainContext &ctx) { importBatch(ctx, BatchFile::Compiler); }

} // namespace ui
