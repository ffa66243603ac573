#include "launch/BatchFiles.h"
#include "app/FileDialog.h"
#include "app/MainContext.h"
#include "app/StringTable.h"
#include "launch/BatchFormat.h"
#include "launch/CommandLines.h"
#include "launch/LaunchActions.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "settings/SettingsAccess.h"
#include "workspace/SourceList.h"

#include <QFile>
#include <QListWidget>

namespace launch {
namespace {

enum class Batch { Editor, Compiler };

// The one file dialog of the batch-file entries, as a save or an open dialog.
QString askBatchPath(MainContext &ctx, bool save, const QString &statusText)
{
    app::FileDialogRequest request;
    request.objectName = QStringLiteral("dlgCommonDialog");
    request.filter = QStringLiteral("all (*.*)|*.*|") + QStringLiteral("*.bat|*.bat");
    request.filterIndex = 2;
    request.save = save;
    ctx.setStatusText(statusText);
    request.initialDirectory = ctx.appPath();
    const QString path = app::runFileDialog(ctx.mainWidget(), request);
    ctx.setStatusText(QString());
    return path;
}

void exportBatch(MainContext &ctx, Batch which)
{
    const QString path =
        askBatchPath(ctx, true,
                     which == Batch::Editor ? QStringLiteral("Save Editor.bat") : QStringLiteral("Save Compiler.bat"));
    if (path.isEmpty())
        return;

    QListWidget *list = ctx.sourceList();
    if (which == Batch::Editor && ctx.editFileName().isEmpty()) {
        const QString chosen = SelectEditFile(ctx, editChooserDirectory(ctx), ctx.editFileName());
        if (chosen.isEmpty())
            return;
        ctx.setEditFileName(chosen);
    }

    ctx.setBusy(true);
    ctx.setStatusText(QStringLiteral("Saving..."));

    const QStringList entries = workspace::entries(list);
    const int selected = workspace::selectedIndex(list);
    const QString line = which == Batch::Editor
        ? BuildEditorCommand(ctx.settings(), entries, selected, ctx.editFileName())
        : BuildCompileCommand(ctx.settings(), entries, selected);
    const bool lineBuilt = !line.isEmpty();
    const std::optional<QByteArray> bytes = which == Batch::Editor ? editorBatchBytes(line) : compilerBatchBytes(line);
    // No line, or a refused write: nothing to report, the file stays as it was.
    if (bytes)
        // Whole or not at all: an existing batch file is never left half
        // replaced. A writable file in a folder we may not create files in is
        // still ours to replace.
        platform::writeFileWhole(path, *bytes, true);

    ctx.setStatusText(QString());
    ctx.setBusy(false);
    // A line the code page cannot hold would be written as another command.
    if (!bytes && lineBuilt)
        ctx.setStatusText(app::message(app::msg::kExportOutsideCodePage));
}

void importBatch(MainContext &ctx, Batch which)
{
    const QString path =
        askBatchPath(ctx, false,
                     which == Batch::Editor ? QStringLiteral("Load editor.bat") : QStringLiteral("Load compile.bat"));
    if (path.isEmpty())
        return;

    ctx.setBusy(true);
    ctx.setStatusText(QStringLiteral("Loading..."));

    BatchImport result;
    QFile file(platform::nativePath(path));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            result = which == Batch::Editor ? importEditorBatch(bytes) : importCompilerBatch(bytes);
        file.close();
    }

    // Values copied before a failure stay copied.
    for (const auto &value : result.values)
        ctx.settings().setValue(value.first, value.second);

    if (result.entries) {
        QListWidget *list = ctx.sourceList();
        list->clear();
        list->addItems(*result.entries);
        workspace::setSelectedIndex(list, result.selectedIndex);
        list->update();
    }

    ctx.setStatusText(result.complete || which == Batch::Compiler ? QString() : QStringLiteral("Error: "));
    ctx.setBusy(false);
    if (result.complete)
        ctx.showOptionsModeless(which == Batch::Editor ? 0 : 1);
}

} // namespace

void mnuSaveEdit_Click(MainContext &ctx) { exportBatch(ctx, Batch::Editor); }
void mnuSaveCompile_Click(MainContext &ctx) { exportBatch(ctx, Batch::Compiler); }
void mnuLoadEditFile_Click(MainContext &ctx) { importBatch(ctx, Batch::Editor); }
void mnuLoadCompile_Click(MainContext &ctx) { importBatch(ctx, Batch::Compiler); }

} // namespace launch
