#include "launch/LaunchActions.h"
#include "app/FileDialog.h"
#include "app/MainContext.h"
#include "app/Paths.h"
#include "launch/CommandLines.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "settings/SettingsAccess.h"
#include "workspace/SourceList.h"

#include <QCoreApplication>
#include <algorithm>
#include <QListWidget>

namespace launch {
namespace {

QStringList listEntries(MainContext &ctx)
{
    return workspace::entries(ctx.sourceList());
}

int listSelection(MainContext &ctx)
{
    return workspace::selectedIndex(ctx.sourceList());
}

QString selectedEntry(MainContext &ctx)
{
    const QStringList entries = listEntries(ctx);
    const int selected = listSelection(ctx);
    return selected >= 0 && selected < entries.size() ? entries[selected] : QString();
}

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

QString editFileFilter()
{
    return QStringLiteral("system (*.sys)|*.sys|") + QStringLiteral("device (*.dev)|*.dev|")
        + QStringLiteral("resource (*.res)|*.res|") + QStringLiteral("FB (*.fbt)|*.fbt|")
        + QStringLiteral("all(*.*)|*.*|");
}

int editFilterIndex(const QHash<QString, int> &filterIndexByExtension, const QString &previousName)
{
    const int dot = previousName.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 1;
    return filterIndexByExtension.value(previousName.mid(dot + 1), 1);
}

QString SelectEditFile(MainContext &ctx, const QString &initialDirectory, const QString &previousName)
{
    const int filterIndex = editFilterIndex(ctx.filterIndexByExtension(), previousName);
    ctx.setStatusText(QStringLiteral("Select a File"));
    app::FileDialogRequest request;
    request.objectName = QStringLiteral("dlgEditFileSelect");
    request.filter = editFileFilter();
    request.filterIndex = filterIndex;
    request.initialDirectory = initialDirectory;
    request.presetName = previousName;
    const QString chosen = fileNameOf(app::runFileDialog(ctx.mainWidget(), request));
    ctx.setStatusText(QString());
    return chosen;
}

void cmdCompile_Click(MainContext &ctx)
{
    SettingsAccess &settings = ctx.settings();
    const QString line = BuildCompileCommand(settings, listEntries(ctx), listSelection(ctx));
    const QString classDirectory = settings.value(settings::kClassDirectory);
    if (!classDirectory.isEmpty()) {
        platform::changeDirectory(ctx.appPath());
        // One level only; an existing or unreachable folder is the compiler's
        // business, not ours.
        platform::makeDirectory(classDirectory);
    }
    // Through the library root, then the kit folder itself by name: going
    // to ".." would leave the compiler outside the kit when the library root
    // is missing (or is a link to elsewhere).
    platform::changeDirectory(app::LibDir(ctx.appPath()));
    platform::changeDirectory(ctx.appPath());
    runPendingEvents();
    platform::startCommandLine(line);
    runPendingEvents();
}

void cmdEdit_Click(MainContext &ctx)
{
    const QString srcDir = app::SrcDir(ctx.appPath());
    const QString name = SelectEditFile(ctx, srcDir + QLatin1Char('\\') + selectedEntry(ctx), ctx.editFileName());
    if (name.isEmpty())
        return;
    ctx.setEditFileName(name);
    const QString line = BuildEditorCommand(ctx.settings(), listEntries(ctx), listSelection(ctx), name);
    if (line.isEmpty()) {
        ctx.setStatusText(kEditNoExtension);
        return;
    }
    // Relative paths in the editor's settings resolve against the source
    // root; started anywhere else it would not find its runtime.
    if (!platform::changeDirectory(srcDir)) {
        ctx.setStatusText(kEditNoSourceRoot);
        return;
    }
    if (!platform::startCommandLine(line))
        ctx.setStatusText(kEditNotStarted);
    runPendingEvents();
}

} // namespace launch
