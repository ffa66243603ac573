#include "launch/LaunchActions.h"
#include "app/FileDialog.h"
#include "app/MainContext.h"
#include "app/Paths.h"
#include "app/StringTable.h"
#include "launch/CommandLines.h"
#include "launch/CompileSteps.h"
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

QHash<QString, int> filterIndexByExtension()
{
    return {{QStringLiteral("sys"), 1}, {QStringLiteral("dev"), 2}, {QStringLiteral("res"), 3},
            {QStringLiteral("fbt"), 4}};
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
    // The editor creates a file that does not exist yet.
    request.anyName = true;
    const QString chosen = fileNameOf(app::runFileDialog(ctx.mainWidget(), request));
    ctx.setStatusText(QString());
    return chosen;
}

QString editChooserDirectory(MainContext &ctx)
{
    return app::SrcDir(ctx.appPath()) + QLatin1Char('\\') + selectedEntry(listEntries(ctx), listSelection(ctx));
}

void cmdCompile_Click(MainContext &ctx)
{
    const QString line = prepareCompile(ctx.appPath(), ctx.settings(), listEntries(ctx), listSelection(ctx)).line;
    runPendingEvents();
    if (!platform::startCommandLine(line))
        ctx.setStatusText(app::message(app::msg::kCompileNotStarted));
    runPendingEvents();
}

void cmdEdit_Click(MainContext &ctx)
{
    const QString name = SelectEditFile(ctx, editChooserDirectory(ctx), ctx.editFileName());
    if (name.isEmpty())
        return;
    ctx.setEditFileName(name);
    const QString line = BuildEditorCommand(ctx.settings(), listEntries(ctx), listSelection(ctx), name);
    if (line.isEmpty()) {
        ctx.setStatusText(app::message(app::msg::kEditNoExtension));
        return;
    }
    // Relative paths in the editor's settings resolve against the source
    // root; started anywhere else it would not find its runtime.
    if (!platform::changeDirectory(app::SrcDir(ctx.appPath()))) {
        ctx.setStatusText(app::message(app::msg::kEditNoSourceRoot));
        return;
    }
    if (!platform::startCommandLine(line))
        ctx.setStatusText(app::message(app::msg::kEditNotStarted));
    runPendingEvents();
}

} // namespace launch
