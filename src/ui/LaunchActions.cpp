#include "ui/LaunchActions.h"
#include "core/CommandLines.h"
#include "core/CompileSteps.h"
#include "core/CompilerOutput.h"
#include "core/FileFilters.h"
#include "core/StringTable.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/Process.h"
#include "ui/FileDialog.h"
#include "ui/MainContext.h"
#include "ui/MessageBoxes.h"
#include "ui/frmCompile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QShortcut>
#include <QTimer>
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

// An editor that ends in its first seconds with a status other than 0 did
// not come up (a wrong class path: "could not find or load main class"):
// the status panel says so. One that runs on is forgotten then, never
// waited for.
class EditorWatch : public QObject
{
public:
    static constexpr qint64 kWatchedMs = 5000;

    EditorWatch(MainContext &ctx, std::unique_ptr<platform::RunningProcess> editor)
        : QObject(ctx.mainWidget()), m_ctx(ctx), m_editor(std::move(editor))
    {
        m_since.start();
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &EditorWatch::look);
        timer->start(100);
    }

private:
    void look()
    {
        if (const std::optional<platform::ProcessEnd> end = m_editor->poll()) {
            if (end->kind != platform::ProcessEnd::Kind::Exited || end->code != 0)
                m_ctx.setStatusText(core::message(core::msg::kEditorEndedAtOnce).arg(core::processEndText(*end)));
            deleteLater();
        } else if (m_since.elapsed() >= kWatchedMs) {
            deleteLater();
        }
    }

    MainContext &m_ctx;
    std::unique_ptr<platform::RunningProcess> m_editor;
    QElapsedTimer m_since;
};

// Open Editor's steps after the chooser: the name kept as EditFileName, the
// editor line with the package word of `packages`, the editor started in
// the source root and watched. What went wrong, as the status panel says
// it; empty when the editor started.
QString launchEditor(MainContext &ctx, const core::Workspace &packages, const QString &name)
{
    core::Workspace w = ctx.workspace();
    w.EditFileName = name;
    ctx.setWorkspace(w);
    const platform::ToolLine line = core::editorWords(ctx.settings(), packages, name);
    QString trouble;
    // Relative paths in the editor's settings resolve against the source
    // root; started anywhere else it would not find its runtime.
    if (line.isEmpty())
        trouble = core::message(core::msg::kEditNoExtension);
    else if (!platform::changeDirectory(ctx.kit().SrcDir()))
        trouble = core::message(core::msg::kEditNoSourceRoot);
    else if (std::unique_ptr<platform::RunningProcess> editor =
                 platform::startWatched(platform::systemCommand(line, ctx.kit().SrcDir())))
        new EditorWatch(ctx, std::move(editor));
    else
        trouble = core::message(core::msg::kEditNotStarted);
    if (!trouble.isEmpty())
        ctx.setStatusText(trouble);
    runPendingEvents();
    return trouble;
}

// An error's function block in the editor, when the kit has it; else, as a
// way on, its Java file where the system opens such files, when the user
// says so.
QString openFunctionBlock(MainContext &ctx, QWidget *window, const core::CompilerMessage &message,
                          const QString &compiledPackage)
{
    if (message.file.isEmpty())
        return core::message(core::msg::kCompileNoFileNamed);
    QString missing;
    if (const std::optional<core::FunctionBlockFile> block = core::functionBlockOf(message.file, compiledPackage)) {
        const QString path = ctx.kit().sourceFolder(block->package) + QLatin1Char('\\') + block->fileName;
        if (QFileInfo(platform::nativePath(path)).isFile())
            return launchEditor(ctx, core::workspaceFor(ctx.workspace(), block->package), block->fileName);
        missing = core::message(core::msg::kCompileNoFunctionBlock)
                      .arg(QDir::toNativeSeparators(platform::nativePath(block->shownPath())));
    } else {
        missing = core::message(core::msg::kCompileNotFromBlock).arg(message.file);
    }
    const QString javaFile = platform::systemPath(core::messageFilePath(message.file, ctx.kit().appPath()));
    if (!javaFile.endsWith(QLatin1String(".java"), Qt::CaseInsensitive) || !QFileInfo(javaFile).isFile()
        || !askYesNo(window, core::message(core::msg::kCompileTitle),
                     core::message(core::msg::kCompileOpenJavaFile).arg(missing, javaFile)))
        return missing;
    return platform::openWithSystem(javaFile) ? QString()
                                              : core::message(core::msg::kCompileJavaFileNotOpened).arg(javaFile);
}

frmCompile *existingCompileWindow(MainContext &ctx)
{
    return ctx.mainWidget()->findChild<frmCompile *>(QStringLiteral("frmCompile"), Qt::FindDirectChildrenOnly);
}

void compilePackage(MainContext &ctx, const QString &package, const core::Workspace &workspace);

frmCompile *compileWindow(MainContext &ctx)
{
    if (frmCompile *window = existingCompileWindow(ctx))
        return window;
    auto *window = new frmCompile(
        ctx.mainWidget(),
        [&ctx](const core::CompilerMessage &message, const QString &package) {
            return openFunctionBlock(ctx, existingCompileWindow(ctx), message, package);
        },
        [&ctx](const QString &package) {
            // The same package again, whatever the list now selects.
            core::Workspace w = ctx.workspace();
            w = package.isEmpty() ? core::Workspace{w.entries, -1, w.EditFileName} : core::workspaceFor(w, package);
            compilePackage(ctx, package, w);
        });
    QObject::connect(window, &frmCompile::ended, ctx.mainWidget(), [&ctx](const QString &text) { ctx.setStatusText(text); });
    // F8 and Shift+F8 step through the errors from the main window too,
    // while the window is open; nothing opens until Enter there.
    for (const auto &[key, step] : {std::pair{QKeySequence(Qt::Key_F8), 1}, std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F8), -1}}) {
        auto *shortcut = new QShortcut(key, ctx.mainWidget());
        QObject::connect(shortcut, &QShortcut::activated, window, [window, step = step] {
            if (window->isVisible())
                window->goToMessage(step);
        });
    }
    return window;
}

// Compile's steps for a package, with the list as `workspace` has it.
void compilePackage(MainContext &ctx, const QString &package, const core::Workspace &workspace)
{
    // One compile at a time: its window comes to the front instead.
    if (frmCompile *running = existingCompileWindow(ctx); running && running->isRunning()) {
        running->setNote(frmCompile::Note::StillRunning, core::message(core::msg::kCompileStillRunning));
        running->bringToFront();
        return;
    }
    const core::CompileStart start = core::prepareCompile(ctx.kit(), ctx.settings(), workspace);
    runPendingEvents();
    frmCompile *window = compileWindow(ctx);
    window->bringToFront();
    // Started directly, the compiler would take the batch file's redirection
    // for three more source files; its output goes to compile.log all the
    // same, written by the compiler itself.
    if (window->start(platform::systemCommand(start.started, ctx.kit().appPath()), ctx.kit().compileLog(),
                      ctx.kit().appPath(), package))
        ctx.setStatusText(core::message(core::msg::kCompileRunning));
    runPendingEvents();
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
    const core::Workspace workspace = ctx.workspace();
    compilePackage(ctx, workspace.selectedEntry(), workspace);
}

bool showCompileResults(MainContext &ctx)
{
    frmCompile *window = existingCompileWindow(ctx);
    if (window)
        window->bringToFront();
    return window != nullptr;
}

void unloadCompileWindow(MainContext &ctx)
{
    // Gone without a word to the compiler, which runs on.
    delete existingCompileWindow(ctx);
}

bool compileWindowLoaded(MainContext &ctx)
{
    return existingCompileWindow(ctx) != nullptr;
}

void cmdEdit_Click(MainContext &ctx)
{
    core::Workspace w = ctx.workspace();
    const QString name = SelectEditFile(ctx, editChooserDirectory(ctx), w.EditFileName);
    if (name.isEmpty())
        return;
    launchEditor(ctx, ctx.workspace(), name);
}

} // namespace ui
